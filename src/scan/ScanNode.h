#pragma once

#include "catalog/ScanNodeValues.h"

#include <QString>
#include <memory>
#include <vector>

namespace tarl {

// The pictures of the scan tree, by their index in the scan window's picture list.
namespace ScanPicture {
inline constexpr int Playlist = 1;  // a playlist found
inline constexpr int SoundFile = 5; // a sound file found
inline constexpr int Folder = 7;    // a folder holding what was found
} // namespace ScanPicture

// What a node of the scan tree is.
enum class ScanNodeKind {
    PlaylistFolder, // a folder holding playlists found: its playlists become lists of its volume
    SoundFolder,    // a folder holding sound files found: it becomes a list of its parent's volume
    Playlist,       // a playlist file, child of a PlaylistFolder
    SoundFile,      // a sound file, child of a SoundFolder
};

// The kind's name as the scan tree always called it ("Cdm3u", "Cdmp3", "M3u", "Mp3").
QString ScanNodeKindName(ScanNodeKind kind);

// One node of the scan tree, free of widgets: a folder that holds matches (at the root) or a
// playlist or sound file found in it. The walk makes these nodes, the scan window shows them and
// the import reads them. A node owns its children.
class ScanNode {
public:
    ScanNode(QString key, QString text, ScanNodeKind kind);
    ScanNode(const ScanNode&) = delete;
    ScanNode& operator=(const ScanNode&) = delete;

    // A folder's path ending in "/", or a file's full path.
    const QString& key() const { return key_; }
    void setKey(const QString& key) { key_ = key; }
    // The folder's path (or on a CD the disc's name), or the file name.
    const QString& text() const { return text_; }
    void setText(const QString& text) { text_ = text; }
    // What the tree shows: the text, and after a folder's its count of matches
    // ("/music/   < 2 files >").
    QString shownText() const;
    ScanNodeKind kind() const { return kind_; }
    bool isFolder() const {
        return kind_ == ScanNodeKind::PlaylistFolder || kind_ == ScanNodeKind::SoundFolder;
    }
    // Index of the tree's picture (ScanPicture), by the kind.
    int picture() const;

    // Null for a node at the root.
    ScanNode* parent() const { return parent_; }
    int childCount() const { return static_cast<int>(children_.size()); }
    ScanNode& child(int index) const { return *children_.at(index); }

    // Adds a node as the last child and gives it back.
    ScanNode& addChild(QString key, QString text, ScanNodeKind kind);
    // Removes and destroys a child with everything below it; false when `node` is not a child.
    bool removeChild(const ScanNode* node);

    // What the catalog's import routines read of this node.
    ScanNodeValues values() const;

private:
    QString key_;
    QString text_;
    ScanNodeKind kind_;
    ScanNode* parent_ = nullptr;
    std::vector<std::unique_ptr<ScanNode>> children_;
};

} // namespace tarl
