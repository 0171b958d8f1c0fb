// The settings file on arbitrary bytes: the input holds a section, a key and a value (each ended
// by a NUL byte) and then the file's bytes. Besides crashes it checks what a write promises:
// reading the key back gives the value written (blanks at its ends included), and every other
// line of the file stays byte for byte as it was, in its order; only lines are added (the key's,
// and for a new section a blank line and its header) or the key's own line is replaced. A file
// whose last line had no end gets one when a line is added after it.
#include "FuzzCheck.h"
#include "platform/IniProfile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using tarl::fuzz::Check;

// The lines of a file cut at "\n" (a "\r" before it stays in the line); no empty last line
// after a final "\n".
QList<QByteArray> LinesOf(const QByteArray& content) {
    QList<QByteArray> lines = content.split('\n');
    if (content.isEmpty() || content.endsWith('\n'))
        lines.removeLast();
    return lines;
}

// A name the program could write: callers use fixed section and key names, never one that reads
// as a comment, a section header or an assignment.
bool WritableNames(const QString& section, const QString& key) {
    const QString k = key.trimmed();
    if (k.isEmpty() || k.startsWith(u';') || k.startsWith(u'[') || k.contains(u'='))
        return false;
    for (const QString& name : {section, key}) {
        if (name.contains(u'\r') || name.contains(u'\n') || name.contains(u']'))
            return false;
    }
    return true;
}

void CheckOtherLinesKept(const QByteArray& before, const QByteArray& after) {
    const QList<QByteArray> old = LinesOf(before);
    const QList<QByteArray> now = LinesOf(after);
    const bool openEnd = !before.isEmpty() && !before.endsWith('\n');
    // The old last line may have gained the "\r" of a CRLF end.
    auto same = [&](qsizetype i, const QByteArray& line) {
        return old[i] == line || (openEnd && i == old.size() - 1 && old[i] + '\r' == line);
    };
    if (now.size() == old.size()) {
        int changed = 0;
        for (qsizetype i = 0; i < old.size(); ++i)
            changed += same(i, now[i]) ? 0 : 1;
        Check(changed <= 1, "a replaced value changes one line");
        return;
    }
    const qsizetype added = now.size() - old.size();
    Check(added >= 1 && added <= 3, "one to three lines added");
    qsizetype prefix = 0;
    while (prefix < old.size() && same(prefix, now[prefix]))
        ++prefix;
    for (qsizetype i = prefix; i < old.size(); ++i)
        Check(same(i, now[i + added]), "the lines after the added ones are kept");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<QByteArray> names;
    qsizetype at = 0;
    while (names.size() < 3) {
        const qsizetype end = input.indexOf('\0', at);
        if (end < 0)
            return 0;
        names.append(input.mid(at, end - at));
        at = end + 1;
    }
    const QString section = QString::fromUtf8(names[0]);
    const QString key = QString::fromUtf8(names[1]);
    QString value = QString::fromUtf8(names[2]);
    const QByteArray content = input.mid(at);

    tarl::IniProfile::valueIn(content, section, key);
    if (!WritableNames(section, key))
        return 0;
    // As write() does: line breaks inside a value would make lines of their own.
    value.replace(u'\r', u' ').replace(u'\n', u' ');
    const QByteArray updated = tarl::IniProfile::withValue(content, section, key, value);
    // Blanks at a value's ends are kept: such a value is written in quotes.
    Check(tarl::IniProfile::valueIn(updated, section, key) == value,
          "the key reads back as written");
    CheckOtherLinesKept(content, updated);
    return 0;
}
