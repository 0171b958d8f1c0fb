#include "player/Resume.h"

#include "platform/PlayerLink.h"
#include "state/AppState.h"

namespace tarl {

void ResumeTemporaryPlaylist(AppState& state, bool launched, const ResumePoint& at) {
    PlayerLink& player = state.services.player;
    if (launched)
        state.playerPid = player.waitForWindow(PlayerStartWaitMs);
    player.sendMessage(state.playerPid, player_msg::WmUser, at.entry, player_msg::SetPlaylistPos);
    player.sendMessage(state.playerPid, player_msg::WmCommand, player_msg::Play, 0);
    if (at.seconds)
        player.sendMessage(state.playerPid, player_msg::WmUser, *at.seconds * 1000,
                           player_msg::JumpToTime);
}

} // namespace tarl
