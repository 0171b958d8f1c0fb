#pragma once

#include "platform/Profile.h"

#include <QMap>

namespace tarl::test {

// Settings kept in memory, with the same matching rules as the file: names without regard to
// case. `failWrites` makes every write fail, as an unwritable settings folder does.
class FakeProfile : public Profile {
public:
    QString read(const QString& file, const QString& section, const QString& key) override;
    bool write(const QString& file, const QString& section, const QString& key,
               const QString& value, QString* error = nullptr) override;

    bool failWrites = false;
    int writes = 0;
    // "file|section|key" in lower case -> value
    QMap<QString, QString> values;
};

} // namespace tarl::test
