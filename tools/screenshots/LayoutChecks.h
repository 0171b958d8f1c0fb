#pragma once

#include <QString>
#include <QStringList>

class QImage;
class QSize;
class QWidget;

namespace tarl::screenshots {

// Checks that catch a broken layout in a window as it is shown. Each gives the sentences saying
// what is wrong, naming the window as `name`; none when all is well.

// The window's size against the size its layout arithmetic gives, in pixels.
QStringList CheckSize(const QWidget& window, const QString& name, const QSize& expected);
// Every control of `part` (the window itself, or the part of it meant to be seen) lies wholly
// inside the window (the rows inside a list or tree scroll, and are left out).
QStringList CheckInside(const QWidget& window, const QString& name, const QWidget& part);
// The named controls directly on `panel` do not cover one another.
QStringList CheckNoOverlap(const QWidget& panel, const QString& name);
// A picture of one colour only shows nothing.
QStringList CheckNotBlank(const QImage& picture, const QString& name);

} // namespace tarl::screenshots
