#pragma once

#include <QObject>
#include <QString>
#include <gtest/gtest.h>
#include <vector>

namespace tarl::test {

// A window's part found by its object name, as Qt's own tests find widgets; a part that is not
// there fails the test and gives null.
template <typename T> T* Part(const QObject& window, const QString& name) {
    T* part = window.findChild<T*>(name);
    if (part == nullptr)
        ADD_FAILURE() << "the window has no part named " << name.toStdString();
    return part;
}

// Parts named `base` followed by 0, 1, ... `count - 1`, in that order.
template <typename T> std::vector<T*> Parts(const QObject& window, const QString& base, int count) {
    std::vector<T*> parts;
    for (int i = 0; i < count; ++i)
        parts.push_back(Part<T>(window, base + QString::number(i)));
    return parts;
}

} // namespace tarl::test
