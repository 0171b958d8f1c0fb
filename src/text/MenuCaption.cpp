#include "text/MenuCaption.h"

#include "text/CellText.h"

namespace tarl {

QString MenuCaption(const QString& text) {
    // Cut first: a cut between the two "&" of a doubled one would leave a shortcut mark.
    QString caption = CellText(text);
    caption.replace(u'&', QStringLiteral("&&"));
    return caption;
}

} // namespace tarl
