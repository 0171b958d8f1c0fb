#pragma once

#include "shell/MainFixture.h"
#include "support/WindowParts.h"

#include "browserui/LibraryBrowser.h"
#include "search/SearchRunner.h"
#include "searchui/ResultsView.h"
#include "searchui/SearchResultsModel.h"
#include "searchui/SearchWindow.h"
#include "support/Eventually.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tarl::test {

// A started main window over a catalog of a disc "DISC07" holding the folder Rock/, and a hard
// disc volume music/ holding the playlist mix.m3u and the folder Jazz/ (its two tracks on disc),
// with a player program; and the search window opened from the Find button.
class FindFixture : public MainFixture {
protected:
    MainWindow& started() {
        const QString file = newCatalog();
        program = home.file("bin/mpv");
        home.write("bin/mpv", "#!/bin/sh\n");
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writeIni("[Database]\nPath=" + file.toUtf8() + "\n[Player]\nPath=" + program.toUtf8() +
                 "\n");
        services.drives.addDrive(home.path(), DriveType::Fixed);
        MainWindow& w = start();
        w.startUp();
        music = home.path() + "/music/";
        run("INSERT INTO CD (id,name,m3us,label,isCd) VALUES (1,'/media/cd/',1,'DISC07','1')");
        run("INSERT INTO CD (id,name,m3us,label,isCd) VALUES (2,'" + music + "',2,'EOF','0')");
        run("INSERT INTO M3u (id,path,file,cd_id) VALUES (1,'/media/cd/','Rock/',1)");
        run("INSERT INTO M3u (id,path,file,cd_id) VALUES (2,'" + music + "','mix.m3u',2)");
        run("INSERT INTO M3u (id,path,file,cd_id) VALUES (3,'" + music + "','Jazz/',2)");
        run("INSERT INTO Mp3 (id,path,file,m3u_id,title,artist) VALUES "
            "(10,'/media/cd/Rock/','01 Love me.mp3',1,'Love Me','The Band')");
        run("INSERT INTO Mp3 (id,path,file,m3u_id,title,artist) VALUES "
            "(11,'" +
            music + "Jazz/','02 Elan.mp3',3,'Elan','DJ Mixer')");
        run("INSERT INTO Mp3 (id,path,file,m3u_id,title,artist) VALUES "
            "(12,'" +
            music + "Jazz/','03 Quote.mp3',3,'Rock''n''roll','Remix Crew')");
        home.write("music/Jazz/02 Elan.mp3", "x");
        home.write("music/Jazz/03 Quote.mp3", "x");
        EXPECT_TRUE(test::Part<LibraryBrowser>(w, "browser")->showTreeByPaths());
        services.player.launches.clear(); // the start-up's own
        return w;
    }
    SearchWindow& opened() {
        MainWindow& w = window ? *window : started();
        test::Part<QAction>(w, "toolbarButton5")->trigger();
        EXPECT_FALSE((w.findChild<SearchWindow*>() == nullptr));
        return *w.findChild<SearchWindow*>();
    }
    void run(const QString& statement) {
        EXPECT_TRUE(state->catalog.connection.execute(statement))
            << state->catalog.connection.lastError().toStdString();
    }

    // Waits for the search under way to show its result.
    static void waitForResult(SearchWindow& f) {
        EXPECT_TRUE(Eventually([&] {
            QCoreApplication::processEvents();
            return !f.runner().busy();
        }));
    }
    // Types `text`, picks `field` and presses "&Search"; waits for the result.
    static void search(SearchWindow& f, const QString& text, SearchField field) {
        f.find->setText(text);
        f.fieldButtons[static_cast<size_t>(field)]->click();
        f.searchButton->click();
        waitForResult(f);
    }
    // Each row as "icon|file|path".
    static QStringList shown(SearchWindow& f) {
        QStringList rows;
        for (const SearchRow& row : f.model().rows())
            rows << QString::number(int(row.icon)) + "|" + row.columns[SearchFileColumn] + "|" +
                        row.columns[SearchPathColumn];
        return rows;
    }
    static QStringList history(const SearchWindow& f) {
        QStringList entries;
        for (int i = 0; i < f.historyBox->count(); ++i)
            entries << f.historyBox->itemText(i);
        return entries;
    }
    // The middle of row `row` in the list's viewport.
    static QPoint rowPoint(SearchWindow& f, int row) {
        return f.results->visualRect(f.model().index(row, 0)).center();
    }
    // Closes the window and lets it be discarded.
    static void closeAndDiscard(SearchWindow& f) {
        f.close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QString program;
    QString music;
};

} // namespace tarl::test
