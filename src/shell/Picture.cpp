#include "shell/Picture.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace tarl {

QPixmap TarlPicture(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF disc(size * 0.04, size * 0.04, size * 0.92, size * 0.92);
    QRadialGradient shine(disc.center(), disc.width() / 2);
    shine.setColorAt(0.0, QColor(235, 240, 250));
    shine.setColorAt(0.6, QColor(160, 180, 215));
    shine.setColorAt(1.0, QColor(90, 110, 160));
    p.setPen(QPen(QColor(40, 50, 80), size / 48.0 + 0.5));
    p.setBrush(shine);
    p.drawEllipse(disc);
    p.setBrush(QColor(250, 250, 250));
    const double hole = size * 0.14;
    p.drawEllipse(disc.center(), hole, hole);

    // The note: a head and a flagged stem, over the disc's right half.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(180, 30, 40));
    const QPointF head(size * 0.60, size * 0.70);
    p.drawEllipse(head, size * 0.10, size * 0.075);
    const QRectF stem(head.x() + size * 0.07, size * 0.22, size * 0.035, head.y() - size * 0.22);
    p.drawRect(stem);
    QPainterPath flag;
    flag.moveTo(stem.topRight());
    flag.cubicTo(stem.right() + size * 0.12, size * 0.28, stem.right() + size * 0.14, size * 0.36,
                 stem.right() + size * 0.06, size * 0.44);
    flag.lineTo(stem.right(), size * 0.34);
    flag.closeSubpath();
    p.drawPath(flag);
    return pixmap;
}

} // namespace tarl
