#include "platform/IniProfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace tarl {

namespace {

// "[name]" with optional blanks and anything after the closing bracket; "" when not a header.
bool sectionHeader(const QString& line, QString* name) {
    const QString t = line.trimmed();
    if (!t.startsWith('['))
        return false;
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return false;
    *name = t.mid(1, close - 1).trimmed();
    return true;
}

// "key=value": the key before the first "=", trimmed.
bool keyLine(const QString& line, QString* key, QString* value) {
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(';'))
        return false;
    const qsizetype eq = t.indexOf('=');
    if (eq <= 0)
        return false;
    *key = t.left(eq).trimmed();
    if (value)
        *value = t.mid(eq + 1).trimmed();
    return true;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString lineEndOf(const QString& content) {
    return content.contains(QLatin1String("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
}

QStringList splitLines(const QString& content) {
    QString text = content;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the final line end
    return lines;
}

bool readWhole(const QString& file, QString* content) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    *content = QString::fromUtf8(f.readAll());
    return true;
}

} // namespace

QString IniProfile::valueIn(const QString& content, const QString& section, const QString& key) {
    bool inSection = false;
    for (const QString& line : splitLines(content)) {
        QString name;
        if (sectionHeader(line, &name)) {
            inSection = sameName(name, section.trimmed());
            continue;
        }
        QString k, v;
        if (inSection && keyLine(line, &k, &v) && sameName(k, key.trimmed()))
            return v;
    }
    return {};
}

QString IniProfile::withValue(const QString& content, const QString& section, const QString& key,
                              const QString& value) {
    const QString eol = lineEndOf(content);
    QStringList lines = splitLines(content);
    const QString newLine = key.trimmed() + '=' + value;

    qsizetype sectionAt = -1;     // header line of the section
    qsizetype lastInSection = -1; // last non-blank line of the section
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString name;
        if (sectionHeader(lines[i], &name)) {
            if (inSection)
                break; // the section ended without the key
            inSection = sameName(name, section.trimmed());
            if (inSection)
                sectionAt = lastInSection = i;
            continue;
        }
        if (!inSection)
            continue;
        QString k;
        if (keyLine(lines[i], &k, nullptr) && sameName(k, key.trimmed())) {
            lines[i] = newLine;
            return lines.join(eol) + eol;
        }
        if (!lines[i].trimmed().isEmpty())
            lastInSection = i;
    }
    if (sectionAt >= 0) {
        lines.insert(lastInSection + 1, newLine);
        return lines.join(eol) + eol;
    }
    if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
        lines.append(QString());
    lines.append('[' + section.trimmed() + ']');
    lines.append(newLine);
    return lines.join(eol) + eol;
}

QString IniProfile::read(const QString& file, const QString& section, const QString& key) {
    QString content;
    if (!readWhole(file, &content))
        return {};
    return valueIn(content, section, key);
}

bool IniProfile::write(const QString& file, const QString& section, const QString& key,
                       const QString& value, QString* error) {
    QString content;
    if (QFileInfo::exists(file) && !readWhole(file, &content)) {
        if (error)
            *error = QStringLiteral("Cannot read %1.").arg(QDir::toNativeSeparators(file));
        return false;
    }
    // Line breaks inside a value would make new lines of their own.
    QString flat = value;
    flat.replace('\r', ' ').replace('\n', ' ');
    const QString updated = withValue(content, section, key, flat);
    // A value that is already there costs no write (the play state is saved every few
    // seconds, mostly unchanged, and each write syncs the disc).
    if (updated == content && QFileInfo::exists(file))
        return true;

    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("Cannot write %1: %2").arg(file, out.errorString());
        return false;
    }
    out.write(updated.toUtf8());
    if (!out.commit()) {
        if (error)
            *error = QStringLiteral("Cannot write %1: %2").arg(file, out.errorString());
        return false;
    }
    return true;
}

} // namespace tarl
