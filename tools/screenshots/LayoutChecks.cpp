#include "LayoutChecks.h"

#include "state/Twips.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QLabel>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace tarl::screenshots {

namespace {

QString NameOf(const QWidget& w) {
    return w.objectName().isEmpty() ? QString::fromLatin1(w.metaObject()->className())
                                    : w.objectName();
}

QString Describe(const QRect& r) {
    return QStringLiteral("%1x%2 at (%3, %4)").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y());
}

// Rows and cells of a list scroll inside its viewport: where they are says nothing of the layout.
bool InsideScrolledContent(const QWidget& w, const QWidget& window) {
    for (const QWidget* p = w.parentWidget(); p && p != &window; p = p->parentWidget()) {
        const auto* area = qobject_cast<const QAbstractScrollArea*>(p->parentWidget());
        if (area && area->viewport() == p)
            return true;
    }
    return false;
}

// Where a control draws: a left-aligned text label only as far as its text reaches (the time
// label is wider than "00:00." and its empty end lies under the volume icon by design).
QRect DrawnRect(const QWidget& w) {
    const QRect placed = w.geometry();
    const auto* label = qobject_cast<const QLabel*>(&w);
    if (!label || label->text().isEmpty() || !(label->alignment() & Qt::AlignLeft))
        return placed;
    return {placed.topLeft(),
            QSize(std::min(label->sizeHint().width(), placed.width()), placed.height())};
}

} // namespace

QStringList CheckSize(const QWidget& window, const QString& name, const QSize& expected) {
    if (window.size() == expected)
        return {};
    return {QStringLiteral("The %1 is %2x%3 pixels; its layout gives %4x%5.")
                .arg(name)
                .arg(window.width())
                .arg(window.height())
                .arg(expected.width())
                .arg(expected.height())};
}

QStringList CheckInside(const QWidget& window, const QString& name, const QWidget& part) {
    QStringList problems;
    // The player panel stands 40 twips right of the splitter and is as wide as all the room right
    // of it, so its right border lies just beyond the window by design: that much is allowed.
    const int slack = ToPixels(40);
    const QRect bounds = window.rect().adjusted(-slack, -slack, slack, slack);
    QList<const QWidget*> controls{&part};
    for (const QWidget* w : part.findChildren<QWidget*>())
        controls << w;
    for (const QWidget* w : controls) {
        if (w == &window || w->window() != &window || !w->isVisibleTo(&window) ||
            InsideScrolledContent(*w, window))
            continue;
        const QRect placed(w->mapTo(&window, QPoint()), w->size());
        if (!placed.isEmpty() && !bounds.contains(placed))
            problems << QStringLiteral("In the %1, %2 (%3) reaches outside the window (%4x%5).")
                            .arg(name, NameOf(*w), Describe(placed))
                            .arg(window.width())
                            .arg(window.height());
    }
    return problems;
}

QStringList CheckNoOverlap(const QWidget& panel, const QString& name) {
    std::vector<const QWidget*> controls;
    for (const QWidget* w : panel.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!w->objectName().isEmpty() && w->isVisibleTo(&panel))
            controls.push_back(w);
    }
    QStringList problems;
    for (size_t i = 0; i < controls.size(); ++i) {
        for (size_t j = i + 1; j < controls.size(); ++j) {
            const QRect a = DrawnRect(*controls[i]);
            const QRect b = DrawnRect(*controls[j]);
            if (a.intersects(b))
                problems << QStringLiteral("In the %1, %2 (%3) and %4 (%5) overlap.")
                                .arg(name, NameOf(*controls[i]), Describe(a), NameOf(*controls[j]),
                                     Describe(b));
        }
    }
    return problems;
}

QStringList CheckNotBlank(const QImage& picture, const QString& name) {
    if (picture.isNull())
        return {QStringLiteral("The picture of the %1 could not be taken.").arg(name)};
    const QRgb first = picture.pixel(0, 0);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixel(x, y) != first)
                return {};
        }
    }
    return {QStringLiteral("The picture of the %1 is blank: one colour only.").arg(name)};
}

} // namespace tarl::screenshots
