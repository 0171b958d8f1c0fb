#include "platform/MpvPlayerLink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <iterator>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarl {

namespace {

const QString Success = QStringLiteral("success");

// The events the link reads: when a file starts, is loaded and ends, and the observed
// properties' changes (mpv 0.35 sends those even after `disable_event all`; other versions may
// count them among "all"). Every other event stays off.
constexpr const char* WantedEvents[] = {"start-file", "end-file", "file-loaded", "property-change"};

bool IsPlaylistFile(const QString& target) {
    const QString suffix = QFileInfo(target).suffix().toLower();
    return suffix == QLatin1String("m3u") || suffix == QLatin1String("m3u8") ||
           suffix == QLatin1String("pls");
}

// A relative target is taken from the current folder, so it can never read as an option, nor as
// an address the player would fetch ("http://...", "memory://..."): the player only ever gets a
// path of this machine.
QString AbsoluteTarget(const QString& target) {
    if (target.startsWith('/'))
        return target;
    return QDir::current().absoluteFilePath(target);
}

// Whether process `pid` has ended (gone, or a zombie nobody reaped yet).
bool ProcessEnded(qint64 pid) {
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
        return true;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close >= 0 && text.mid(close + 2, 1) == "Z";
}

} // namespace

MpvPlayerLink::MpvPlayerLink() : MpvPlayerLink(Options{}) {}

MpvPlayerLink::MpvPlayerLink(Options options) : options_(std::move(options)) {
    socketPath_ =
        options_.socketPath.isEmpty() ? DefaultPlayerSocketPath(&refusal_) : options_.socketPath;
    // A local socket's name holds at most 107 bytes; a longer one could never be reached.
    if (QFile::encodeName(socketPath_).size() > 107) {
        refusal_ = QStringLiteral("the socket path %1 is too long").arg(socketPath_);
        socketPath_.clear();
    }
}

MpvPlayerLink::~MpvPlayerLink() = default;

std::optional<QJsonObject> MpvPlayerLink::request(const QJsonArray& command,
                                                  const QDeadlineTimer& deadline) {
    if (!socket_.isOpen() || unanswered_ != 0)
        return std::nullopt; // still silent: asking again would only wait again
    const qint64 id = socket_.send(command, deadline);
    std::optional<QJsonObject> answer = id != 0 ? socket_.reply(id, deadline) : std::nullopt;
    if (answer)
        return answer;
    if (!socket_.isOpen())
        handle_ = 0;
    else if (id != 0)
        unanswered_ = id;
    return std::nullopt;
}

std::optional<QJsonValue> MpvPlayerLink::get(const QString& name, const QDeadlineTimer& deadline) {
    const std::optional<QJsonObject> answer =
        request(QJsonArray{QStringLiteral("get_property"), name}, deadline);
    if (!answer || answer->value(QStringLiteral("error")).toString() != Success)
        return std::nullopt;
    return answer->value(QStringLiteral("data"));
}

bool MpvPlayerLink::succeeded(const QJsonArray& command, const QDeadlineTimer& deadline) {
    const std::optional<QJsonObject> answer = request(command, deadline);
    return answer && answer->value(QStringLiteral("error")).toString() == Success;
}

std::optional<QJsonValue> MpvPlayerLink::property(const QString& name) {
    if (findWindow() == 0)
        return std::nullopt;
    return get(name, messageDeadline());
}

PlayerWindow MpvPlayerLink::connectToPlayer() {
    handle_ = 0;
    unanswered_ = 0;
    pushed_ = PlayerPushed{};
    if (!socket_.open(socketPath_))
        return 0;
    socket_.setEventHandler([this](const QJsonObject& event) { pushed_.apply(event); });
    const QDeadlineTimer deadline = messageDeadline();
    socket_.send(QJsonArray{QStringLiteral("disable_event"), QStringLiteral("all")}, deadline);
    for (const char* event : WantedEvents)
        socket_.send(QJsonArray{QStringLiteral("enable_event"), QLatin1String(event)}, deadline);
    for (int id = ObservedDuration; id < ObservedEnd; ++id)
        socket_.send(QJsonArray{QStringLiteral("observe_property"), id,
                                QLatin1String(PlayerObservedNames[id - 1])},
                     deadline);
    if (!socket_.isOpen())
        return 0;
    // The kernel names the process listening on the socket: no answer is needed for that, so a
    // player that is busy right now is still found.
    handle_ = socket_.peerProcessId();
    if (handle_ <= 0)
        handle_ = 1;
    // mpv reports every observed property once at once; until then the answers would be
    // guesses (entry 0 for a player that plays entry 5). A busy player costs this wait once.
    while (!pushed_.allReported() && !deadline.hasExpired()) {
        if (!socket_.readArrived(deadline)) {
            handle_ = 0;
            return 0;
        }
    }
    return handle_;
}

bool MpvPlayerLink::readPushed() {
    if (!socket_.readArrived()) {
        handle_ = 0;
        return false;
    }
    if (unanswered_ != 0 && socket_.answered(unanswered_))
        unanswered_ = 0;
    if (pushed_.lengthToAsk) {
        // Observed anew, mpv pushes the length it has now; nothing is waited for.
        pushed_.lengthToAsk = false;
        const QDeadlineTimer deadline = messageDeadline();
        socket_.send(QJsonArray{QStringLiteral("unobserve_property"), int(ObservedDuration)},
                     deadline);
        socket_.send(QJsonArray{QStringLiteral("observe_property"), int(ObservedDuration),
                                QLatin1String(PlayerObservedNames[ObservedDuration - 1])},
                     deadline);
    }
    return true;
}

PlayerWindow MpvPlayerLink::findWindow() {
    if (socketPath_.isEmpty())
        return 0;
    const PlayerWindow window = socket_.isOpen() && readPushed() ? handle_ : connectToPlayer();
    lastFound_.start();
    return window;
}

bool MpvPlayerLink::reached(PlayerWindow window, bool question) {
    if (window == 0 || window != handle_ || !socket_.isOpen())
        return false;
    const bool sameTick =
        question && lastFound_.isValid() && lastFound_.elapsed() < options_.sameTickMs;
    return sameTick || readPushed();
}

qint64 MpvPlayerLink::lengthSeconds(PlayerWindow window) {
    return reached(window, true) ? pushed_.lengthSeconds() : 0;
}

qint64 MpvPlayerLink::positionMs(PlayerWindow window) {
    return reached(window, true) ? pushed_.positionMs() : 0;
}

qint64 MpvPlayerLink::entry(PlayerWindow window) {
    return reached(window, true) ? pushedEntry() : 0;
}

void MpvPlayerLink::seekTo(PlayerWindow window, qint64 ms) {
    if (reached(window, false))
        seek(ms, messageDeadline());
}

void MpvPlayerLink::selectEntry(PlayerWindow window, qint64 index) {
    if (!reached(window, false) || index < 0)
        return;
    const QDeadlineTimer deadline = messageDeadline();
    // mpv takes an entry past the end as a stop: such an entry is ignored.
    const std::optional<QJsonValue> count = get(QStringLiteral("playlist-count"), deadline);
    const std::optional<bool> isStopped = stopped(deadline);
    if (!count || !isStopped || index >= count->toInteger())
        return;
    if (*isStopped) {
        // Stopped: the entry is selected, and play starts it.
        rememberedEntry_ = index;
        return;
    }
    if (succeeded(QJsonArray{QStringLiteral("set_property"), QStringLiteral("playlist-pos"), index},
                  deadline)) {
        rememberedEntry_ = index;
        pushed_.tookEntry(index);
    }
}

void MpvPlayerLink::setVolume(PlayerWindow window, qint64 volume) {
    if (!reached(window, false))
        return;
    const double percent = double(std::clamp<qint64>(volume, 0, 255)) * 100.0 / 255.0;
    request(QJsonArray{QStringLiteral("set_property"), QStringLiteral("volume"), percent},
            messageDeadline());
}

void MpvPlayerLink::play(PlayerWindow window) {
    if (reached(window, false))
        playFromWhereItIs(messageDeadline());
}

void MpvPlayerLink::pause(PlayerWindow window) {
    if (reached(window, false))
        request(QJsonArray{QStringLiteral("cycle"), QStringLiteral("pause")}, messageDeadline());
}

void MpvPlayerLink::next(PlayerWindow window) {
    if (reached(window, false))
        step(true, messageDeadline());
}

void MpvPlayerLink::previous(PlayerWindow window) {
    if (reached(window, false))
        step(false, messageDeadline());
}

void MpvPlayerLink::askToClose(PlayerWindow window) {
    if (reached(window, false))
        socket_.send(QJsonArray{QStringLiteral("quit")}, messageDeadline());
}

void MpvPlayerLink::step(bool forward, const QDeadlineTimer& deadline) {
    const QString verb =
        forward ? QStringLiteral("playlist-next") : QStringLiteral("playlist-prev");
    if (!succeeded(QJsonArray{verb}, deadline))
        return;
    // The entry question answers the new entry from now on, before mpv pushes it.
    if (const std::optional<QJsonValue> pos = get(QStringLiteral("playlist-pos"), deadline))
        pushed_.tookEntry(pos->toInteger(-1));
}

qint64 MpvPlayerLink::pushedEntry() {
    if (pushed_.entry >= 0)
        rememberedEntry_ = pushed_.entry;
    return qMax<qint64>(rememberedEntry_, 0);
}

void MpvPlayerLink::stop(PlayerWindow window) {
    if (!reached(window, false))
        return;
    const QDeadlineTimer deadline = messageDeadline();
    const std::optional<QJsonValue> pos = get(QStringLiteral("playlist-pos"), deadline);
    if (pos && pos->toInteger(-1) >= 0)
        rememberedEntry_ = pos->toInteger();
    if (!succeeded(QJsonArray{QStringLiteral("stop"), QStringLiteral("keep-playlist")}, deadline))
        return;
    // mpv lets go of the entry a moment after it answers; a play or an entry sent next must find
    // the player stopped, as it would be after the original's stop.
    for (;;) {
        const std::optional<bool> isStopped = stopped(deadline);
        if (isStopped && *isStopped) {
            // No file from now on, whatever mpv pushed before it let go.
            pushed_.tookEntry(-1);
            pushed_.playing = -1;
            pushed_.fileLoaded = false;
            return;
        }
        if (!isStopped || deadline.hasExpired())
            return;
        QThread::msleep(1);
    }
}

std::optional<bool> MpvPlayerLink::stopped(const QDeadlineTimer& deadline) {
    // No current entry (playlist-pos -1) is what "stopped" means here: after a stop (which waits
    // for it), at the end of the list, or when nothing in the list could be played. mpv reports
    // itself idle later still, once the file is unloaded.
    const std::optional<QJsonValue> pos = get(QStringLiteral("playlist-pos"), deadline);
    if (!pos)
        return std::nullopt;
    return pos->toInteger(-1) < 0;
}

bool MpvPlayerLink::switchingEntry(const QDeadlineTimer& deadline) {
    // Right after an entry change mpv already names the new entry while the old file still
    // answers for length and position; those values must not be taken for the new entry's.
    const std::optional<QJsonValue> pos = get(QStringLiteral("playlist-pos"), deadline);
    const std::optional<QJsonValue> playing = get(QStringLiteral("playlist-playing-pos"), deadline);
    return !pos || !playing || pos->toInteger(-1) != playing->toInteger(-1);
}

void MpvPlayerLink::seek(qint64 ms, const QDeadlineTimer& deadline) {
    const QJsonArray seekCommand{QStringLiteral("seek"), double(qMax<qint64>(ms, 0)) / 1000.0,
                                 QStringLiteral("absolute")};
    // Right after an entry change the old file may still be loaded (a seek would go to it) or
    // the new one still opening (mpv refuses the seek); the seek waits for the new file until
    // the time-out ends. A stopped player has nothing to seek.
    for (;;) {
        if (!switchingEntry(deadline)) {
            const std::optional<QJsonObject> answer = request(seekCommand, deadline);
            if (!answer || answer->value(QStringLiteral("error")).toString() == Success)
                return;
        }
        const std::optional<bool> isStopped = stopped(deadline);
        if (!isStopped || *isStopped || deadline.hasExpired())
            return;
        QThread::msleep(5);
    }
}

void MpvPlayerLink::playFromWhereItIs(const QDeadlineTimer& deadline) {
    const std::optional<bool> isStopped = stopped(deadline);
    if (!isStopped)
        return;
    if (*isStopped) {
        const std::optional<QJsonValue> count = get(QStringLiteral("playlist-count"), deadline);
        if (!count || count->toInteger() <= 0)
            return;
        const qint64 entry =
            rememberedEntry_ >= 0 && rememberedEntry_ < count->toInteger() ? rememberedEntry_ : 0;
        if (succeeded(
                QJsonArray{QStringLiteral("set_property"), QStringLiteral("playlist-pos"), entry},
                deadline))
            pushed_.tookEntry(entry);
    }
    request(QJsonArray{QStringLiteral("set_property"), QStringLiteral("pause"), false}, deadline);
}

bool MpvPlayerLink::launch(const QString& program, const QString& target) {
    waitingForStart_ = false;
    if (socketPath_.isEmpty() || target.isEmpty())
        return false;
    const QString absolute = AbsoluteTarget(target);
    if (findWindow() != 0)
        return handOver(absolute, messageDeadline());
    return startPlayer(program, absolute);
}

bool MpvPlayerLink::handOver(const QString& target, const QDeadlineTimer& deadline) {
    // loadlist reads the whole list before it answers, so the entries are there at once.
    const QString verb =
        IsPlaylistFile(target) ? QStringLiteral("loadlist") : QStringLiteral("loadfile");
    const quint64 startedBefore = pushed_.filesStarted;
    if (!succeeded(QJsonArray{verb, target, QStringLiteral("replace")}, deadline))
        return false;
    rememberedEntry_ = -1;
    // The file loaded is on its way out: nothing of it may stand for the new list's entries.
    // A file started while the command was answered is the new list's own (a short local file
    // may be loaded before the answer is read): what it pushed stays.
    if (pushed_.filesStarted == startedBefore) {
        pushed_.fileLoaded = false;
        pushed_.duration.reset();
        pushed_.timePos.reset();
    }
    if (const std::optional<QJsonValue> pos = get(QStringLiteral("playlist-pos"), deadline))
        pushed_.tookEntry(pos->toInteger(-1));
    request(QJsonArray{QStringLiteral("set_property"), QStringLiteral("pause"), false}, deadline);
    return true;
}

bool MpvPlayerLink::startPlayer(const QString& program, const QString& target) {
    const QFileInfo info(program);
    if (program.isEmpty() || !info.isFile() || !info.isExecutable())
        return false;
    // Nobody answered: a socket file left there is stale (a player that was killed).
    const QByteArray path = QFile::encodeName(socketPath_);
    struct stat st {};
    if (::lstat(path.constData(), &st) == 0 && S_ISSOCK(st.st_mode))
        ::unlink(path.constData());
    socket_.close();
    handle_ = 0;
    unanswered_ = 0;
    pushed_ = PlayerPushed{};
    rememberedEntry_ = -1;

    QStringList arguments{QStringLiteral("--input-ipc-server=") + socketPath_,
                          QStringLiteral("--idle=yes"), QStringLiteral("--no-video"),
                          QStringLiteral("--no-terminal"), QStringLiteral("--force-window=no")};
    // The temporary playlist holds local files only; these keep mpv from making more of an
    // entry: no downloader hook for a name that looks like a site's, and every entry opened as
    // a sound file (--demuxer=lavf), so a file holding a list, or a list named as a track, fails
    // as one entry instead of putting its own entries in its place and moving every later
    // entry. (--access-references=no would refuse the --playlist itself; mpv 0.35 has no
    // option that leaves folders alone, which Tarl never lists.)
    arguments << QStringLiteral("--ytdl=no") << QStringLiteral("--demuxer=lavf")
              << QStringLiteral("--load-unsafe-playlists=no");
    // No script of the user's or the system's runs in it: a desktop-widget plug-in would show
    // the desktop a second player beside Tarl's own.
    arguments << QStringLiteral("--load-scripts=no");
    arguments += options_.extraArguments;
    // A list given as --playlist is read before the socket answers, entry n being line n; given
    // as a plain file it would be one entry until the player opened it.
    if (IsPlaylistFile(target))
        arguments << QStringLiteral("--playlist=") + target;
    else
        arguments << QStringLiteral("--") << target;
    qint64 pid = 0;
    if (!QProcess::startDetached(program, arguments, QString(), &pid))
        return false;
    startedPid_ = pid;
    waitingForStart_ = true;
    return true;
}

bool MpvPlayerLink::isStartedPlayer(qint64 pid) const {
    if (pid <= 0 || ProcessEnded(pid))
        return false;
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!cmdline.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> arguments = cmdline.readAll().split('\0');
    return arguments.contains(
        QFile::encodeName(QStringLiteral("--input-ipc-server=") + socketPath_));
}

void MpvPlayerLink::endStartedPlayer() {
    const qint64 pid = startedPid_;
    startedPid_ = 0;
    waitingForStart_ = false;
    if (!isStartedPlayer(pid))
        return;
    const auto endsWithin = [pid](int ms) {
        const QDeadlineTimer deadline(ms);
        while (!ProcessEnded(pid)) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(10);
        }
        return true;
    };
    // Asked first, so it ends as it would from its own window; a player whose socket is not up
    // yet, or that does not answer, is ended by its process id.
    if (findWindow() == pid)
        socket_.send(QJsonArray{QStringLiteral("quit")}, messageDeadline());
    if (endsWithin(1000) || !isStartedPlayer(pid))
        return;
    ::kill(pid_t(pid), SIGTERM);
    if (endsWithin(1000) || !isStartedPlayer(pid))
        return;
    ::kill(pid_t(pid), SIGKILL);
}

bool MpvPlayerLink::begunList() {
    // mpv answers on its socket a moment before it takes the first entry of its list; an entry
    // chosen then would be overridden by entry 0. Once an entry is current (or the player went
    // idle, having found nothing it could play) the list is the player's.
    if (!pushed_.allReported() || pushed_.count <= 0)
        return false;
    return pushed_.entry >= 0 || pushed_.idle;
}

PlayerWindow MpvPlayerLink::waitForWindow(int timeoutMs) {
    if (!waitingForStart_)
        return findWindow();
    const QDeadlineTimer deadline(qMax(timeoutMs, 0));
    for (;;) {
        if (const PlayerWindow window = findWindow(); window != 0 && begunList()) {
            waitingForStart_ = false;
            return window;
        }
        if (deadline.hasExpired() || (startedPid_ != 0 && ProcessEnded(startedPid_))) {
            waitingForStart_ = false;
            return findWindow();
        }
        QThread::msleep(15);
    }
}

} // namespace tarl
