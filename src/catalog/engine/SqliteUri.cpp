#include "catalog/engine/SqliteUri.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace tarl {

QString SqliteUri(const QString& path, const QString& mode) {
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QByteArray encoded = QUrl::toPercentEncoding(absolute, "/");
    return QStringLiteral("file:") + QString::fromLatin1(encoded) + QStringLiteral("?mode=") + mode;
}

} // namespace tarl
