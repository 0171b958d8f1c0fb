#pragma once

#include <QString>

namespace tarl {

// The edits the catalog's delete routines make to the library tree, so they stay free of
// widgets: the library tree implements this, and a routine given no tree (a null pointer) only
// changes the catalog.
class LibraryTreeEdits {
public:
    virtual ~LibraryTreeEdits() = default;

    // Removes the node keyed `key` with everything below it; nothing when there is none.
    virtual void removeNode(const QString& key) = 0;
    virtual bool hasNode(const QString& key) const = 0;
};

} // namespace tarl
