#include "browser/TreeIcons.h"

#include "browser/TreeImage.h"

#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tarl {

namespace {

// The pictures are drawn on a 16 by 16 grid and scaled to the rectangle asked for.
constexpr qreal kGrid = 16.0;

const QColor kOutline(0x4a, 0x4a, 0x4a);
const QColor kMissingFill(0xd0, 0xd0, 0xd0);
const QColor kMissingLine(0x90, 0x90, 0x90);
const QColor kCross(0xd0, 0x20, 0x20);

void Folder(QPainter& p, const QColor& fill, const QColor& line) {
    QPainterPath shape;
    shape.moveTo(1.5, 3.5);
    shape.lineTo(6.0, 3.5);
    shape.lineTo(7.5, 5.0);
    shape.lineTo(14.5, 5.0);
    shape.lineTo(14.5, 13.5);
    shape.lineTo(1.5, 13.5);
    shape.closeSubpath();
    p.setPen(QPen(line, 1.0));
    p.setBrush(fill);
    p.drawPath(shape);
    p.drawLine(QPointF(1.5, 6.5), QPointF(14.5, 6.5));
}

void Sheet(QPainter& p, const QColor& fill, const QColor& line, const QColor& text) {
    QPainterPath shape;
    shape.moveTo(3.5, 1.5);
    shape.lineTo(10.0, 1.5);
    shape.lineTo(12.5, 4.0);
    shape.lineTo(12.5, 14.5);
    shape.lineTo(3.5, 14.5);
    shape.closeSubpath();
    p.setPen(QPen(line, 1.0));
    p.setBrush(fill);
    p.drawPath(shape);
    p.drawLine(QPointF(10.0, 1.5), QPointF(10.0, 4.0));
    p.drawLine(QPointF(10.0, 4.0), QPointF(12.5, 4.0));
    p.setPen(QPen(text, 1.0));
    for (const qreal y : {6.5, 8.5, 10.5, 12.5})
        p.drawLine(QPointF(5.0, y), QPointF(11.0, y));
}

void Note(QPainter& p, const QColor& colour, const QPointF& at) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRectF(at.x(), at.y() + 3.0, 3.0, 2.4));
    p.setPen(QPen(colour, 1.1));
    p.drawLine(QPointF(at.x() + 2.7, at.y() + 4.0), QPointF(at.x() + 2.7, at.y()));
    p.drawLine(QPointF(at.x() + 2.7, at.y()), QPointF(at.x() + 4.4, at.y() + 1.0));
}

void Disc(QPainter& p, bool present) {
    const QRectF outer(1.5, 1.5, 13.0, 13.0);
    if (present) {
        QConicalGradient shine(8.0, 8.0, 45.0);
        shine.setColorAt(0.0, QColor(0xe8, 0xf0, 0xff));
        shine.setColorAt(0.25, QColor(0xa8, 0xc8, 0xf0));
        shine.setColorAt(0.5, QColor(0xf4, 0xe0, 0xf8));
        shine.setColorAt(0.75, QColor(0xb8, 0xe8, 0xd0));
        shine.setColorAt(1.0, QColor(0xe8, 0xf0, 0xff));
        p.setBrush(shine);
        p.setPen(QPen(kOutline, 1.0));
    } else {
        p.setBrush(kMissingFill);
        p.setPen(QPen(kMissingLine, 1.0));
    }
    p.drawEllipse(outer);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(6.0, 6.0, 4.0, 4.0));
}

void Database(QPainter& p) {
    const QColor body(0x3b, 0x6f, 0xb6);
    const QColor top(0x7d, 0xa7, 0xe0);
    p.setPen(QPen(body.darker(140), 1.0));
    p.setBrush(body);
    QPainterPath cylinder;
    cylinder.moveTo(2.5, 4.0);
    cylinder.lineTo(2.5, 12.5);
    cylinder.arcTo(QRectF(2.5, 11.0, 11.0, 3.5), 180.0, 180.0);
    cylinder.lineTo(13.5, 4.0);
    cylinder.closeSubpath();
    p.drawPath(cylinder);
    p.setBrush(top);
    p.drawEllipse(QRectF(2.5, 2.0, 11.0, 3.5));
}

void Style(QPainter& p) {
    QPainterPath tag;
    tag.moveTo(1.5, 5.0);
    tag.lineTo(5.0, 1.5);
    tag.lineTo(14.5, 1.5);
    tag.lineTo(14.5, 8.5);
    tag.lineTo(5.0, 8.5);
    tag.closeSubpath();
    QTransform turn;
    turn.translate(8.0, 8.0);
    turn.rotate(30.0);
    turn.translate(-8.0, -5.0);
    p.setPen(QPen(QColor(0xa0, 0x50, 0x00), 1.0));
    p.setBrush(QColor(0xf0, 0x90, 0x20));
    p.drawPath(turn.map(tag));
    p.setBrush(Qt::white);
    p.drawEllipse(turn.map(QPointF(4.5, 5.0)), 1.1, 1.1);
}

// The mark of something that is not there (a folder or file gone, another disc in the drive).
void Cross(QPainter& p) {
    p.setPen(QPen(kCross, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
    p.drawLine(QPointF(14.5, 9.5), QPointF(9.5, 14.5));
}

void Draw(QPainter& p, int index) {
    const QColor folderFill(0xf5, 0xc8, 0x42);
    const QColor folderLine(0x9a, 0x6e, 0x0a);
    switch (index) {
    case TreeImage::Catalog:
        Database(p);
        return;
    case TreeImage::StyleFilePresent:
        Sheet(p, Qt::white, kOutline, QColor(0x8a, 0xb0, 0xd8));
        Note(p, QColor(0x20, 0x90, 0x40), QPointF(9.5, 9.0));
        return;
    case TreeImage::StyleFileMissing:
        Sheet(p, kMissingFill, kMissingLine, kMissingLine);
        Cross(p);
        return;
    case TreeImage::Folder:
        Folder(p, folderFill, folderLine);
        return;
    case TreeImage::Playlist:
        Sheet(p, Qt::white, kOutline, QColor(0x8a, 0xb0, 0xd8));
        return;
    case TreeImage::Disc:
        Disc(p, true);
        return;
    case TreeImage::DiscMissing:
        Disc(p, false);
        Cross(p);
        return;
    case TreeImage::TrackFolder:
        Folder(p, folderFill, folderLine);
        Note(p, QColor(0x30, 0x30, 0x90), QPointF(6.0, 7.0));
        return;
    case TreeImage::Style:
        Style(p);
        return;
    default:
        return;
    }
}

// Draws on demand, so the icon is sharp at any size and costs nothing until shown.
class TreeIconEngine : public QIconEngine {
public:
    explicit TreeIconEngine(int index) : index_(index) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        if (mode == QIcon::Disabled)
            painter->setOpacity(painter->opacity() * 0.4);
        TreeIcons::paint(*painter, rect, index_);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        const QSize pixels = size * scale;
        const quint64 key = (quint64(pixels.width()) << 32) | (quint64(pixels.height()) << 2) |
                            quint64(mode == QIcon::Disabled);
        const auto it = cache_.constFind(key);
        if (it != cache_.cend())
            return *it;
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            paint(&painter, QRect(QPoint(0, 0), pixels), mode, state);
        }
        QPixmap pixmap = QPixmap::fromImage(image);
        pixmap.setDevicePixelRatio(scale);
        cache_.insert(key, pixmap);
        return pixmap;
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {QSize(16, 16)}; }
    QIconEngine* clone() const override { return new TreeIconEngine(index_); }
    QString key() const override { return QStringLiteral("tarl-tree"); }
    bool isNull() override { return !TreeIcons::hasPicture(index_); }

private:
    int index_;
    QHash<quint64, QPixmap> cache_;
};

} // namespace

bool TreeIcons::hasPicture(int index) {
    return (index >= TreeImage::Catalog && index <= TreeImage::TrackFolder) ||
           index == TreeImage::Style;
}

void TreeIcons::paint(QPainter& painter, const QRectF& rect, int index) {
    if (!hasPicture(index) || rect.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // Square and centred, whatever the rectangle's shape.
    const qreal side = qMin(rect.width(), rect.height());
    painter.translate(rect.center() - QPointF(side / 2.0, side / 2.0));
    painter.scale(side / kGrid, side / kGrid);
    Draw(painter, index);
    painter.restore();
}

QImage TreeIcons::image(int index, int size) {
    if (!hasPicture(index) || size <= 0)
        return {};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter, QRectF(0, 0, size, size), index);
    return image;
}

QIcon TreeIcons::icon(int index) {
    if (!hasPicture(index))
        return {};
    return QIcon(new TreeIconEngine(index));
}

} // namespace tarl
