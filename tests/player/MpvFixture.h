#pragma once

#include "platform/MpvPlayerLink.h"
#include "player/PlayerControl.h"
#include "scan/TemporaryPlaylist.h"
#include "support/TempDir.h"
#include "support/TestServices.h"

#include <QStandardPaths>
#include <csignal>
#include <gtest/gtest.h>

namespace tarl::test {

// The player side over a real mpv (silent, on a socket in the test's folder): the program folder
// and its temporary playlist in the test's folder, mpv the player program. The player a test
// started is killed when it ends; without mpv the test is skipped (a fixture deriving from this
// one returns from its SetUp when IsSkipped()). `timeoutMs` is the link's wait for an answer;
// `logFile` has mpv write its log to mpv.log there.
class MpvFixture : public ::testing::Test {
protected:
    explicit MpvFixture(int timeoutMs = 2000, bool logFile = false)
        : link(MpvPlayerLink::Options{.socketPath = dir.file("p.sock"),
                                      .extraArguments =
                                          logFile ? QStringList{QStringLiteral("--ao=null"),
                                                                "--log-file=" + dir.file("mpv.log")}
                                                  : QStringList{QStringLiteral("--ao=null")},
                                      .timeoutMs = timeoutMs}) {}

    void SetUp() override {
        mpv = QStandardPaths::findExecutable(QStringLiteral("mpv"));
        if (mpv.isEmpty())
            GTEST_SKIP() << "mpv is not installed";
        state.programFolder = dir.path() + u'/';
        state.settings.setPath(dir.file("tarl.ini"));
        state.tmpPlaylistPath = TemporaryPlaylistPath(state.programFolder);
        state.playerPath = mpv;
    }
    void TearDown() override {
        if (const qint64 pid = link.startedProcessId())
            ::kill(pid_t(pid), SIGKILL);
    }

    QString mpv;
    TempDir dir;
    TestServices services;
    MpvPlayerLink link;
    Services real{services.profile, services.ui,      link, services.clock, services.files,
                  services.drives,  services.launcher};
    AppState state{real};
    PlayerControl control{state};
};

} // namespace tarl::test
