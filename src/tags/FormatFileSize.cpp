#include "tags/FormatFileSize.h"

namespace tarl {

QString FormatFileSize(qint64 bytes) {
    if (bytes <= 0)
        return QStringLiteral("N/A");
    if (bytes <= 1000)
        return QString::number(bytes) + u'b';
    if (bytes <= 1000000)
        return QString::number(bytes / 1000) + u'K';
    // Integer arithmetic: cut, never rounded, and no locale's decimal comma.
    const qint64 hundredths = bytes / 10000;
    return QStringLiteral("%1.%2M").arg(hundredths / 100).arg(hundredths % 100, 2, 10, QChar(u'0'));
}

} // namespace tarl
