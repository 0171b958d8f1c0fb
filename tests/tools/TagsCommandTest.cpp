#include "support/Id3Builder.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace tarl {
namespace {

using test::Id3Builder;
using test::Id3Enc;
using test::Id3v1Fields;
using test::TempDir;

struct ToolRun {
    int code;
    QStringList lines;
    QString err;
};

ToolRun tags(const QStringList& files) {
    QProcess p;
    p.start(QStringLiteral(TARL_CATALOG_TOOL), QStringList{"tags"} + files);
    p.waitForFinished(30000);
    QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return {p.exitCode(), lines, QString::fromUtf8(p.readAllStandardError())};
}

TEST(TagsTool, OneJsonLinePerFileFromEveryTagVersion) {
    TempDir dir;
    Id3v1Fields v1{"Smells Like Teen Spirit", "Nirvana", "Nevermind", "1991", "", 17};
    v1.track = 1;
    const struct {
        const char* file;
        QByteArray bytes;
        const char* title;
        const char* artist;
        const char* album;
        const char* year;
        const char* comments;
        const char* genre;
    } cases[] = {
        {"v1.mp3", Id3Builder(0).audio(3).v1(v1).build(), "Smells Like Teen Spirit", "Nirvana",
         "Nevermind", "1991", "", "Rock"},
        {"v22.mp3",
         Id3Builder(2)
             .text("TT2", "Intro", Id3Enc::Latin1, true)
             .text("TP1", "Sigur Rós", Id3Enc::Utf16, true)
             .text("TCO", "(20)")
             .audio(2)
             .build(),
         "Intro", "Sigur Rós", " ", " ", " ", "Alternative"},
        {"v23 latin1.mp3",
         Id3Builder(3).text("TIT2", "Café").text("TYER", "1994").comment("", "ok").build(), "Café",
         " ", " ", "1994", "ok", " "},
        {"v23-utf16.mp3",
         Id3Builder(3).picture(900).text("TALB", "Déjà vu ♫", Id3Enc::Utf16, true).build(), " ",
         " ", "Déjà vu ♫", " ", " ", " "},
        {"v24-utf8.mp3",
         Id3Builder(4)
             .text("TIT2", "夜に駆ける", Id3Enc::Utf8)
             .text("TDRC", "2019-12-15", Id3Enc::Utf8)
             .padding(100)
             .build(),
         "夜に駆ける", " ", " ", "2019", " ", " "},
    };
    QStringList files;
    for (const auto& c : cases)
        files << dir.write(QString::fromUtf8(c.file), c.bytes);
    const ToolRun run = tags(files);
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    ASSERT_EQ(run.lines.size(), std::size(cases));
    for (qsizetype i = 0; i < run.lines.size(); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.file);
        QJsonParseError error;
        const QJsonObject o = QJsonDocument::fromJson(run.lines[i].toUtf8(), &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << run.lines[i].toStdString();
        EXPECT_EQ(o.keys(), (QStringList{"album", "artist", "comments", "fileLength", "genre",
                                         "path", "seconds", "size", "title", "year"}));
        EXPECT_EQ(o["path"].toString(), files[i]);
        EXPECT_EQ(o["title"].toString(), QString::fromUtf8(c.title));
        EXPECT_EQ(o["artist"].toString(), QString::fromUtf8(c.artist));
        EXPECT_EQ(o["album"].toString(), QString::fromUtf8(c.album));
        EXPECT_EQ(o["year"].toString(), QString::fromUtf8(c.year));
        EXPECT_EQ(o["comments"].toString(), QString::fromUtf8(c.comments));
        EXPECT_EQ(o["genre"].toString(), QString::fromUtf8(c.genre));
        EXPECT_EQ(o["fileLength"].toInteger(), c.bytes.size());
    }
}

TEST(TagsTool, EscapesControlCharactersQuotesAndBackslashes) {
    TempDir dir;
    const QString title = QString::fromUtf8("a\"b\\c\nd\te\x01\x7F") + QChar(0x85) + u'é';
    const QByteArray bytes = Id3Builder(3).text("TIT2", title, Id3Enc::Utf16).audio(3).build();
    const QString file = dir.write("odd \"name\".mp3", bytes);
    const ToolRun run = tags({file});
    ASSERT_EQ(run.lines.size(), 1);
    const QString path = QString(file).replace("\"", "\\\"");
    const QString expected =
        "{\"path\":\"" + path +
        QString::fromUtf8("\",\"title\":\"a\\\"b\\\\c\\u000ad\\u0009e\\u0001\\u007f\\u0085é\","
                          "\"artist\":\" \",\"album\":\" \",\"year\":\" \",\"comments\":\" \","
                          "\"genre\":\" \",\"fileLength\":") +
        QString::number(bytes.size()) + ",\"size\":\"1K\",\"seconds\":0}";
    EXPECT_EQ(run.lines[0], expected);
}

TEST(TagsTool, UnreadableFilesAreReportedAndTheOthersStillPrinted) {
    TempDir dir;
    const QString good = dir.write("good.mp3", Id3Builder(3).text("TIT2", "Good").build());
    const QString empty = dir.write("empty.mp3", QByteArray());
    const ToolRun run = tags({dir.file("missing.mp3"), good, dir.path(), empty});
    EXPECT_EQ(run.code, 1);
    ASSERT_EQ(run.lines.size(), 2);
    EXPECT_TRUE(run.lines[0].contains("\"title\":\"Good\""));
    EXPECT_TRUE(run.lines[1].endsWith("\"fileLength\":0,\"size\":\"N/A\",\"seconds\":0}"));
    EXPECT_EQ(run.err.count(u'\n'), 2);
    EXPECT_TRUE(run.err.contains("missing.mp3"));
    EXPECT_EQ(tags({}).code, 2);
}

} // namespace
} // namespace tarl
