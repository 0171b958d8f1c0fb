#include "support/FakeUi.h"

namespace tarl::test {

namespace {
template <typename T> T take(std::deque<T>& queue, T fallback) {
    if (queue.empty())
        return fallback;
    T value = queue.front();
    queue.pop_front();
    return value;
}
} // namespace

MsgAnswer FakeUi::message(const QString& text, const QString& title, MsgIcon icon,
                          MsgButtons buttons) {
    transcript.push_back({QStringLiteral("message"), title, text, icon, buttons, {}});
    if (onBox)
        onBox(transcript.back());
    const MsgAnswer fallback = buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
    return take(answers, fallback);
}

std::optional<QString> FakeUi::input(const QString& prompt, const QString& title,
                                     const QString& defaultText) {
    transcript.push_back(
        {QStringLiteral("input"), title, prompt, MsgIcon::None, MsgButtons::OkCancel, defaultText});
    return take(inputs, std::optional<QString>());
}

QString FakeUi::openFile(const QString& title, const QString& defaultExtension,
                         const QString& filter) {
    transcript.push_back({QStringLiteral("openFile"), title, filter, MsgIcon::None,
                          MsgButtons::OkCancel, defaultExtension});
    return take(files, QString());
}

QString FakeUi::browseForFolder(const QString& title) {
    transcript.push_back(
        {QStringLiteral("browseForFolder"), title, {}, MsgIcon::None, MsgButtons::OkCancel, {}});
    return take(folders, QString());
}

QStringList FakeUi::titles() const {
    QStringList out;
    for (const Box& b : transcript)
        out << b.title;
    return out;
}

} // namespace tarl::test
