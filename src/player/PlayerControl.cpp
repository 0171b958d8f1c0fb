#include "player/PlayerControl.h"

#include "browser/DiscCheck.h"
#include "history/HistoryFile.h"
#include "platform/PlayerLink.h"
#include "platform/Ui.h"
#include "player/PlayTarget.h"
#include "player/Resume.h"
#include "scan/TemporaryPlaylist.h"
#include "state/AppState.h"
#include "state/SettingKeys.h"

#include <QStandardPaths>

namespace tarl {

QString PlayerProgramPath(Settings& settings) {
    const QString chosen = settings.read(keys::PlayerPath);
    if (!chosen.isEmpty())
        return chosen;
    // Desktops install mpv on PATH; a fresh install then plays without a visit to Options.
    const QString found = QStandardPaths::findExecutable(QStringLiteral("mpv"));
    if (!found.isEmpty())
        settings.write(keys::PlayerPath, found);
    return found;
}

PlayerControl::PlayerControl(AppState& state) : state_(state) {}

void PlayerControl::FindPlayer() {
    state_.playerPid = state_.services.player.findWindow();
}

bool PlayerControl::StartPlayer(const QString& program, const QString& target) {
    if (!state_.services.player.launch(program, target))
        return false;
    state_.lastListIndex = -1;
    ++listsStarted_;
    return true;
}

bool PlayerControl::knowPlayerProgram() {
    if (!IsPlayerProgram(state_.playerPath))
        state_.playerPath = PlayerProgramPath(state_.settings);
    if (IsPlayerProgram(state_.playerPath))
        return true;
    if (warn)
        warn(QStringLiteral("S'ha de definir el path del Winamp (Properties>Options>Player)"));
    return false;
}

void PlayerControl::PlayFile(const QString& target) {
    if (!knowPlayerProgram())
        return;
    RecordHistory();
    StartPlayer(state_.playerPath, target);
}

void PlayerControl::PlayKey(const QString& key) {
    if (!knowPlayerProgram())
        return;
    RecordHistory();
    if (ConfirmDiscOfKey(state_.catalog, state_.services.drives, state_.services.ui, key) ==
        MsgAnswer::Cancel)
        return;
    QString disc, target = key;
    SplitDiscKey(key, &disc, &target);
    target = state_.pathMap.toLocal(target);
    // The player gets the tracks through the temporary playlist, never the playlist or folder
    // itself: the now-playing tick reads entry n there, so both must list the same tracks.
    const Result<QStringList> tracks = TracksToPlay(state_.services.files, target);
    if (!tracks) {
        report(tracks.error);
        return;
    }
    const Result<WrittenPlaylist> written =
        WriteTracksForThePlayer(state_.tmpPlaylistPath, tracks.value);
    if (!written) {
        report(written.error);
        return;
    }
    // What was left out is said; the rest plays.
    if (!written.value.leftOut.isEmpty())
        report(written.value.leftOut);
    StartPlayer(state_.playerPath, state_.tmpPlaylistPath);
}

void PlayerControl::report(const QString& sentence) {
    failureShown_ = true;
    if (reportError)
        reportError(sentence);
}

void PlayerControl::clearReportedFailure() {
    if (!failureShown_)
        return;
    failureShown_ = false;
    if (reportError)
        reportError(QString());
}

void PlayerControl::RecordHistory() {
    const Result<> recorded = tarl::RecordHistory(state_);
    if (recorded)
        clearReportedFailure();
    else
        report(QStringLiteral("The play history could not be saved: ") + recorded.error);
    if (buildHistoryMenu)
        buildHistoryMenu();
}

void PlayerControl::QueueKeys(const QStringList& keys, bool next) {
    if (queueKeys && !keys.isEmpty())
        queueKeys(keys, next);
}

void PlayerControl::ResumeAt(qint32 entry, bool launched) {
    ResumeTemporaryPlaylist(state_, launched, {entry, std::nullopt});
}

} // namespace tarl
