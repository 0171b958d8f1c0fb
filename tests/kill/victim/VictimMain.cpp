// A program the kill tests start and kill: it repeats one of the program's writes on the files in
// FOLDER, as the program itself makes it, until it is killed.
//
//   tarl_kill_victim OPERATION FOLDER [once]
//
//   settings  sets Player/Volume in FOLDER/tarl.ini to "1", then "2", again and again
//   history   records the play state of FOLDER/a.ini, then of FOLDER/b.ini, in the history of
//             the program folder FOLDER/, again and again
//   style     files every list of the catalog FOLDER/tarl.mdb under the style "Rock", then
//             every list under "Pop", again and again (the routine a style drag calls)
//   import    scans FOLDER/music/ in the scan window and presses "Add to DataBase", importing
//             into FOLDER/tarl.mdb; once
//   index     builds the search index of FOLDER/tarl.mdb (a catalog made before the index); once
//
// "once" makes a repeating operation run one round (the settings and history write their first
// value, the style pass files every list under "Rock"). The program writes "go" on its own line
// when the operation starts, "done" when it ended, and exits 0; it exits 1 with the reason on
// the error output when a write failed.
#include "catalog/CatalogUpdate.h"
#include "catalog/LibraryReads.h"
#include "catalog/SearchIndex.h"
#include "dialogs/ScanWindow.h"
#include "history/HistoryFile.h"
#include "platform/IniProfile.h"
#include "state/AppState.h"
#include "support/TestServices.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <cstdio>

using namespace tarl;

namespace {

void say(const char* line) {
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int fail(const QString& why) {
    std::fprintf(stderr, "%s\n", why.toLocal8Bit().constData());
    return 1;
}

int settings(const QString& folder, bool once) {
    IniProfile profile;
    const QString file = folder + QStringLiteral("/tarl.ini");
    say("go");
    for (int round = 0;; ++round) {
        QString error;
        const QString value = QString::number(1 + round % 2);
        if (!profile.write(file, QStringLiteral("Player"), QStringLiteral("Volume"), value, &error))
            return fail(error);
        if (once)
            break;
    }
    say("done");
    return 0;
}

int history(const QString& folder, bool once) {
    test::TestServices services;
    AppState state{services.services()};
    state.programFolder = folder + u'/';
    say("go");
    for (int round = 0;; ++round) {
        state.settings.setPath(
            folder + (round % 2 == 0 ? QStringLiteral("/a.ini") : QStringLiteral("/b.ini")));
        const Result<> recorded = RecordHistory(state);
        if (!recorded)
            return fail(recorded.error);
        if (once)
            break;
    }
    say("done");
    return 0;
}

bool open(Catalog& catalog, const QString& folder) {
    return catalog.connection.open(folder + QStringLiteral("/tarl.mdb"));
}

int style(const QString& folder, bool once) {
    Catalog catalog;
    if (!open(catalog, folder))
        return fail(catalog.connection.lastError());
    // The lists as the library tree reads them.
    const auto byVolume = ReadListsByVolume(catalog);
    if (!byVolume)
        return fail(byVolume.error);
    QList<std::pair<QString, QString>> lists;
    for (const auto& volumeLists : byVolume.value) {
        for (const VolumeListRow& list : volumeLists)
            lists.append({list.path, list.file});
    }
    say("go");
    for (int round = 0;; ++round) {
        const QString name = round % 2 == 0 ? QStringLiteral("Rock") : QStringLiteral("Pop");
        for (const auto& [path, file] : lists) {
            const Result<> filed = FileListUnderStyle(catalog, path, file, name);
            if (!filed)
                return fail(filed.error);
        }
        if (once)
            break;
    }
    say("done");
    return 0;
}

int import(const QString& folder) {
    test::TestServices services;
    services.drives.addDrive(folder + u'/', DriveType::Fixed);
    AppState state{services.services()};
    if (!open(state.catalog, folder))
        return fail(state.catalog.connection.lastError());
    ScanWindow window{state};
    window.pathScan->setText(folder + QStringLiteral("/music/"));
    window.collectOptions[1]->setChecked(true); // sound files
    window.scanClicked();
    say("go");
    window.addToCatalogClicked();
    for (const auto& box : services.ui.transcript) {
        if (box.icon == MsgIcon::Critical)
            return fail(box.text);
    }
    say("done");
    return 0;
}

int index(const QString& folder) {
    Catalog catalog;
    if (!open(catalog, folder))
        return fail(catalog.connection.lastError());
    say("go");
    const Result<> built = RefreshSearchIndex(catalog);
    if (!built)
        return fail(built.error);
    say("done");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3)
        return fail(QStringLiteral("usage: tarl_kill_victim OPERATION FOLDER [once]"));
    const QString& operation = args.at(1);
    const QString& folder = args.at(2);
    const bool once = args.size() > 3 && args.at(3) == QLatin1String("once");
    if (operation == QLatin1String("settings"))
        return settings(folder, once);
    if (operation == QLatin1String("history"))
        return history(folder, once);
    if (operation == QLatin1String("style"))
        return style(folder, once);
    if (operation == QLatin1String("import"))
        return import(folder);
    if (operation == QLatin1String("index"))
        return index(folder);
    return fail(QStringLiteral("unknown operation ") + operation);
}
