#include "mpris/MprisAdaptors.h"

#include "mpris/MprisService.h"
#include "mpris/MprisValues.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QMetaObject>
#include <algorithm>
#include <cmath>

namespace tarl {

MprisRootAdaptor::MprisRootAdaptor(MprisService& service)
    : QDBusAbstractAdaptor(&service), service_(service) {}

QString MprisRootAdaptor::identity() const {
    return QStringLiteral("Tarl");
}

QString MprisRootAdaptor::desktopEntry() const {
    return QStringLiteral("tarl");
}

QStringList MprisRootAdaptor::supportedUriSchemes() const {
    return {QStringLiteral("file")};
}

QStringList MprisRootAdaptor::supportedMimeTypes() const {
    return SupportedMimeTypes();
}

void MprisRootAdaptor::Raise() {
    service_.controls_.raise();
}

void MprisRootAdaptor::Quit() {
    // Queued, so the caller has its answer before the window starts closing.
    QMetaObject::invokeMethod(
        this, [this] { service_.controls_.quit(); }, Qt::QueuedConnection);
}

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService& service)
    : QDBusAbstractAdaptor(&service), service_(service) {}

QString MprisPlayerAdaptor::playbackStatus() const {
    return PlaybackStatusText(service_.controls_.status().playback);
}

QString MprisPlayerAdaptor::loopStatus() const {
    return LoopStatusText(service_.controls_.status().loop);
}

void MprisPlayerAdaptor::setLoopStatus(const QString& text) {
    const std::optional<LoopMode> mode = LoopModeOf(text);
    if (!mode)
        return;
    service_.controls_.setLoop(*mode);
    service_.refresh();
}

bool MprisPlayerAdaptor::shuffle() const {
    return service_.controls_.status().shuffle;
}

void MprisPlayerAdaptor::setShuffle(bool on) {
    service_.controls_.setShuffle(on);
    service_.refresh();
}

QVariantMap MprisPlayerAdaptor::metadata() const {
    return MetadataOf(service_.controls_.status().track);
}

double MprisPlayerAdaptor::volume() const {
    return service_.controls_.status().volume;
}

void MprisPlayerAdaptor::setVolume(double volume) {
    if (std::isnan(volume))
        return;
    service_.controls_.setVolume(std::clamp(volume, 0.0, 1.0));
    service_.refresh();
}

qlonglong MprisPlayerAdaptor::position() const {
    return service_.controls_.status().positionUs;
}

bool MprisPlayerAdaptor::canGoNext() const {
    return service_.controls_.status().canGoNext;
}

bool MprisPlayerAdaptor::canGoPrevious() const {
    return service_.controls_.status().canGoPrevious;
}

bool MprisPlayerAdaptor::canPlay() const {
    return service_.controls_.status().canPlay;
}

bool MprisPlayerAdaptor::canPause() const {
    return service_.controls_.status().canPause;
}

bool MprisPlayerAdaptor::canSeek() const {
    return service_.controls_.status().canSeek;
}

void MprisPlayerAdaptor::Next() {
    if (canGoNext())
        service_.controls_.next();
}

void MprisPlayerAdaptor::Previous() {
    if (canGoPrevious())
        service_.controls_.previous();
}

void MprisPlayerAdaptor::Pause() {
    if (canPause())
        service_.controls_.pause();
}

void MprisPlayerAdaptor::PlayPause() {
    const MediaStatus status = service_.controls_.status();
    if (status.playback == Playback::Playing ? status.canPause : status.canPlay)
        service_.controls_.playPause();
}

void MprisPlayerAdaptor::Stop() {
    service_.controls_.stop();
}

void MprisPlayerAdaptor::Play() {
    if (canPlay())
        service_.controls_.play();
}

void MprisPlayerAdaptor::Seek(qlonglong offset) {
    const MediaStatus status = service_.controls_.status();
    if (!status.canSeek || status.track.entry < 0)
        return;
    service_.controls_.seekBy(offset);
    service_.announce(true);
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& trackId, qlonglong position) {
    const MediaStatus status = service_.controls_.status();
    // A desktop that asks for the track it last heard of may be a track late.
    if (!status.canSeek || status.track.entry < 0 || trackId != TrackIdOf(status.track))
        return;
    if (position < 0 || (status.track.lengthUs > 0 && position > status.track.lengthUs))
        return;
    service_.controls_.setPosition(position);
    service_.announce(true);
}

void MprisPlayerAdaptor::OpenUri(const QString& uri, const QDBusMessage& message) {
    const Result<QString> file = LocalSoundFileOf(uri);
    if (!file) {
        message.setDelayedReply(true);
        service_.bus_.send(message.createErrorReply(QDBusError::InvalidArgs, file.error));
        return;
    }
    service_.controls_.openUri(file.value);
}

} // namespace tarl
