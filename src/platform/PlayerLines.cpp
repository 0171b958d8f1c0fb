#include "platform/PlayerLines.h"

#include <QJsonDocument>
#include <QJsonValue>

namespace tarl {

bool PlayerLineBuffer::append(QByteArrayView bytes) {
    buffer_.append(bytes);
    return buffer_.size() <= maxLine_ || buffer_.contains('\n');
}

std::optional<QByteArray> PlayerLineBuffer::takeLine() {
    const qsizetype end = buffer_.indexOf('\n');
    if (end < 0)
        return std::nullopt;
    QByteArray line = buffer_.left(end);
    buffer_.remove(0, end + 1);
    return line;
}

PlayerMessage ParsePlayerLine(const QByteArray& line) {
    PlayerMessage message;
    const QJsonDocument document = QJsonDocument::fromJson(line);
    if (!document.isObject())
        return message;
    message.object = document.object();
    if (message.object.contains(QStringLiteral("event"))) {
        message.kind = PlayerMessage::Kind::Event;
        return message;
    }
    const QJsonValue answerId = message.object.value(QStringLiteral("request_id"));
    if (!answerId.isDouble())
        return message;
    message.kind = PlayerMessage::Kind::Answer;
    message.requestId = answerId.toInteger();
    return message;
}

} // namespace tarl
