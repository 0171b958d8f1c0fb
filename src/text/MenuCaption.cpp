#include "text/MenuCaption.h"

namespace tarl {

QString MenuCaption(const QString& text) {
    QString caption = text;
    caption.replace(u'&', QStringLiteral("&&"));
    return caption;
}

} // namespace tarl
