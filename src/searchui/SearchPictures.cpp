#include "searchui/SearchPictures.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

namespace tarl {

namespace {

void PaintDisc(QPainter& p, const QRectF& box) {
    const qreal side = box.width();
    const QRectF disc(box.left() + side * 0.30, box.top() + side * 0.02, side * 0.68, side * 0.68);
    p.setPen(QPen(QColor(60, 70, 100), qMax<qreal>(1.0, side / 20.0)));
    p.setBrush(QColor(190, 200, 225));
    p.drawEllipse(disc);
    p.setBrush(Qt::white);
    p.drawEllipse(disc.center(), side * 0.08, side * 0.08);
}

void PaintNote(QPainter& p, const QRectF& box, const QColor& ink) {
    const qreal side = box.width();
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    const QPointF head(box.left() + side * 0.30, box.top() + side * 0.76);
    p.drawEllipse(head, side * 0.20, side * 0.14);
    const qreal stemX = head.x() + side * 0.14;
    p.drawRect(QRectF(stemX, box.top() + side * 0.12, qMax<qreal>(1.0, side * 0.08),
                      head.y() - box.top() - side * 0.12));
    QPainterPath flag;
    flag.moveTo(stemX, box.top() + side * 0.12);
    flag.lineTo(stemX + side * 0.32, box.top() + side * 0.26);
    flag.lineTo(stemX + side * 0.08, box.top() + side * 0.34);
    flag.closeSubpath();
    p.drawPath(flag);
}

void PaintSheet(QPainter& p, const QRectF& box) {
    const qreal side = box.width();
    const QRectF sheet(box.left() + side * 0.08, box.top() + side * 0.22, side * 0.56, side * 0.74);
    p.setPen(QPen(QColor(80, 80, 80), qMax<qreal>(1.0, side / 20.0)));
    p.setBrush(QColor(255, 252, 235));
    p.drawRect(sheet);
    p.setPen(QPen(QColor(40, 110, 60), qMax<qreal>(1.0, side / 16.0)));
    for (int line = 1; line <= 3; ++line) {
        const qreal y = sheet.top() + sheet.height() * line / 4.0;
        p.drawLine(QPointF(sheet.left() + side * 0.08, y), QPointF(sheet.right() - side * 0.08, y));
    }
}

void PaintArrow(QPainter& p, const QRectF& box) {
    const qreal side = box.width();
    QPainterPath arrow;
    arrow.moveTo(box.left() + side * 0.05, box.center().y());
    arrow.lineTo(box.left() + side * 0.50, box.top() + side * 0.10);
    arrow.lineTo(box.left() + side * 0.50, box.top() + side * 0.32);
    arrow.lineTo(box.right() - side * 0.05, box.top() + side * 0.32);
    arrow.lineTo(box.right() - side * 0.05, box.top() + side * 0.68);
    arrow.lineTo(box.left() + side * 0.50, box.top() + side * 0.68);
    arrow.lineTo(box.left() + side * 0.50, box.bottom() - side * 0.10);
    arrow.closeSubpath();
    p.setPen(QPen(QColor(20, 70, 20), qMax<qreal>(1.0, side / 20.0)));
    p.setBrush(QColor(60, 170, 60));
    p.drawPath(arrow);
}

// 0 draws the jump arrow; 1 to 4 a hit's icon.
class SearchIconEngine : public QIconEngine {
public:
    explicit SearchIconEngine(int picture) : picture_(picture) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        const qreal side = qMin(rect.width(), rect.height());
        const QRectF box(rect.x() + (rect.width() - side) / 2.0,
                         rect.y() + (rect.height() - side) / 2.0, side, side);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const bool onDisc =
            picture_ == int(SearchIcon::CdTrack) || picture_ == int(SearchIcon::CdList);
        if (picture_ == 0)
            PaintArrow(*painter, box);
        if (onDisc)
            PaintDisc(*painter, box);
        if (picture_ == int(SearchIcon::HardDiscTrack) || picture_ == int(SearchIcon::CdTrack))
            PaintNote(*painter, box, QColor(30, 60, 140));
        if (picture_ == int(SearchIcon::HardDiscList) || picture_ == int(SearchIcon::CdList))
            PaintSheet(*painter, box);
        painter->restore();
    }

    QIconEngine* clone() const override { return new SearchIconEngine(picture_); }
    QString key() const override { return QStringLiteral("tarl-search"); }

private:
    int picture_;
};

} // namespace

QIcon SearchHitIcon(SearchIcon icon) {
    return QIcon(new SearchIconEngine(int(icon)));
}

QIcon JumpIcon() {
    return QIcon(new SearchIconEngine(0));
}

} // namespace tarl
