#include "platform/VolumeLabelText.h"

#include "platform/Drives.h"

namespace tarl {

QString VolumeLabelOf(const Drives& drives, const QString& path) {
    QString label = drives.volumeLabel(drives.driveRoot(path));
    const qsizetype nul = label.indexOf(QChar(u'\0'));
    if (nul >= 0)
        label.truncate(nul);

    // Proper case: the first letter of each word upper, the rest lower; words are separated by
    // spaces and the control characters that separate words (tab, line breaks).
    QString proper;
    proper.reserve(label.size());
    bool wordStart = true;
    for (qsizetype i = 0; i < label.size();) {
        const char16_t c = label.at(i).unicode();
        if (c == u' ' || (c >= u'\t' && c <= u'\r')) {
            proper += label.at(i++);
            wordStart = true;
            continue;
        }
        // One character, which may be a surrogate pair.
        const qsizetype length = label.at(i).isHighSurrogate() && i + 1 < label.size() ? 2 : 1;
        const QString character = label.mid(i, length);
        proper += wordStart ? character.toUpper() : character.toLower();
        wordStart = false;
        i += length;
    }
    return proper;
}

} // namespace tarl
