#include "platform/MountTable.h"

namespace tarl {

namespace {

bool IsOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

// Fields of one line split on runs of blanks (fstab may use tabs and several spaces).
QList<QByteArray> BlankSeparated(const QByteArray& line) {
    QList<QByteArray> fields;
    for (const QByteArray& field : line.simplified().split(' ')) {
        if (!field.isEmpty())
            fields.append(field);
    }
    return fields;
}

} // namespace

QString UnescapeMountField(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const bool escape = field[i] == '\\' && i + 3 < field.size() &&
                            IsOctalDigit(field[i + 1]) && IsOctalDigit(field[i + 2]) &&
                            IsOctalDigit(field[i + 3]);
        if (!escape) {
            out.append(field[i]);
            continue;
        }
        const int value =
            (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
        out.append(static_cast<char>(value & 0xff));
        i += 3;
    }
    // Mount points are byte strings; names on desktops are UTF-8.
    return QString::fromUtf8(out);
}

QList<MountEntry> ParseMountInfo(const QByteArray& text) {
    QList<MountEntry> mounts;
    for (const QByteArray& line : text.split('\n')) {
        // id parent major:minor root mount-point options [optional fields...] - type source super
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype separator = fields.indexOf("-", 6);
        if (fields.size() < 7 || separator < 0 || separator + 1 >= fields.size())
            continue;
        MountEntry entry;
        entry.mountPoint = UnescapeMountField(fields[4]);
        entry.fsType = UnescapeMountField(fields[separator + 1]);
        if (separator + 2 < fields.size())
            entry.device = UnescapeMountField(fields[separator + 2]);
        if (!entry.mountPoint.startsWith('/'))
            continue;
        mounts.append(entry);
    }
    return mounts;
}

QList<MountEntry> ParseFstab(const QByteArray& text) {
    QList<MountEntry> mounts;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = BlankSeparated(line);
        if (fields.size() < 3 || fields[0].startsWith('#'))
            continue;
        MountEntry entry;
        entry.device = UnescapeMountField(fields[0]);
        entry.mountPoint = UnescapeMountField(fields[1]);
        entry.fsType = UnescapeMountField(fields[2]);
        // "none" or "swap" in the mount point column: nothing is mounted on a folder.
        if (!entry.mountPoint.startsWith('/') || entry.fsType == QLatin1String("swap"))
            continue;
        if (entry.mountPoint.size() > 1 && entry.mountPoint.endsWith('/'))
            entry.mountPoint.chop(1);
        mounts.append(entry);
    }
    return mounts;
}

} // namespace tarl
