#include "state/LastSong.h"

#include "state/AppState.h"
#include "state/Convert.h"

namespace tarl {

void LoadLastSong(AppState& state) {
    Settings& s = state.settings;
    state.lastFolder = s.read(keys::Mp3Folder);
    state.lastIndex = s.readInt32(keys::Mp3Index);
    state.lastSong = s.read(keys::Mp3Song);
    state.lastPosition = s.readInt32(keys::Mp3Position);
    state.lastSongLoaded = true;
}

void SaveLastSong(AppState& state) {
    if (!state.lastSongLoaded)
        return;
    const qint64 ms = state.services.player.positionMs(state.playerPid);
    state.lastPosition = static_cast<qint32>(RoundHalfEven(double(ms) / 1000.0));
    // A player that is not running answers 0: the position saved before stays.
    if (state.lastPosition != 0)
        state.settings.write(keys::Mp3Position, QString::number(state.lastPosition));
    state.settings.write(keys::Mp3Index, QString::number(state.lastIndex));
    state.settings.write(keys::Mp3Song, state.lastSong);
    state.settings.write(keys::Mp3Folder, state.lastFolder);
}

} // namespace tarl
