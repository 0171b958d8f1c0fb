#pragma once

namespace tarl {

// The pictures of the library tree, by their index in the tree's picture list (the number a
// node keeps as its image and `tarl-catalog tree` prints). 0 and 9 have no picture.
namespace TreeImage {
inline constexpr int None = 0;
inline constexpr int Catalog = 1;          // a database: the catalog root
inline constexpr int StyleFilePresent = 2; // a hard-disc list under a style, its file there
inline constexpr int StyleFileMissing = 3; // the same, its file gone
inline constexpr int Folder = 4;           // a hard-disc volume or folder that is there
inline constexpr int Playlist = 5;         // a playlist sheet
inline constexpr int Disc = 6;             // a disc in its drive
inline constexpr int DiscMissing = 7;      // a disc not in its drive
inline constexpr int TrackFolder = 8;      // a folder of tracks
inline constexpr int Style = 10;           // a style

// Pictures that stand for a second thing, as they always did.
inline constexpr int FolderMissing = Playlist; // a hard-disc volume or folder that is gone
inline constexpr int Unsorted = Disc;          // the lists with no style
} // namespace TreeImage

} // namespace tarl
