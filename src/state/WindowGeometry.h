#pragma once

namespace tarl {

// Window states as the settings file stores them.
enum WindowStateValue { StateNormal = 0, StateMinimised = 1, StateMaximised = 2 };

// The main window's geometry in twips (15 to a pixel), as the settings file stores it.
class WindowGeometry {
public:
    virtual ~WindowGeometry() = default;

    virtual int windowStateValue() const = 0;
    virtual void setWindowStateValue(int value) = 0;
    virtual double left() const = 0;
    virtual double top() const = 0;
    virtual double width() const = 0;
    virtual double height() const = 0;
    virtual void setLeft(double twips) = 0;
    virtual void setTop(double twips) = 0;
    virtual void setWidth(double twips) = 0;
    virtual void setHeight(double twips) = 0;
    virtual double splitterLeft() const = 0;
    virtual void setSplitterLeft(double twips) = 0;
    // While suspended, resize events do not lay the controls out.
    virtual void setResizeSuspended(bool suspended) = 0;
    // Lays the controls out once.
    virtual void runResize() = 0;
};

} // namespace tarl
