// `cmake --install` of this build into a temporary prefix: the programs land in bin/ as
// executables, the desktop entry, the icon and the AppStream description where freedesktop
// desktops and software centres look for them, and the entry passes desktop-file-validate and
// the description appstreamcli when those tools are on the machine.

#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace tarl {
namespace {

const QString kBin = QStringLiteral(TARL_INSTALL_BINDIR);
const QString kData = QStringLiteral(TARL_INSTALL_DATADIR);
const QString kEntry = kData + "/applications/tarl.desktop";
const QString kMetainfo = kData + "/metainfo/org.tarl.tarl.metainfo.xml";

struct ProgramRun {
    int code;
    QString output;
};

ProgramRun RunProgram(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    if (!p.waitForFinished(60000))
        return {-1, QStringLiteral("%1 did not finish: %2").arg(program, p.errorString())};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAll())};
}

// Installs the build into `prefix`; an empty string when it went well, else what went wrong.
QString Install(const QString& prefix) {
    const ProgramRun run =
        RunProgram(QStringLiteral(TARL_CMAKE),
                   {"--install", QStringLiteral(TARL_BUILD_DIR), "--prefix", prefix});
    return run.code == 0 ? QString() : run.output;
}

// The value of `key` in the entry's [Desktop Entry] group, empty when the key is missing.
QString EntryValue(const QString& entryPath, const QString& key) {
    QFile file(entryPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    for (const QString& line : lines) {
        if (line.startsWith(key + "="))
            return line.mid(key.size() + 1);
    }
    return {};
}

TEST(Install, PutsEachFileInItsPlace) {
    const test::TempDir prefix;
    ASSERT_EQ(Install(prefix.path()), QString()) << "cmake --install failed";

    const struct {
        QString file;
        bool executable;
        bool app; // installed only when the window program is built
    } cases[] = {
        {kBin + "/tarl-catalog", true, false},
        {kBin + "/tarl", true, true},
        {kEntry, false, true},
        {kData + "/icons/hicolor/scalable/apps/tarl.svg", false, true},
        {kMetainfo, false, true},
    };
    for (const auto& c : cases) {
        const QFileInfo info(prefix.file(c.file));
        if (c.app && TARL_INSTALLS_APP == 0) {
            EXPECT_FALSE(info.exists()) << c.file.toStdString();
            continue;
        }
        EXPECT_TRUE(info.isFile()) << c.file.toStdString();
        EXPECT_EQ(info.isExecutable(), c.executable) << c.file.toStdString();
    }
}

TEST(Install, DesktopEntryIsValidAndNamesWhatIsInstalled) {
    if (TARL_INSTALLS_APP == 0)
        GTEST_SKIP() << "this build has no window program, so it installs no desktop entry";
    const test::TempDir prefix;
    ASSERT_EQ(Install(prefix.path()), QString()) << "cmake --install failed";
    const QString entry = prefix.file(kEntry);

    // The menu starts the program by name from PATH and shows the icon found by name.
    const QString exec = EntryValue(entry, "Exec").section(' ', 0, 0);
    EXPECT_TRUE(QFileInfo(prefix.file(kBin + "/" + exec)).isExecutable()) << exec.toStdString();
    const QString icon = EntryValue(entry, "Icon");
    EXPECT_TRUE(
        QFileInfo::exists(prefix.file(kData + "/icons/hicolor/scalable/apps/" + icon + ".svg")))
        << icon.toStdString();

    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    if (validator.isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed (Debian: desktop-file-utils)";
    const ProgramRun check = RunProgram(validator, {entry});
    EXPECT_EQ(check.code, 0) << check.output.toStdString();
    EXPECT_EQ(check.output, QString()) << "the validator's hints and warnings";
}

TEST(Install, AppStreamDescriptionIsValidAndNamesTheDesktopEntry) {
    if (TARL_INSTALLS_APP == 0)
        GTEST_SKIP() << "this build has no window program, so it installs no AppStream description";
    const QString validator = QStandardPaths::findExecutable("appstreamcli");
    if (validator.isEmpty())
        GTEST_SKIP() << "appstreamcli is not installed (Debian: appstream)";
    const test::TempDir prefix;
    ASSERT_EQ(Install(prefix.path()), QString()) << "cmake --install failed";

    // The whole installed tree: the description, its file name against its id, and the desktop
    // entry it names as its launchable, found beside it.
    const ProgramRun check =
        RunProgram(validator, {"validate-tree", "--no-net", "--pedantic", prefix.path()});
    EXPECT_EQ(check.code, 0) << check.output.toStdString();
    EXPECT_FALSE(check.output.contains("I:"))
        << "the validator's hints: " << check.output.toStdString();
}

} // namespace
} // namespace tarl
