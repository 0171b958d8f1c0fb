#pragma once

#include <QIcon>
#include <QLabel>

namespace tarl {

// A label that shows an icon drawn at the pixel density of the screen it is on at each paint, so
// the picture stays sharp on a HiDPI screen and after the window moves to another screen. A
// label's own pixmap is made once, at one density, and any other screen scales it (blurred or
// blocky); every picture of the windows is shown through this label instead.
//
// The icon is painted centred in the label at `size` (in logical pixels), or smaller when the
// label is smaller; a disabled label shows it greyed. The label keeps its frame and mouse
// behaviour, so its users treat it as any QLabel.
class IconLabel : public QLabel {
public:
    explicit IconLabel(QWidget* parent = nullptr);

    void setIcon(const QIcon& icon, QSize size);
    const QIcon& icon() const { return icon_; }
    QSize iconSize() const { return size_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QIcon icon_;
    QSize size_;
};

} // namespace tarl
