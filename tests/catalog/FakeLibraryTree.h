#pragma once

#include "catalog/LibraryTreeEdits.h"

#include <QSet>
#include <QStringList>

namespace tarl::test {

// A library tree of bare keys. Removing a node removes the keys below it too (those that start
// with its key), as the real tree drops a node's children with it.
class FakeLibraryTree : public LibraryTreeEdits {
public:
    explicit FakeLibraryTree(const QStringList& keys) : keys_(keys.begin(), keys.end()) {}

    void removeNode(const QString& key) override {
        removed << key;
        for (auto it = keys_.begin(); it != keys_.end();) {
            if (it->startsWith(key))
                it = keys_.erase(it);
            else
                ++it;
        }
    }
    bool hasNode(const QString& key) const override { return keys_.contains(key); }

    QStringList removed; // the keys asked for, in order

private:
    QSet<QString> keys_;
};

} // namespace tarl::test
