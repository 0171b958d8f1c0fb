#pragma once

#include "platform/Ui.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace tarl::test {

// Answers every box from queues the test fills, and keeps a transcript of every box shown so
// tests can assert the exact texts. An empty queue answers Cancel / nothing.
class FakeUi : public Ui {
public:
    struct Box {
        QString kind; // "message", "input", "openFile", "browseForFolder"
        QString title;
        QString text; // the message or prompt; for openFile the filter
        MsgIcon icon = MsgIcon::None;
        MsgButtons buttons = MsgButtons::Ok;
        QString extra; // input default, openFile default extension
    };

    MsgAnswer message(const QString& text, const QString& title, MsgIcon icon,
                      MsgButtons buttons) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    QString openFile(const QString& title, const QString& defaultExtension,
                     const QString& filter) override;
    QString browseForFolder(const QString& title) override;

    std::deque<MsgAnswer> answers;
    std::deque<std::optional<QString>> inputs;
    std::deque<QString> files;
    std::deque<QString> folders;
    // Runs when a message box is shown, before it is answered (to act "while it is up").
    std::function<void(const Box&)> onBox;

    std::vector<Box> transcript;
    // Titles of the boxes shown, in order.
    QStringList titles() const;
};

} // namespace tarl::test
