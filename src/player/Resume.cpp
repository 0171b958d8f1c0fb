#include "player/Resume.h"

#include "platform/PlayerLink.h"
#include "state/AppState.h"

namespace tarl {

void ResumeTemporaryPlaylist(AppState& state, bool launched, const ResumePoint& at) {
    PlayerLink& player = state.services.player;
    if (launched)
        state.playerPid = player.waitForWindow(PlayerStartWaitMs);
    player.selectEntry(state.playerPid, at.entry);
    player.play(state.playerPid);
    if (at.seconds)
        player.seekTo(state.playerPid, *at.seconds * 1000);
}

} // namespace tarl
