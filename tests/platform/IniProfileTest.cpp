#include "platform/IniProfile.h"
#include "support/FuzzSeeds.h"
#include "support/TempDir.h"

#include <QFile>
#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using tarl::IniProfile;
using tarl::test::TempDir;

namespace {

struct WriteCase {
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

class IniWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWrite, KeepsOtherLinesAndReplacesInPlace) {
    const WriteCase& c = GetParam();
    // The settings fuzzer's input: section, key and value, each ended by a NUL, then the file.
    tarl::test::SaveFuzzSeed(QStringLiteral("settings"), QString::fromUtf8(c.name),
                             QByteArray(c.section) + '\0' + c.key + '\0' + c.value + '\0' +
                                 c.before);
    EXPECT_EQ(IniProfile::withValue(c.before, QString::fromUtf8(c.section),
                                    QString::fromUtf8(c.key), QString::fromUtf8(c.value)),
              QByteArray(c.after));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniWrite,
    ::testing::Values(
        WriteCase{"empty_file", "", "Dimensions", "width", "11000", "[Dimensions]\nwidth=11000\n"},
        WriteCase{"replace_other_case", "[dimensions]\nWidth=1\nheigth=2\n", "Dimensions", "width",
                  "3", "[dimensions]\nwidth=3\nheigth=2\n"},
        WriteCase{"append_to_section_before_next", "[A]\nx=1\n\n[B]\ny=2\n", "a", "z", "9",
                  "[A]\nx=1\nz=9\n\n[B]\ny=2\n"},
        WriteCase{"new_section_at_end", "; comment\n[A]\nx=1\n", "Player", "Path", "/usr/bin/mpv",
                  "; comment\n[A]\nx=1\n\n[Player]\nPath=/usr/bin/mpv\n"},
        WriteCase{"keeps_crlf", "[A]\r\nx=1\r\n", "A", "x", "2", "[A]\r\nx=2\r\n"},
        WriteCase{"same_key_other_section_untouched", "[A]\nk=1\n[B]\nk=2\n", "B", "K", "5",
                  "[A]\nk=1\n[B]\nK=5\n"},
        WriteCase{"comments_and_odd_lines_kept", "[A]\n;k=old\ngarbage\nk = 1 \n", "A", "k", "2",
                  "[A]\n;k=old\ngarbage\nk=2\n"},
        // Every line but the one written stays byte for byte.
        WriteCase{"non_utf8_lines_kept", "[Player]\nMp3_song=Caf\xE9.mp3\n;\xFF\xFE\nMp3_index=1\n",
                  "Player", "Mp3_index", "2",
                  "[Player]\nMp3_song=Caf\xE9.mp3\n;\xFF\xFE\nMp3_index=2\n"},
        WriteCase{"written_as_utf8_beside_latin1", "[P]\nSong=Caf\xE9\n", "P", "Folder",
                  "Caf\xC3\xA9", "[P]\nSong=Caf\xE9\nFolder=Caf\xC3\xA9\n"},
        WriteCase{"each_line_keeps_its_end", "[A]\r\nx=1\ny=2\r\n", "A", "y", "3",
                  "[A]\r\nx=1\ny=3\r\n"},
        WriteCase{"last_line_without_end", "[A]\nx=1", "A", "z", "2", "[A]\nx=1\nz=2\n"},
        WriteCase{"bom_before_first_section", "\xEF\xBB\xBF[A]\nx=1\n", "A", "x", "2",
                  "\xEF\xBB\xBF[A]\nx=2\n"}),
    [](const auto& p) { return std::string(p.param.name); });

// Writes whose value did not read back (found by fuzzing).
struct ReadBackCase {
    const char* name;
    const char* before;
    const char* key;
};

class IniReadBack : public ::testing::TestWithParam<ReadBackCase> {};

TEST_P(IniReadBack, AWrittenKeyReadsBack) {
    const ReadBackCase& c = GetParam();
    const QString key = QString::fromUtf8(c.key);
    const QByteArray after = IniProfile::withValue(c.before, "S", key, "v");
    EXPECT_EQ(IniProfile::valueIn(after, "S", key), "v") << after.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniReadBack,
    ::testing::Values(ReadBackCase{"key_opening_with_u_feff", "", "\xEF\xBB\xBFk"},
                      ReadBackCase{"key_of_two_u_feff", "\x01\x01", "\xEF\xBB\xBF\xEF\xBB\xBF"},
                      ReadBackCase{"after_a_file_bom", "\xEF\xBB\xBF[S]\n", "\xEF\xBB\xBFk"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(IniReadBack, ValuesWithBlanksAtAnEndOrInQuotesReadBackAsWritten) {
    const struct {
        const char* value;
        const char* line; // as written
    } cases[] = {
        {" intro.mp3", "k=\" intro.mp3\""},
        {"tail ", "k=\"tail \""},
        {"\"quoted\"", "k=\"\"quoted\"\""},
        {"\"half", "k=\"half"},
        {"plain", "k=plain"},
    };
    for (const auto& c : cases) {
        const QByteArray after = IniProfile::withValue("[S]\n", "S", "k", c.value);
        EXPECT_TRUE(after.contains(c.line)) << after.toStdString();
        EXPECT_EQ(IniProfile::valueIn(after, "S", "k"), c.value) << c.value;
    }
    // A file edited by hand: quotes taken off as Windows does.
    EXPECT_EQ(IniProfile::valueIn("[S]\nk = \"C:\\Program Files\\\" \n", "S", "k"),
              "C:\\Program Files\\");
}

TEST(IniRead, MatchesNamesWithoutCaseAndTrimsValues) {
    const QByteArray content = "[ Dimensions ]\n width = 11000 \n[Player]\nPath=\nVolum=7\n";
    EXPECT_EQ(IniProfile::valueIn(content, "DIMENSIONS", "Width"), "11000");
    EXPECT_EQ(IniProfile::valueIn(content, "player", "volum"), "7");
    EXPECT_EQ(IniProfile::valueIn(content, "Player", "Path"), "");
    EXPECT_EQ(IniProfile::valueIn(content, "Player", "width"), "");
    EXPECT_EQ(IniProfile::valueIn(content, "Nowhere", "Volum"), "");
}

TEST(IniRead, LinesThatAreNotUtf8ReadAsWindows1252) {
    const QByteArray content = "[Player]\nMp3_song=Caf\xE9 \x80.mp3\nMp3_folder=Caf\xC3\xA9/\n";
    EXPECT_EQ(IniProfile::valueIn(content, "Player", "Mp3_song"), QStringLiteral("Café €.mp3"));
    EXPECT_EQ(IniProfile::valueIn(content, "Player", "Mp3_folder"), QStringLiteral("Café/"));
}

TEST(IniFile, CreatesFileOnFirstWriteAndReadsLongValuesWhole) {
    TempDir dir;
    IniProfile ini;
    const QString file = dir.file("tarl.ini");
    EXPECT_EQ(ini.read(file, "Database", "Path"), ""); // a missing file reads as empty
    const QString longPath = '/' + QString(249, QLatin1Char('a'));
    ASSERT_TRUE(ini.write(file, "Database", "Path", longPath));
    EXPECT_EQ(ini.read(file, "database", "path"), longPath);
    ASSERT_TRUE(ini.write(file, "Player", "Mp3_song", QStringLiteral("Ça va — 東京.mp3")));
    EXPECT_EQ(ini.read(file, "Player", "Mp3_song"), QStringLiteral("Ça va — 東京.mp3"));
    // Line breaks in a value never make lines of their own.
    ASSERT_TRUE(ini.write(file, "Player", "Mp3_song", "a\n[Database]\nPath=x"));
    EXPECT_EQ(ini.read(file, "Database", "Path"), longPath);
}

TEST(IniFile, AWriteKeepsALatin1LineOfAnotherKey) {
    TempDir dir;
    IniProfile ini;
    const QString file = dir.write("tarl.ini", "[Player]\r\nMp3_song=Caf\xE9.mp3\r\n");
    ASSERT_TRUE(ini.write(file, "Player", "Mp3_index", "4"));
    EXPECT_EQ(dir.read("tarl.ini"),
              QByteArray("[Player]\r\nMp3_song=Caf\xE9.mp3\r\nMp3_index=4\r\n"));
}

TEST(IniFile, AnUnchangedValueIsNotWrittenAgain) {
    TempDir dir;
    IniProfile ini;
    const QString file = dir.file("tarl.ini");
    ASSERT_TRUE(ini.write(file, "Player", "Mp3_index", "3"));
    auto inode = [&] {
        struct stat st {};
        EXPECT_EQ(::stat(file.toLocal8Bit().constData(), &st), 0);
        return st.st_ino;
    };
    const auto first = inode();
    ASSERT_TRUE(ini.write(file, "Player", "Mp3_index", "3"));
    EXPECT_EQ(inode(), first); // the file was not replaced
    ASSERT_TRUE(ini.write(file, "player", "Mp3_index", "4"));
    EXPECT_NE(inode(), first);
    EXPECT_EQ(ini.read(file, "Player", "Mp3_index"), "4");
    // An empty value for a key not there yet is still written.
    ASSERT_TRUE(ini.write(file, "Player", "Mp3_song", ""));
    EXPECT_TRUE(dir.read("tarl.ini").contains("Mp3_song=\n"));
}

// The bytes this process has read from files so far.
qint64 BytesRead() {
    QFile io("/proc/self/io");
    EXPECT_TRUE(io.open(QIODevice::ReadOnly));
    const QByteArray text = io.readAll();
    const qsizetype at = text.indexOf("rchar: ");
    return text.mid(at + 7, text.indexOf('\n', at) - at - 7).toLongLong();
}

timespec ModifiedTime(const QString& file) {
    struct stat st {};
    EXPECT_EQ(::stat(QFile::encodeName(file).constData(), &st), 0);
    return st.st_mtim;
}

void SetModifiedTime(const QString& file, timespec time) {
    const timespec times[2] = {{0, UTIME_OMIT}, time};
    EXPECT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0), 0);
}

// A settings file as an earlier run left it: written an hour ago.
QString EarlierFile(const TempDir& dir, const QByteArray& content) {
    const QString file = dir.write("tarl.ini", content);
    SetModifiedTime(file, {::time(nullptr) - 3600, 0});
    return file;
}

TEST(IniFile, AFileIsReadOnceForAnyNumberOfKeysEvenWithAHugeLine) {
    TempDir dir;
    QByteArray content = "[Player]\r\nMp3_song=" + QByteArray(20 << 20, 's') + "\r\n";
    for (int i = 0; i < 100; ++i)
        content += 'k' + QByteArray::number(i) + '=' + QByteArray::number(i) + "\r\n";
    const QString file = EarlierFile(dir, content);
    IniProfile ini;

    const qint64 before = BytesRead();
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(ini.read(file, "player", 'K' + QString::number(i)), QString::number(i));
    EXPECT_EQ(ini.read(file, "Player", "Mp3_song"), QString(20 << 20, u's'));
    // A write works from the lines read.
    ASSERT_TRUE(ini.write(file, "Player", "k7", "seven"));
    EXPECT_EQ(ini.read(file, "Player", "k7"), "seven");
    EXPECT_LT(BytesRead() - before, 2 * content.size()) << "the file was read more than once";
    content.replace("\r\nk7=7\r\n", "\r\nk7=seven\r\n");
    EXPECT_EQ(dir.read("tarl.ini"), content);
}

// Another program's change of a file already read is seen at the next read.
TEST(IniFile, AChangeOnDiscIsSeen) {
    enum class Change { WrittenOver, WrittenOverKeepingTheTime, AnotherFileInItsPlace, Removed };
    const struct {
        const char* name;
        bool earlier; // else written this moment
        Change change;
        QByteArray bytes;
        const char* value;
    } cases[] = {
        {"written over, same size", true, Change::WrittenOver, "[A]\nx=2\n", "2"},
        {"longer, same time", true, Change::WrittenOverKeepingTheTime, "[A]\nx=22\n", "22"},
        {"another file, same size and time", true, Change::AnotherFileInItsPlace, "[A]\nx=3\n",
         "3"},
        {"removed", true, Change::Removed, "", ""},
        // Within the grain of the file's times: same size, same time, other bytes.
        {"young file, same size and time", false, Change::WrittenOverKeepingTheTime, "[A]\nx=4\n",
         "4"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const QString file =
            c.earlier ? EarlierFile(dir, "[A]\nx=1\n") : dir.write("tarl.ini", "[A]\nx=1\n");
        IniProfile ini;
        ASSERT_EQ(ini.read(file, "A", "x"), "1") << c.name;
        const timespec time = ModifiedTime(file);
        if (c.change == Change::Removed)
            QFile::remove(file);
        else if (c.change == Change::AnotherFileInItsPlace)
            ASSERT_EQ(::rename(QFile::encodeName(dir.write("other.ini", c.bytes)).constData(),
                               QFile::encodeName(file).constData()),
                      0);
        else
            dir.write("tarl.ini", c.bytes); // in place: the same file
        if (c.change == Change::WrittenOverKeepingTheTime ||
            c.change == Change::AnotherFileInItsPlace)
            SetModifiedTime(file, time);
        EXPECT_EQ(ini.read(file, "A", "x"), c.value) << c.name;
    }
}

TEST(IniFile, UnwritableFolderFailsWithReasonAndKeepsTheFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes anywhere";
    TempDir dir;
    IniProfile ini;
    const QString file = dir.write("ro/tarl.ini", "[A]\nx=1\n");
    ASSERT_EQ(::chmod(qPrintable(dir.file("ro")), 0555), 0);
    QString error;
    EXPECT_FALSE(ini.write(file, "A", "x", "2", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ini.read(file, "A", "x"), "1");
    ::chmod(qPrintable(dir.file("ro")), 0755);
}

TEST(IniFile, WriteIntoAFolderInPlaceOfTheFileFails) {
    TempDir dir;
    IniProfile ini;
    dir.write("tarl.ini/inside", "x");
    QString error;
    EXPECT_FALSE(ini.write(dir.file("tarl.ini"), "A", "x", "1", &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
