#include "support/FakeProfile.h"

namespace tarl::test {

namespace {
QString slot(const QString& file, const QString& section, const QString& key) {
    return (file + '|' + section.trimmed() + '|' + key.trimmed()).toLower();
}
} // namespace

QString FakeProfile::read(const QString& file, const QString& section, const QString& key) {
    return values.value(slot(file, section, key));
}

bool FakeProfile::write(const QString& file, const QString& section, const QString& key,
                        const QString& value, QString* error) {
    ++writes;
    if (failWrites) {
        if (error)
            *error = QStringLiteral("Cannot write %1: Permission denied").arg(file);
        return false;
    }
    values.insert(slot(file, section, key), value);
    return true;
}

} // namespace tarl::test
