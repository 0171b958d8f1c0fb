#pragma once

#include "platform/Ui.h"

class QWidget;

namespace tarl {

// The message boxes and dialogs of the desktop, each parented to the window the person is working
// in, or else to the window given by setParentWindow().
class QtUi : public Ui {
public:
    MsgAnswer message(const QString& text, const QString& title, MsgIcon icon,
                      MsgButtons buttons) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    QString openFile(const QString& title, const QString& defaultExtension,
                     const QString& filter) override;
    QString browseForFolder(const QString& title) override;

    // Turns "description|pattern|description|pattern" into Qt's "description (pattern);;..."
    static QString qtFilter(const QString& filter);
    // The window the dialogs belong to; none when null.
    void setParentWindow(QWidget* parent) { parent_ = parent; }

private:
    QWidget* owner() const;

    QWidget* parent_ = nullptr;
};

} // namespace tarl
