#pragma once

#include "catalog/engine/Connection.h"
#include "platform/LocalFiles.h"

#include <QElapsedTimer>
#include <chrono>
#include <functional>
#include <thread>

namespace tarl::test {

// Holds a walk or an import running on the scan worker at a known point until the test has done
// what it wants done meanwhile (pressed STOP, closed the program), so a stop lands in the middle
// of the work however fast the machine is.

// The files of this machine, with the listing of one folder held until `until` answers true
// (asked on the walk's thread; at most 20 s, so a failing test still ends).
class HeldFiles : public LocalFiles {
public:
    void holdListing(const QString& folder, std::function<bool()> until) {
        heldFolder_ = folder;
        until_ = std::move(until);
    }
    FolderListing listKindsInSteps(const QString& folder,
                                   const std::function<void()>& step) const override {
        if (until_ && folder == heldFolder_) {
            QElapsedTimer waited;
            waited.start();
            while (!until_() && waited.elapsed() < 20000)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return LocalFiles::listKindsInSteps(folder, step);
    }

private:
    QString heldFolder_;
    std::function<bool()> until_;
};

// Another program's write lock on a catalog file: an import's first write waits for release()
// (within the usual 5 s wait for another writer).
class CatalogWriteHold {
public:
    explicit CatalogWriteHold(const QString& catalogFile) {
        held_ =
            connection_.open(catalogFile) && connection_.execute(QStringLiteral("BEGIN IMMEDIATE"));
    }
    bool held() const { return held_; }
    void release() {
        if (held_)
            connection_.execute(QStringLiteral("COMMIT"));
        held_ = false;
    }

private:
    Connection connection_;
    bool held_ = false;
};

} // namespace tarl::test
