#pragma once

#include <QLatin1StringView>

// Sections, keys and defaults of tarl.ini. The stored key names keep their historic spellings
// ("heigth", "mini_heigh", "Volum"): existing settings files rely on them. The constants are
// spelled in English.
namespace tarl::keys {

inline constexpr QLatin1StringView Dimensions{"Dimensions"};
inline constexpr QLatin1StringView Player{"Player"};
inline constexpr QLatin1StringView Database{"Database"};
inline constexpr QLatin1StringView Search{"Search"};
inline constexpr QLatin1StringView Scan{"Scan"};

struct Key {
    QLatin1StringView section;
    QLatin1StringView name;
    QLatin1StringView fallback; // the default when missing or empty
};

inline constexpr Key MainState{Dimensions, QLatin1StringView("Main_state"), QLatin1StringView("0")};
inline constexpr Key Width{Dimensions, QLatin1StringView("Width"), QLatin1StringView("11000")};
inline constexpr Key Height{Dimensions, QLatin1StringView("heigth"), QLatin1StringView("7500")};
inline constexpr Key DivisorH{Dimensions, QLatin1StringView("divisorH"), QLatin1StringView("5000")};
inline constexpr Key MainTop{Dimensions, QLatin1StringView("Main_top"), QLatin1StringView("1000")};
inline constexpr Key MainLeft{Dimensions, QLatin1StringView("Main_left"),
                              QLatin1StringView("1000")};
inline constexpr Key MiniState{Dimensions, QLatin1StringView("mini_state"), QLatin1StringView("0")};
inline constexpr Key MiniTop{Dimensions, QLatin1StringView("mini_top"), QLatin1StringView("1000")};
inline constexpr Key MiniLeft{Dimensions, QLatin1StringView("mini_left"),
                              QLatin1StringView("1000")};
inline constexpr Key MiniHeight{Dimensions, QLatin1StringView("mini_heigh"),
                                QLatin1StringView("1000")};
inline constexpr Key MiniPlaylist{Dimensions, QLatin1StringView("mini_playlist"),
                                  QLatin1StringView("1000")};
inline constexpr Key VisualMode{Dimensions, QLatin1StringView("visual_mode"),
                                QLatin1StringView("0")};
inline constexpr Key SortedByCd{Player, QLatin1StringView("sorted_by_cd"),
                                QLatin1StringView("true")};
inline constexpr Key PlayerPath{Player, QLatin1StringView("Path"), QLatin1StringView("")};
inline constexpr Key Volume{Player, QLatin1StringView("Volum"), QLatin1StringView("50")};
// The play order: "true" shuffles; Repeat is "off", "list" or "song".
inline constexpr Key Shuffle{Player, QLatin1StringView("Shuffle"), QLatin1StringView("false")};
inline constexpr Key RepeatMode{Player, QLatin1StringView("Repeat"), QLatin1StringView("off")};
// The room for copies of queued songs of discs, in MB.
inline constexpr Key QueueCacheMb{Player, QLatin1StringView("queue_cache_mb"),
                                  QLatin1StringView("2048")};
inline constexpr Key Mp3Folder{Player, QLatin1StringView("Mp3folder"), QLatin1StringView("")};
inline constexpr Key Mp3Index{Player, QLatin1StringView("Mp3_index"), QLatin1StringView("1")};
inline constexpr Key Mp3Song{Player, QLatin1StringView("Mp3_song"), QLatin1StringView("")};
inline constexpr Key Mp3Position{Player, QLatin1StringView("Mp3_position"), QLatin1StringView("0")};
inline constexpr Key DatabasePath{Database, QLatin1StringView("Path"), QLatin1StringView("")};
// This machine's "stored prefix=local prefix" pairs joined by "|" (PathMap): how it reaches the
// files of a catalog other machines share.
inline constexpr Key PathMap{Database, QLatin1StringView("PathMap"), QLatin1StringView("")};
// The search window's "Ignore accents": "1" on, "0" off.
inline constexpr Key IgnoreAccents{Search, QLatin1StringView("IgnoreAccents"),
                                   QLatin1StringView("0")};
// The scan window's sound formats: keys "mp3", "wav", "wma", "flac", "ogg", "m4a" joined by
// commas, "none" when no box is checked.
inline constexpr Key ScanFormats{Scan, QLatin1StringView("Formats"),
                                 QLatin1StringView("mp3,wav,wma,flac,ogg,m4a")};

// Track-list column n (1 to 11): width "mp3F<n>" and display position "mp3FO<n>", no default.
inline QString ColumnWidthKey(int column) {
    return QStringLiteral("mp3F%1").arg(column);
}
inline QString ColumnPositionKey(int column) {
    return QStringLiteral("mp3FO%1").arg(column);
}
inline constexpr int SavedColumns = 11;

} // namespace tarl::keys
