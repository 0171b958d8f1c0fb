#include "shell/Picture.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

namespace tarl {

namespace {

// The picture's shapes are those of tarl.svg, on its 128-unit grid.
constexpr qreal kGrid = 128.0;

class TarlIconEngine : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        if (mode == QIcon::Disabled)
            painter->setOpacity(painter->opacity() * 0.4);
        PaintTarlPicture(*painter, rect);
        painter->restore();
    }
    // Window managers and trays pick among these; any other size is drawn as well.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
    }
    QIconEngine* clone() const override { return new TarlIconEngine; }
    QString key() const override { return QStringLiteral("tarl-picture"); }
};

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
    }
}

class PanelIconEngine : public QIconEngine {
public:
    explicit PanelIconEngine(PanelPicture picture) : picture_(picture) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        const qreal side = qMin(rect.width(), rect.height());
        if (side <= 0)
            return;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        if (mode == QIcon::Disabled)
            painter->setOpacity(painter->opacity() * 0.4);
        painter->translate(QRectF(rect).center() - QPointF(side / 2.0, side / 2.0));
        painter->scale(side / 16.0, side / 16.0);
        PaintPanelPicture(*painter, picture_);
        painter->restore();
    }
    QIconEngine* clone() const override { return new PanelIconEngine(picture_); }
    QString key() const override { return QStringLiteral("tarl-panel"); }

private:
    PanelPicture picture_;
};

} // namespace

QIcon PanelIcon(PanelPicture picture) {
    return QIcon(new PanelIconEngine(picture));
}

void PaintTarlPicture(QPainter& p, const QRectF& box) {
    if (box.isEmpty())
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(box.width(), box.height());
    p.translate(box.center() - QPointF(side / 2.0, side / 2.0));
    p.scale(side / kGrid, side / kGrid);
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
    p.restore();
}

QIcon TarlIcon() {
    return QIcon(new TarlIconEngine);
}

} // namespace tarl
