#pragma once

#include <QTreeView>
#include <functional>

namespace tarl {

// The search window's list `results` in report mode: one row a hit, no tree lines. It tells its
// window of a mouse press once the view has selected the row under the pointer, and of Enter.
class ResultsView : public QTreeView {
public:
    explicit ResultsView(QWidget* parent = nullptr);

    // The button pressed and the pointer's place, in the list's own coordinates.
    std::function<void(Qt::MouseButton, const QPoint&)> onMouseDown;
    std::function<void()> onEnter;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace tarl
