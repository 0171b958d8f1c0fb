#include "desktop/IconLabel.h"

#include <QPainter>

namespace tarl {

IconLabel::IconLabel(QWidget* parent) : QLabel(parent) {}

void IconLabel::setIcon(const QIcon& icon, QSize size) {
    icon_ = icon;
    size_ = size;
    updateGeometry();
    update();
}

QSize IconLabel::sizeHint() const {
    const QMargins margins = contentsMargins();
    return size_.grownBy(margins).expandedTo(QLabel::sizeHint());
}

void IconLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (icon_.isNull())
        return;
    const QRect area = contentsRect();
    const QSize shown = size_.boundedTo(area.size());
    const QRect target(area.x() + (area.width() - shown.width()) / 2,
                       area.y() + (area.height() - shown.height()) / 2, shown.width(),
                       shown.height());
    // QIcon::paint asks the icon for pixels at the painter's own density.
    QPainter painter(this);
    icon_.paint(&painter, target, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
}

} // namespace tarl
