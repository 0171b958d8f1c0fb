#include "player/PlayerControl.h"

#include "browser/DiscCheck.h"
#include "history/HistoryFile.h"
#include "platform/Drives.h"
#include "platform/PlayerLink.h"
#include "platform/Ui.h"
#include "state/AppState.h"
#include "state/SettingKeys.h"
#include "state/Version.h"

namespace tarl {

PlayerControl::PlayerControl(AppState& state) : state_(state) {}

QString PlayerControl::CommandLine(const QString& program, const QString& target) {
    return program + QStringLiteral(" \"") + target + QLatin1Char('"');
}

void PlayerControl::FindWinampWindow() {
    state_.winampWindow = state_.services.player.findWindow();
}

bool PlayerControl::playWinamp(const QString& commandLine) {
    if (!state_.services.player.launch(commandLine))
        return false;
    state_.lastListIndex = -1;
    return true;
}

void PlayerControl::PlayWinampMp3s(const QString& target) {
    if (!IsPlayerProgram(state_.playerPath))
        state_.playerPath = state_.settings.read(keys::PlayerPath);
    if (!IsPlayerProgram(state_.playerPath)) {
        state_.services.ui.message(
            QStringLiteral("S'ha de definir el path del Winamp (Properties>Options>Player)"),
            QString(VersionLabel), MsgIcon::Exclamation, MsgButtons::Ok);
        return;
    }
    RecordHistory();
    playWinamp(CommandLine(state_.playerPath, target));
}

void PlayerControl::PlayWinampM3u(const QString& key) {
    RecordHistory();
    QString target = key;
    const qsizetype at = key.indexOf(QLatin1String(":>"));
    if (at >= 0) {
        const QString disc = key.left(at);
        target = key.mid(at + 2);
        const QString drive = state_.services.drives.driveRoot(target);
        if (ConfirmDiscInDrive(state_.catalog, state_.services.drives, state_.services.ui, disc,
                               drive) == MsgAnswer::Cancel)
            return;
    }
    // A folder is handed over without its final separator ("/" itself stays).
    if (target.size() > 1 && target.endsWith(QLatin1Char('/')))
        target.chop(1);
    playWinamp(CommandLine(state_.playerPath, target));
}

void PlayerControl::RecordHistory() {
    QString error;
    if (!tarl::RecordHistory(state_, &error) && reportError)
        reportError(QStringLiteral("The play history could not be saved: ") + error);
    if (BuildHistoryMenu)
        BuildHistoryMenu();
}

} // namespace tarl
