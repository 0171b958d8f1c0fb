#include "shell/Picture.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <functional>
#include <utility>

namespace tarl {

namespace {

// Draws a picture given in units of a square grid, centred and scaled into whatever rectangle
// is asked, so it is sharp at any size and density; greyed when disabled.
class GridIconEngine : public QIconEngine {
public:
    using Draw = std::function<void(QPainter&)>;
    GridIconEngine(qreal grid, Draw draw, QString key, QList<QSize> sizes = {})
        : grid_(grid), draw_(std::move(draw)), key_(std::move(key)), sizes_(std::move(sizes)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        const qreal side = qMin(rect.width(), rect.height());
        if (side <= 0)
            return;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        if (mode == QIcon::Disabled)
            painter->setOpacity(painter->opacity() * 0.4);
        painter->translate(QRectF(rect).center() - QPointF(side / 2.0, side / 2.0));
        painter->scale(side / grid_, side / grid_);
        draw_(*painter);
        painter->restore();
    }
    // Buttons and menus ask for a picture rather than a paint: it starts transparent (a new
    // pixmap holds whatever memory it was given).
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap picture(size);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return picture;
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return sizes_; }
    QIconEngine* clone() const override { return new GridIconEngine(*this); }
    QString key() const override { return key_; }

private:
    qreal grid_;
    Draw draw_;
    QString key_;
    QList<QSize> sizes_;
};

// The program's picture: the shapes of tarl.svg, on its 128-unit grid.
void DrawTarlPicture(QPainter& p) {
    const QPointF centre(64, 64);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2f, 0x4f, 0x7f));
    p.drawEllipse(centre, 58, 58);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x4d, 0x6a, 0x96), 2));
    p.drawEllipse(centre, 44, 44);
    p.setPen(QPen(QColor(0x45, 0x62, 0x8e), 2));
    p.drawEllipse(centre, 32, 32);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf2, 0xf2, 0xf2));
    p.drawEllipse(centre, 9, 9);
    p.setBrush(QColor(0x2f, 0x4f, 0x7f));
    p.drawEllipse(centre, 3.5, 3.5);

    p.translate(6, 24);
    p.setBrush(QColor(0xf5, 0xb9, 0x42));
    QPainterPath beam;
    beam.moveTo(76, 26);
    beam.lineTo(100, 20);
    beam.lineTo(100, 28);
    beam.lineTo(76, 34);
    beam.closeSubpath();
    p.drawPath(beam);
    p.drawRect(QRectF(76, 26, 4, 42));
    p.drawRect(QRectF(96, 20, 4, 40));
    p.drawEllipse(QPointF(71, 68), 9, 7);
    p.drawEllipse(QPointF(91, 60), 9, 7);
}

// The panel's pictures on a 16-unit grid, dark glyphs as on a player's front.
void PaintPanelPicture(QPainter& p, PanelPicture picture) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0x30, 0x38));
    const auto bar = [&p](const QRectF& box) { p.drawRoundedRect(box, 0.8, 0.8); };
    const auto triangle = [&p](qreal left, qreal right, bool pointsRight) {
        QPainterPath path;
        path.moveTo(pointsRight ? left : right, 3);
        path.lineTo(pointsRight ? right : left, 8);
        path.lineTo(pointsRight ? left : right, 13);
        path.closeSubpath();
        p.drawPath(path);
    };
    switch (picture) {
    case PanelPicture::Play:
        triangle(4, 13, true);
        return;
    case PanelPicture::Pause:
        bar(QRectF(4, 3, 3, 10));
        bar(QRectF(9, 3, 3, 10));
        return;
    case PanelPicture::Previous:
        bar(QRectF(3, 3, 2, 10));
        triangle(5, 13, false);
        return;
    case PanelPicture::Stop:
        bar(QRectF(4, 4, 8, 8));
        return;
    case PanelPicture::Next:
        triangle(3, 11, true);
        bar(QRectF(11, 3, 2, 10));
        return;
    case PanelPicture::Speaker: {
        QPainterPath cone;
        cone.moveTo(2, 6);
        cone.lineTo(5, 6);
        cone.lineTo(9, 2.5);
        cone.lineTo(9, 13.5);
        cone.lineTo(5, 10);
        cone.lineTo(2, 10);
        cone.closeSubpath();
        p.drawPath(cone);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0x30, 0x30, 0x38), 1.2));
        p.drawArc(QRectF(7, 5, 5, 6), -60 * 16, 120 * 16);
        p.drawArc(QRectF(7, 2.5, 8, 11), -60 * 16, 120 * 16);
        return;
    }
    case PanelPicture::Shuffle: {
        // Two crossing lines, each ending in an arrow head on the right.
        p.setPen(QPen(QColor(0x30, 0x30, 0x38), 1.4));
        p.setBrush(Qt::NoBrush);
        QPainterPath down, up;
        down.moveTo(2, 4);
        down.cubicTo(7, 4, 8, 12, 12, 12);
        up.moveTo(2, 12);
        up.cubicTo(7, 12, 8, 4, 12, 4);
        p.drawPath(down);
        p.drawPath(up);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x30, 0x30, 0x38));
        p.drawPolygon(QPolygonF({QPointF(11, 1.5), QPointF(14.5, 4), QPointF(11, 6.5)}));
        p.drawPolygon(QPolygonF({QPointF(11, 9.5), QPointF(14.5, 12), QPointF(11, 14.5)}));
        return;
    }
    case PanelPicture::Repeat:
    case PanelPicture::RepeatSong: {
        // A loop with an arrow head; the song's repeat carries a "1" inside.
        p.setPen(QPen(QColor(0x30, 0x30, 0x38), 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(2.5, 4.5, 11, 7), 2.5, 2.5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x30, 0x30, 0x38));
        p.drawPolygon(QPolygonF({QPointF(8, 2), QPointF(11, 4.5), QPointF(8, 7)}));
        if (picture == PanelPicture::RepeatSong)
            p.drawRect(QRectF(7.3, 6.5, 1.4, 4));
        return;
    }
    }
}

} // namespace

QIcon PanelIcon(PanelPicture picture) {
    return QIcon(new GridIconEngine(
        16, [picture](QPainter& p) { PaintPanelPicture(p, picture); },
        QStringLiteral("tarl-panel")));
}

QIcon TarlIcon() {
    // Window managers and trays pick among these sizes; any other is drawn as well.
    return QIcon(new GridIconEngine(
        128, DrawTarlPicture, QStringLiteral("tarl-picture"),
        {{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
}

} // namespace tarl
