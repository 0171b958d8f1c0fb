#pragma once

#include <QString>

namespace tarl {

// Private-profile (INI) files: sections of "key=value" lines. Section and key names match
// without regard to case; a write replaces the value in place and keeps every other line.
class Profile {
public:
    virtual ~Profile() = default;

    // The stored value, "" when the file, section or key is missing.
    virtual QString read(const QString& file, const QString& section, const QString& key) = 0;

    // Creates the file, section and key as needed. Returns false with a reason in *error when
    // the file could not be written; the file is then unchanged.
    virtual bool write(const QString& file, const QString& section, const QString& key,
                       const QString& value, QString* error = nullptr) = 0;
};

} // namespace tarl
