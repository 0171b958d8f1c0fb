#include "platform/VolumeLabel.h"

#include "text/HexDigit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <blkid/blkid.h>
#include <memory>

namespace tarl {

namespace {

struct ProbeDeleter {
    void operator()(blkid_struct_probe* probe) const { blkid_free_probe(probe); }
};

} // namespace

QString ReadVolumeLabel(const QString& deviceOrImageFile) {
    if (deviceOrImageFile.isEmpty())
        return {};
    const QByteArray name = QFile::encodeName(deviceOrImageFile);
    std::unique_ptr<blkid_struct_probe, ProbeDeleter> probe(
        blkid_new_probe_from_filename(name.constData()));
    if (!probe)
        return {};
    blkid_probe_enable_superblocks(probe.get(), 1);
    blkid_probe_set_superblocks_flags(probe.get(), BLKID_SUBLKS_LABEL);
    // 0 is one file system found; 1 nothing, -2 ambiguous, -1 error.
    if (blkid_do_safeprobe(probe.get()) != 0)
        return {};
    const char* label = nullptr;
    size_t length = 0;
    if (blkid_probe_lookup_value(probe.get(), "LABEL", &label, &length) != 0 || !label)
        return {};
    // The length counts the terminating NUL.
    return QString::fromUtf8(label, static_cast<qsizetype>(qstrnlen(label, length)));
}

QString DecodeUdevName(const QString& linkName) {
    QByteArray out;
    const QByteArray utf8 = linkName.toUtf8();
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\\' && i + 3 < utf8.size() && utf8[i + 1] == 'x') {
            const int high = HexDigitValue(utf8[i + 2]);
            const int low = HexDigitValue(utf8[i + 3]);
            if (high >= 0 && low >= 0) {
                out.append(static_cast<char>(high * 16 + low));
                i += 3;
                continue;
            }
        }
        out.append(utf8[i]);
    }
    return QString::fromUtf8(out);
}

QString ReadVolumeLabelFromLinks(const QString& device, const QString& byLabelFolder) {
    const QString target = QFileInfo(device).canonicalFilePath();
    if (target.isEmpty())
        return {};
    const QDir folder(byLabelFolder);
    const QStringList links = folder.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    for (const QString& link : links) {
        if (QFileInfo(folder.filePath(link)).canonicalFilePath() == target)
            return DecodeUdevName(link);
    }
    return {};
}

} // namespace tarl
