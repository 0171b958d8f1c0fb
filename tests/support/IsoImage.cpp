#include "support/IsoImage.h"

#include <QProcess>
#include <QStandardPaths>

namespace tarl::test {

bool HaveXorriso() {
    return !QStandardPaths::findExecutable(QStringLiteral("xorriso")).isEmpty();
}

bool MakeIsoImage(const QString& sourceFolder, const QString& label, const QString& imageFile,
                  QString* error) {
    QProcess xorriso;
    xorriso.start(QStringLiteral("xorriso"),
                  {"-as", "mkisofs", "-quiet", "-V", label, "-o", imageFile, sourceFolder});
    const bool finished = xorriso.waitForFinished(60000);
    if (finished && xorriso.exitStatus() == QProcess::NormalExit && xorriso.exitCode() == 0)
        return true;
    if (error)
        *error =
            xorriso.errorString() + ": " + QString::fromLocal8Bit(xorriso.readAllStandardError());
    return false;
}

} // namespace tarl::test
