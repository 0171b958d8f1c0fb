#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QJsonObject>
#include <QtGlobal>
#include <optional>

namespace tarl {

// What mpv sends on its JSON IPC socket, as bytes arrive: cut into lines at "\n" whatever
// chunks the bytes came in, and each line read as one message. Pure: no socket, no clock.

// The bytes read and not yet taken as lines. A line still growing past `maxLine` bytes without
// its end means something other than mpv is talking on the socket.
class PlayerLineBuffer {
public:
    static constexpr qsizetype DefaultMaxLine = 16 * 1024 * 1024;

    explicit PlayerLineBuffer(qsizetype maxLine = DefaultMaxLine) : maxLine_(maxLine) {}

    // Adds bytes read; false when the buffer holds more than maxLine bytes and no line end.
    bool append(QByteArrayView bytes);
    bool hasLine() const { return buffer_.contains('\n'); }
    // The next complete line without its "\n", if any.
    std::optional<QByteArray> takeLine();
    void clear() { buffer_.clear(); }
    qsizetype size() const { return buffer_.size(); }

private:
    QByteArray buffer_;
    qsizetype maxLine_;
};

// One line read as a message: an event (an object with an "event" member), the answer to a
// request (an object with a numeric "request_id"), or neither (anything else: not JSON, not an
// object, an id of another type), which is passed over.
struct PlayerMessage {
    enum class Kind { Other, Event, Answer };
    Kind kind = Kind::Other;
    QJsonObject object;
    qint64 requestId = 0; // for an answer
};
PlayerMessage ParsePlayerLine(const QByteArray& line);

} // namespace tarl
