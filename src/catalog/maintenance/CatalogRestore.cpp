#include "catalog/maintenance/CatalogRestore.h"

#include "catalog/engine/EngineFile.h"
#include "catalog/engine/NewFile.h"
#include "catalog/maintenance/CatalogCheck.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tarl {

namespace {

bool Rename(const QString& from, const QString& to, QString* why) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    *why = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

bool AnyExists(const QString& file) {
    if (QFileInfo::exists(file))
        return true;
    for (const QString& companion : CompanionFiles(file)) {
        if (QFileInfo::exists(companion))
            return true;
    }
    return false;
}

QString FreeName(const QString& file, const QString& suffix) {
    const QString base = file + QLatin1Char('.') + suffix;
    QString name = base;
    for (int n = 2; AnyExists(name); ++n)
        name = base + QString::number(n);
    return name;
}

} // namespace

Result<QString> SetCatalogAside(const QString& file, const QString& suffix) {
    const QString aside = FreeName(file, suffix);
    const QStringList from = CompanionFiles(file) << file;
    const QStringList to = CompanionFiles(aside) << aside;
    for (qsizetype i = 0; i < from.size(); ++i) {
        QString why;
        if (QFileInfo::exists(from.at(i)) && !Rename(from.at(i), to.at(i), &why))
            return Result<QString>::failed(QStringLiteral("The file %1 could not be renamed to "
                                                          "%2: %3.")
                                               .arg(from.at(i), to.at(i), why));
    }
    return aside;
}

Result<QString> RestoreCatalog(const QString& backup, const QString& catalog,
                               const QString& keepSuffix, const BackupProgress& progress) {
    const auto fail = [&catalog](const QString& why) {
        return Result<QString>::failed(
            QStringLiteral("The catalog %1 was not restored: %2").arg(catalog, why));
    };
    const QString canonical = QFileInfo(backup).canonicalFilePath();
    if (!canonical.isEmpty() && canonical == QFileInfo(catalog).canonicalFilePath())
        return fail(QStringLiteral("the backup and the catalog are the same file."));
    const Result<QStringList> problems = CheckCatalog(backup, CheckDepth::Full);
    if (!problems)
        return fail(problems.error);
    if (!problems.value.isEmpty())
        return fail(QStringLiteral("the backup %1 is not a sound catalog: %2")
                        .arg(backup, problems.value.first()));

    // Held alone from here to the swap: a program that has the catalog open would go on writing
    // into the file set aside, and one that opens it meanwhile waits.
    EngineFile held;
    if (AnyExists(catalog)) {
        if (const Result<> opened = held.openExisting(catalog); !opened)
            return fail(opened.error);
        if (const Result<> alone = held.holdAlone(); !alone)
            return fail(QStringLiteral("%1.").arg(alone.error));
    }
    // Beside the catalog, so the last step is a rename within one folder.
    const QString restored = PartialName(catalog);
    if (const Result<> copied =
            BackupCatalogFile(backup, restored, ExistingFile::Replace, progress);
        !copied)
        return fail(copied.error);
    QString keptAs;
    if (AnyExists(catalog)) {
        const Result<QString> aside = SetCatalogAside(catalog, keepSuffix);
        if (!aside) {
            QFile::remove(restored);
            return fail(aside.error);
        }
        keptAs = aside.value;
    }
    QString why;
    if (!Rename(restored, catalog, &why)) {
        QFile::remove(restored);
        return fail(QStringLiteral("the copy could not be renamed to the catalog's name (%1); the "
                                   "catalog it replaces is kept as %2.")
                        .arg(why, keptAs));
    }
    return keptAs;
}

} // namespace tarl
