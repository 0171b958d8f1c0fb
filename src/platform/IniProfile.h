#pragma once

#include "platform/Profile.h"

namespace tarl {

// Private-profile files on disc, read and written whole on every call, as UTF-8.
// Section and key names match without regard to case and surrounding blanks; values are taken
// without surrounding blanks. A write keeps every other line (comments included) and the file's
// line ends, and replaces the file atomically: a crash leaves either the old or the new file.
class IniProfile : public Profile {
public:
    QString read(const QString& file, const QString& section, const QString& key) override;
    bool write(const QString& file, const QString& section, const QString& key,
               const QString& value, QString* error = nullptr) override;

    // The text of `content` with `key` in `section` set to `value`: the pure part of write().
    static QString withValue(const QString& content, const QString& section, const QString& key,
                             const QString& value);
    // The value of `key` in `section` of `content`, "" when missing.
    static QString valueIn(const QString& content, const QString& section, const QString& key);
};

} // namespace tarl
