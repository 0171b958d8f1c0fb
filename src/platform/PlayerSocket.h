#pragma once

#include "platform/PlayerLines.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <functional>
#include <optional>
#include <sys/types.h>

namespace tarl {

// Makes `folder` (mode 0700), or checks it when it exists: it must be a real folder, not a
// symbolic link, owned by `owner`; a looser mode is narrowed to 0700. Answers "" when the folder
// is fit to hold the player's socket, else why not.
QString PreparePlayerSocketFolder(const QString& folder, uid_t owner);

// Where the player's socket lives: `runtimeDir`/tarl/player.sock when `runtimeDir` is set, else
// `tempDir`/tarl-<uid>/player.sock. The folder is made or checked as above; "" when it is refused
// (the reason in `why`).
QString PlayerSocketPath(const QString& runtimeDir, const QString& tempDir, uid_t owner,
                         QString* why = nullptr);
// The same for this process: $XDG_RUNTIME_DIR, the temporary folder and the real user id.
QString DefaultPlayerSocketPath(QString* why = nullptr);

// One connection to mpv's JSON IPC socket. Each command goes out as one line
// {"command":[...],"request_id":N}, built by QJsonDocument so every string is escaped; the
// answer is the line carrying the same request_id. Event lines (what mpv pushes: property
// changes, file events) go to the event handler in the order they arrive, whether they are read
// while waiting for an answer or by readArrived(); answers to requests that were given up are
// skipped. Only the commands the player link needs can be sent:
// the sender refuses every other name, so mpv's `run`, `subprocess` and `load-script` can never
// reach the player. Blocking POSIX calls with poll(), no event loop: every wait has a deadline.
class PlayerSocket {
public:
    PlayerSocket() = default;
    ~PlayerSocket();
    PlayerSocket(const PlayerSocket&) = delete;
    PlayerSocket& operator=(const PlayerSocket&) = delete;

    // Connects to the socket at `path`; false when nobody listens there.
    bool open(const QString& path);
    void close();
    bool isOpen() const { return fd_ >= 0; }

    // Whether a command name may be sent to the player.
    static bool IsAllowed(const QString& name);

    // Called with every event line read, in order.
    using EventHandler = std::function<void(const QJsonObject&)>;
    void setEventHandler(EventHandler handler) { onEvent_ = std::move(handler); }
    // The process at the other end of the connection (the kernel's word, no round trip); 0 when
    // closed or unknown.
    qint64 peerProcessId() const;

    // Sends a command; its request id, or 0 when the name is refused, the command is empty or
    // the connection failed (then it is closed).
    qint64 send(const QJsonArray& command, const QDeadlineTimer& deadline);
    // The answer to request `id`, read until `deadline`; nullopt on time-out or when the player
    // closed the connection (isOpen() tells which).
    std::optional<QJsonObject> reply(qint64 id, const QDeadlineTimer& deadline);
    // send() then reply().
    std::optional<QJsonObject> request(const QJsonArray& command, const QDeadlineTimer& deadline);

    // Reads what has arrived, waiting until `deadline` when nothing has (by default not at
    // all), and hands every complete event line to the handler. False when the player closed
    // the connection.
    bool readArrived(const QDeadlineTimer& deadline = QDeadlineTimer(0));
    // Whether the answer to `id` (or to a later request) has been read.
    bool answered(qint64 id) const { return id != 0 && lastAnsweredId_ >= id; }

private:
    // Reads once, waiting at most until `deadline`; false on end of stream or an error.
    bool readSome(const QDeadlineTimer& deadline);
    // Parses a line; the answer when it carries `id`. Records the ids of all answers and hands
    // events to the handler.
    std::optional<QJsonObject> matchLine(const QByteArray& line, qint64 id);

    int fd_ = -1;
    PlayerLineBuffer buffer_;
    qint64 nextId_ = 1;
    qint64 lastAnsweredId_ = 0;
    EventHandler onEvent_;
};

} // namespace tarl
