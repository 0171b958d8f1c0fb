#pragma once

#include "catalog/engine/Connection.h"
#include "platform/PlayerLink.h"
#include "state/Settings.h"
#include "text/PathMap.h"

#include <QString>

namespace tarl {

class Profile;
class Ui;
class Clock;
class Files;
class Drives;
class Launcher;
class PlayActions;

// The platform services a running program works through; the programs give the real ones,
// tests give doubles.
struct Services {
    Profile& profile;
    Ui& ui;
    PlayerLink& player;
    Clock& clock;
    Files& files;
    Drives& drives;
    Launcher& launcher;
};

// The values the main window owns and every other window reads and sets: the settings, the
// catalog, the view and layout values, the player and the last song.
struct AppState {
    explicit AppState(Services s) : services(s), settings(s.profile) {}
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    Services services;
    Settings settings;
    Catalog catalog;

    QString programFolder;   // ends in "/"
    QString tmpPlaylistPath; // m3uTmp.m3u in the program folder
    QString dbPath;
    // Catalog paths to this machine's paths and back, read from the settings at start-up.
    PathMap pathMap;

    bool sortedByCd = true; // the library tree by paths
    qint16 visualMode = 0;  // 0 full layout, 1 compact, 2 compact with the list unfolded
    bool miniPlaylist = true;
    // Which of the values above and of the window's placements start-up read from the settings;
    // shutdown writes back only those (SaveLayout), so a start-up that stopped early never
    // turns the previous run's layout into defaults.
    struct LayoutLoaded {
        bool sortedByCd = false;
        bool visualMode = false;
        bool mainPlacement = false;
        bool miniPlacement = false;
    } layoutLoaded;
    QString playerPath;
    qint16 playerVolume = 50; // 0..255

    QString lastFolder;   // ends in "/"
    qint32 lastIndex = 0; // the player's entry; 32-bit: a list may hold more than 32767 entries
    QString lastSong;
    qint32 lastPosition = 0; // seconds
    // The four values above were read from the settings; until then nothing may overwrite the
    // saved ones (a start-up that stopped early would otherwise wipe the last song).
    bool lastSongLoaded = false;

    // The label new volumes get from the scan and import: the CD name, or "EOF" on the hard disc.
    QString currentLabel;
    // An import is writing to the catalog (its windows keep running meanwhile): the catalog must
    // not be closed or changed under it.
    bool importRunning = false;

    qint32 lastListIndex = -1;
    // The player's process id (mpv's), 0 when none answers: the handle every player message
    // goes to.
    PlayerWindow playerPid = 0;

    // The player side of every play; none until a player is wired in.
    PlayActions* play = nullptr;
};

} // namespace tarl
