#pragma once

#include "catalog/engine/Lookup.h"

#include <QString>
#include <QtGlobal>

namespace tarl {

struct Catalog;

// The statements around an import's writes (the writes themselves, and their count, are
// ImportStatements'): the transaction its batches are committed in and the page cache it runs
// with. Each takes the catalog it works on and reports a refused statement through the
// connection's lastError().

// One batch of an import at a time: opened for writing at once (so a locked catalog refuses the
// batch before any row is written), committed, or rolled back when the catalog refused a write.
class ImportTransaction {
public:
    explicit ImportTransaction(Catalog& catalog) : catalog_(catalog) {}

    // Opens a batch; false when the catalog refused.
    bool begin();
    // Commits the open batch; false when the catalog refused, and the batch stays open.
    bool commit();
    // Undoes the open batch, if one is open. Some failures have already ended the transaction;
    // the batch is then closed with nothing to undo.
    void rollback();
    bool isOpen() const { return open_; }

private:
    Catalog& catalog_;
    bool open_ = false;
};

// Every track of an import looks up its list and itself in indexes that outgrow the engine's
// default page cache (2 MB) after a few thousand tracks. This gives the connection a larger
// cache for the length of an import, and its own size back at restore().
class ImportCacheSize {
public:
    explicit ImportCacheSize(Catalog& catalog);
    ~ImportCacheSize() { restore(); }
    ImportCacheSize(const ImportCacheSize&) = delete;
    ImportCacheSize& operator=(const ImportCacheSize&) = delete;

    void restore();

private:
    Catalog& catalog_;
    Lookup<qint64> ownSize_ = Lookup<qint64>::failed();
};

} // namespace tarl
