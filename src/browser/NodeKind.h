#pragma once

#include <QString>

namespace tarl {

// The kinds of node of the library tree. The logic names a kind by this enum; a node keeps it as
// its tag text, which the tree view's roles, the rename window and `tarl-catalog tree` read, so
// the text of each kind never changes. The text is made and read back only here.
enum class NodeKind {
    None,        // ""          no kind: the catalog root of the tree by style
    Catalog,     // "Db"        the catalog root of the tree by paths
    Volume,      // "Cd"        a volume (a disc or a hard-disc folder), or a group of volumes
    TrackFolder, // "Mp3Cd"     a folder of tracks on a volume
    Playlist,    // "M3uCd"     a playlist on a volume, or the "." tracks of a volume's own folder
    Style,       // "Nick"      a style
    StyleList,   // "M3uNick"   a list under a style or under "Unsorted"
    Unsorted,    // "Unsorted"  the lists with no style
};

// The tag text a node of that kind stores; "" for None.
QString NodeKindTag(NodeKind kind);

// The kind a tag text stands for; None for any other text (case counts).
NodeKind NodeKindOfTag(const QString& tag);

// Whether the track list shows tracks for a node of that kind: a volume, a folder of tracks or a
// list. Other nodes show none.
bool ShowsTracks(NodeKind kind);

// Whether a double click plays the node's tracks: a folder of tracks or a list.
bool PlaysTracks(NodeKind kind);

} // namespace tarl
