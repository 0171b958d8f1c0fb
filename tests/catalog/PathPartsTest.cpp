#include "catalog/PathParts.h"
#include "catalog/QuoteSql.h"

#include "support/FakeDrives.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

TEST(QuoteSqlTest, QuotesEachQuoteOnceCutsAtNulAndReplacesLoneSurrogates) {
    const QChar high(0xD83C);
    const QChar low(0xDFB8);
    const struct {
        QString text;
        QString quoted;
    } cases[] = {
        {"Guns'n Roses", "Guns''n Roses"},
        // Quoted once, whatever the text holds already.
        {"''", "''''"},
        {"'''", "''''''"},
        {"a''b'c", "a''''b''c"},
        {"'", "''"},
        {"", ""},
        {QString::fromUtf8("before\0after", 12), "before"},
        {QString::fromUtf8("\0'", 2), ""},
        {"100% _x_ \\ \"", "100% _x_ \\ \""},
        {QString("rock ") + high + low, QString("rock ") + high + low},
        {QString("a") + high + "'", QString("a") + QChar(0xFFFD) + "''"},
        {QString("a") + low + high, QString("a") + QChar(0xFFFD) + QChar(0xFFFD)},
        {QString(high), QString(QChar(0xFFFD))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(QuoteSql(c.text), c.quoted);
    }
}

TEST(PathPartsTest, FolderOfAndLastPathPart) {
    const struct {
        QString path;
        QString folder;
        QString lastPart;
        QString pathAfter; // what LastPathPart leaves in its argument
    } cases[] = {
        {"/music/party.m3u", "/music/", "party.m3u", "/music/party.m3u"},
        {"/music/rock/", "/music/rock/", "rock", "/music/rock"},
        {"/music/rock//", "/music/rock//", "", "/music/rock/"},
        {"party.m3u", "", "party.m3u", "party.m3u"},
        {"/", "/", "", ""},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(FolderOf(c.path), c.folder);
        QString path = c.path;
        EXPECT_EQ(LastPathPart(path), c.lastPart);
        EXPECT_EQ(path, c.pathAfter);
    }
}

TEST(PathPartsTest, SplitListPathStoresFolderListsUnderTheirParentAndRootsAsDot) {
    test::FakeDrives drives;
    drives.addDrive("/", DriveType::Fixed);
    drives.addDrive("/media/cd", DriveType::CdRom, "DISC7");
    const struct {
        QString listPath;
        ListPathParts parts;
    } cases[] = {
        {"/music/party.m3u", {"/music/", "party.m3u"}},
        {"/music/rock/", {"/music/", "rock/"}},
        {"/music/", {"/", "music/"}},
        {"/media/cd/", {"/media/cd/", "."}},
        {"/media/cd/rock/", {"/media/cd/", "rock/"}},
        {"/media/cd/party.m3u", {"/media/cd/", "party.m3u"}},
        {"/", {"/", "."}},
        // Only the exact text of a root is one; a doubled "/" is a folder list again.
        {"/media/cd//", {"/media/cd/", "/"}},
        {"/media/cd/.", {"/media/cd/", "."}},
        {"party.m3u", {"", "party.m3u"}},
        {"", {"", "."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.listPath.toStdString());
        EXPECT_EQ(SplitListPath(c.listPath, drives), c.parts);
    }
}

TEST(PathPartsTest, IsDriveRootTextWantsTheRootLetterForLetter) {
    test::FakeDrives drives;
    drives.addDrive("/media/cd", DriveType::CdRom);
    EXPECT_TRUE(IsDriveRootText("/media/cd/", drives));
    EXPECT_FALSE(IsDriveRootText("/media/cd", drives));
    EXPECT_FALSE(IsDriveRootText("/media/cd//", drives));
    EXPECT_FALSE(IsDriveRootText("/media/cd/rock/", drives));
    EXPECT_FALSE(IsDriveRootText("/", drives)); // not a drive of this machine
    EXPECT_FALSE(IsDriveRootText("", drives));
}

} // namespace
} // namespace tarl
