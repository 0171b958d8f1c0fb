#pragma once

#include "catalog/ScanNodeValues.h"

#include <QString>
#include <memory>
#include <vector>

namespace tarl {

// The pictures of the scan tree, by their index in the scan window's picture list (the number a
// node keeps as its picture).
namespace ScanPicture {
inline constexpr int Playlist = 1;  // a playlist found
inline constexpr int SoundFile = 5; // a sound file found
inline constexpr int Folder = 7;    // a folder holding what was found
} // namespace ScanPicture

// One node of the scan tree, free of widgets: a folder that holds matches (at the root) or a
// playlist or sound file found in it. The scan window shows these nodes; the import reads them.
// A node owns its children.
class ScanNode {
public:
    ScanNode(QString key, QString text, QString tag, int picture);
    ScanNode(const ScanNode&) = delete;
    ScanNode& operator=(const ScanNode&) = delete;

    // A folder's path ending in "/", or a file's full path.
    const QString& key() const { return key_; }
    void setKey(const QString& key) { key_ = key; }
    // What the tree shows: the folder path (with its count of matches) or the file name.
    const QString& text() const { return text_; }
    void setText(const QString& text) { text_ = text; }
    // The node's kind: "Cdm3u" or "Cdmp3" for folders, "M3u" or "Mp3" for files.
    const QString& tag() const { return tag_; }
    void setTag(const QString& tag) { tag_ = tag; }
    // Index of the tree's picture (ScanPicture).
    int picture() const { return picture_; }
    void setPicture(int picture) { picture_ = picture; }

    // Null for a node at the root.
    ScanNode* parent() const { return parent_; }
    int childCount() const { return static_cast<int>(children_.size()); }
    ScanNode& child(int index) const { return *children_.at(index); }

    // Adds a node as the last child and gives it back.
    ScanNode& addChild(QString key, QString text, QString tag, int picture);
    // Removes and destroys a child with everything below it; false when `node` is not a child.
    bool removeChild(const ScanNode* node);

    // What the catalog's import routines read of this node.
    ScanNodeValues values() const;

private:
    QString key_;
    QString text_;
    QString tag_;
    int picture_ = 0;
    ScanNode* parent_ = nullptr;
    std::vector<std::unique_ptr<ScanNode>> children_;
};

} // namespace tarl
