#include "platform/PlayerSocket.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QtGlobal>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace tarl {

namespace {

// The commands the player link sends; nothing else ever reaches the player. mpv's `run`,
// `subprocess` and `load-script` start programs or load code and must stay out of this list.
constexpr const char* AllowedCommands[] = {
    "get_property",
    "set_property",
    "seek",
    "loadfile",
    "loadlist",
    "cycle",
    "stop",
    "playlist-prev",
    "playlist-next",
    "quit",
    "disable_event",
    "enable_event",
    "observe_property",
    "unobserve_property",
    "playlist-move",
    "playlist-remove",
    "playlist-shuffle",
    "playlist-unshuffle",
};

int RemainingMs(const QDeadlineTimer& deadline) {
    return int(std::clamp<qint64>(deadline.remainingTime(), 0, 60 * 60 * 1000));
}

} // namespace

QString PreparePlayerSocketFolder(const QString& folder, uid_t owner) {
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return QStringLiteral("cannot make %1: %2")
            .arg(folder, QString::fromLocal8Bit(strerror(errno)));
    // Opened without following a link, then checked and narrowed through the descriptor, so
    // nothing can be swapped in between the check and the change.
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ELOOP || errno == ENOTDIR)
            return QStringLiteral("%1 is not a folder (a link or a file)").arg(folder);
        return QStringLiteral("cannot open %1: %2")
            .arg(folder, QString::fromLocal8Bit(strerror(errno)));
    }
    struct stat st {};
    QString why;
    if (::fstat(fd, &st) != 0)
        why = QStringLiteral("cannot read %1").arg(folder);
    else if (st.st_uid != owner)
        why = QStringLiteral("%1 belongs to another user").arg(folder);
    else if ((st.st_mode & 0077) != 0 && ::fchmod(fd, 0700) != 0)
        why = QStringLiteral("cannot make %1 private").arg(folder);
    ::close(fd);
    return why;
}

QString PlayerSocketPath(const QString& runtimeDir, const QString& tempDir, uid_t owner,
                         QString* why) {
    const QString folder = !runtimeDir.isEmpty()
                               ? runtimeDir + QStringLiteral("/tarl")
                               : tempDir + QStringLiteral("/tarl-") + QString::number(owner);
    const QString refused = PreparePlayerSocketFolder(folder, owner);
    if (why)
        *why = refused;
    if (!refused.isEmpty())
        return {};
    return folder + QStringLiteral("/player.sock");
}

QString DefaultPlayerSocketPath(QString* why) {
    return PlayerSocketPath(qEnvironmentVariable("XDG_RUNTIME_DIR"), QDir::tempPath(), ::getuid(),
                            why);
}

PlayerSocket::~PlayerSocket() {
    close();
}

bool PlayerSocket::open(const QString& path) {
    close();
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.isEmpty() || size_t(name.size()) >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    // A local stream socket connects at once or fails at once (nobody listening, no file, or a
    // full backlog, which counts as not answering).
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void PlayerSocket::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    buffer_.clear();
}

qint64 PlayerSocket::peerProcessId() const {
    if (fd_ < 0)
        return 0;
    ucred peer{};
    socklen_t size = sizeof(peer);
    if (::getsockopt(fd_, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.pid <= 0)
        return 0;
    return peer.pid;
}

bool PlayerSocket::IsAllowed(const QString& name) {
    for (const char* allowed : AllowedCommands) {
        if (name == QLatin1String(allowed))
            return true;
    }
    return false;
}

qint64 PlayerSocket::send(const QJsonArray& command, const QDeadlineTimer& deadline) {
    if (fd_ < 0 || command.isEmpty() || !IsAllowed(command.first().toString()))
        return 0;
    const qint64 id = nextId_++;
    const QJsonObject message{{QStringLiteral("command"), command},
                              {QStringLiteral("request_id"), id}};
    const QByteArray line = QJsonDocument(message).toJson(QJsonDocument::Compact) + '\n';
    qsizetype written = 0;
    while (written < line.size()) {
        const ssize_t n =
            ::send(fd_, line.constData() + written, size_t(line.size() - written), MSG_NOSIGNAL);
        if (n > 0) {
            written += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p{fd_, POLLOUT, 0};
            if (::poll(&p, 1, RemainingMs(deadline)) > 0)
                continue;
        }
        // A closed player, or one that stopped reading: a half-written line would garble the
        // next command, so the connection is dropped.
        close();
        return 0;
    }
    return id;
}

std::optional<QJsonObject> PlayerSocket::reply(qint64 id, const QDeadlineTimer& deadline) {
    while (fd_ >= 0) {
        while (const std::optional<QByteArray> line = buffer_.takeLine()) {
            if (std::optional<QJsonObject> answer = matchLine(*line, id))
                return answer;
        }
        if (!readSome(deadline))
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<QJsonObject> PlayerSocket::request(const QJsonArray& command,
                                                 const QDeadlineTimer& deadline) {
    const qint64 id = send(command, deadline);
    if (id == 0)
        return std::nullopt;
    return reply(id, deadline);
}

bool PlayerSocket::readArrived(const QDeadlineTimer& deadline) {
    if (fd_ < 0)
        return false;
    // A complete line already read is answer enough: then nothing is waited for.
    if (readSome(buffer_.hasLine() ? QDeadlineTimer(0) : deadline)) {
        while (readSome(QDeadlineTimer(0))) {
        }
    }
    if (fd_ < 0)
        return false;
    while (const std::optional<QByteArray> line = buffer_.takeLine())
        matchLine(*line, 0);
    return true;
}

bool PlayerSocket::readSome(const QDeadlineTimer& deadline) {
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::recv(fd_, chunk, sizeof(chunk), 0);
        if (n > 0) {
            if (!buffer_.append(QByteArrayView(chunk, n))) {
                close();
                return false;
            }
            return true;
        }
        if (n == 0) {
            close();
            return false;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            close();
            return false;
        }
        const int wait = RemainingMs(deadline);
        if (wait == 0)
            return false;
        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, wait);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
    }
}

std::optional<QJsonObject> PlayerSocket::matchLine(const QByteArray& line, qint64 id) {
    PlayerMessage message = ParsePlayerLine(line);
    if (message.kind == PlayerMessage::Kind::Event) {
        if (onEvent_)
            onEvent_(message.object);
        return std::nullopt;
    }
    if (message.kind != PlayerMessage::Kind::Answer)
        return std::nullopt;
    lastAnsweredId_ = qMax(lastAnsweredId_, message.requestId);
    if (id == 0 || message.requestId != id)
        return std::nullopt;
    return std::move(message.object);
}

} // namespace tarl
