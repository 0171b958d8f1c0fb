#include "state/Settings.h"

#include "platform/Profile.h"
#include "state/Convert.h"

namespace tarl {

QString Settings::ReadSetting(const QString& section, const QString& key,
                              const QString& fallback) const {
    const QString value = profile_.read(path_, section, key);
    return value.isEmpty() ? fallback : value;
}

QString Settings::read(const keys::Key& key) const {
    return ReadSetting(key.section, key.name, key.fallback);
}

bool Settings::write(const QString& section, const QString& key, const QString& value) {
    QString error;
    if (profile_.write(path_, section, key, value, &error))
        return true;
    if (writeError_.isEmpty())
        writeError_ = error;
    return false;
}

bool Settings::write(const keys::Key& key, const QString& value) {
    return write(key.section, key.name, value);
}

template <typename T, typename Conv> T Settings::readTyped(const keys::Key& key, Conv conv) {
    const QString text = read(key);
    if (const auto v = conv(text))
        return *v;
    ignored_ << QString(key.section) + '/' + QString(key.name) + '=' + text;
    return conv(QString(key.fallback)).value_or(T{});
}

float Settings::readSingle(const keys::Key& key) {
    return readTyped<float>(key, ToSingle);
}
qint16 Settings::readInt16(const keys::Key& key) {
    return readTyped<qint16>(key, ToInt16);
}
qint32 Settings::readInt32(const keys::Key& key) {
    return readTyped<qint32>(key, ToInt32);
}
bool Settings::readBool(const keys::Key& key) {
    return readTyped<bool>(key, ToBool);
}

} // namespace tarl
