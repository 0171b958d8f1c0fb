#include "support/WavFile.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>
#include <cmath>
#include <numbers>

namespace tarl::test {

namespace {

constexpr quint32 SampleRate = 8000;
constexpr quint16 BytesPerSample = 2;

void Append32(QByteArray& out, quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void Append16(QByteArray& out, quint16 value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

} // namespace

bool WriteWav(const QString& path, double seconds, double toneHz) {
    const quint32 samples = seconds > 0 ? quint32(std::lround(seconds * SampleRate)) : 0;
    const quint32 dataBytes = samples * BytesPerSample;

    QByteArray out;
    out.reserve(int(44 + dataBytes));
    out.append("RIFF");
    Append32(out, 36 + dataBytes);
    out.append("WAVEfmt ");
    Append32(out, 16);
    Append16(out, 1); // PCM
    Append16(out, 1); // mono
    Append32(out, SampleRate);
    Append32(out, SampleRate * BytesPerSample);
    Append16(out, BytesPerSample);
    Append16(out, 16);
    out.append("data");
    Append32(out, dataBytes);
    for (quint32 i = 0; i < samples; ++i) {
        const double value =
            toneHz > 0 ? 8000 * std::sin(2 * std::numbers::pi * toneHz * i / SampleRate) : 0;
        Append16(out, quint16(qint16(std::lround(value))));
    }

    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(out);
    return file.commit();
}

} // namespace tarl::test
