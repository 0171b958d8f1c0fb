#pragma once

#include "state/SettingKeys.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace tarl {

class Profile;

// The settings file tarl.ini: every read and every write goes to the file at once.
class Settings {
public:
    explicit Settings(Profile& profile) : profile_(profile) {}

    void setPath(const QString& path) { path_ = path; }
    const QString& path() const { return path_; }

    // The stored text, or `fallback` when the key is missing or its value empty.
    // Values are returned whole, however long.
    QString ReadSetting(const QString& section, const QString& key, const QString& fallback) const;
    QString read(const keys::Key& key) const;

    // A direct write. Callers go on whatever happens; a failure is kept in writeError() so the
    // window can tell the user once that settings are not being saved.
    bool write(const QString& section, const QString& key, const QString& value);
    bool write(const keys::Key& key, const QString& value);

    // Typed reads. A value that cannot be converted gives the key's default instead, and the
    // key is noted in ignoredKeys() so the window can say which values were ignored.
    float readSingle(const keys::Key& key);
    qint16 readInt16(const keys::Key& key);
    qint32 readInt32(const keys::Key& key);
    bool readBool(const keys::Key& key);

    const QString& writeError() const { return writeError_; }
    void clearWriteError() { writeError_.clear(); }
    const QStringList& ignoredKeys() const { return ignored_; }
    void clearIgnoredKeys() { ignored_.clear(); }

private:
    template <typename T, typename Conv> T readTyped(const keys::Key& key, Conv conv);

    Profile& profile_;
    QString path_;
    QString writeError_;
    QStringList ignored_;
};

} // namespace tarl
