#include "BackupCommands.h"

#include "Command.h"
#include "ProgressBar.h"
#include "catalog/engine/CatalogAddress.h"
#include "catalog/engine/EngineFile.h"
#include "catalog/engine/ForeignSchema.h"
#include "catalog/maintenance/CatalogBackup.h"
#include "catalog/maintenance/CatalogCheck.h"
#include "catalog/maintenance/CatalogRestore.h"

#include <QFileInfo>
#include <algorithm>
#include <sqlite3.h>

namespace tarl::tool {

namespace {

int Failed(const char* command, const QString& why, QTextStream& err) {
    err << "tarl-catalog " << command << ": " << why << "\n";
    return kFailure;
}

bool IsOption(const QString& argument) {
    return argument.startsWith(u'-');
}

} // namespace

int RunBackup(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QStringList files = arguments;
    const bool force = files.removeAll(QStringLiteral("--force")) > 0;
    if (files.isEmpty() || files.size() > 2 || std::any_of(files.begin(), files.end(), IsOption) ||
        (force && files.size() < 2)) {
        err << "Usage: tarl-catalog backup CATALOG [DEST [--force]]\n";
        return kBadUsage;
    }
    const QString& catalog = files.at(0);
    ProgressBar bar(QStringLiteral("pages"));
    const BackupProgress progress = [&bar](int copied, int count) { bar.update(count, copied); };
    QString written = files.value(1);
    Result<> made;
    if (written.isEmpty()) {
        const Result<QString> rotated = RotateBackupsOfFile(catalog, progress);
        made = rotated ? Result<>{} : Result<>::failed(rotated.error);
        written = rotated.value;
    } else {
        made = BackupCatalogFile(catalog, written,
                                 force ? ExistingFile::Replace : ExistingFile::KeepUnlessCatalog,
                                 progress);
    }
    bar.finish();
    if (!made)
        return Failed("backup", made.error, err);
    out << "Backed up " << catalog << " to " << written << "\n";
    return kSuccess;
}

int RunRestore(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QStringList files = arguments;
    const bool force = files.removeAll(QStringLiteral("--force")) > 0;
    if (files.size() != 2 || std::any_of(files.begin(), files.end(), IsOption)) {
        err << "Usage: tarl-catalog restore BACKUP CATALOG [--force]\n";
        return kBadUsage;
    }
    const QString& backup = files.at(0);
    const QString& catalog = files.at(1);
    for (const QString& named : files) {
        if (IsServerAddress(named))
            return Failed("restore", ServerCatalogIsNotAFile(named), err);
    }
    if (QFileInfo::exists(catalog) && !force)
        return Failed("restore",
                      QStringLiteral("The catalog %1 already exists and was left as it is; with "
                                     "--force it is replaced and kept as %1.replaced.")
                          .arg(catalog),
                      err);
    ProgressBar bar(QStringLiteral("pages"));
    const Result<QString> restored =
        RestoreCatalog(backup, catalog, QStringLiteral("replaced"),
                       [&bar](int copied, int count) { bar.update(count, copied); });
    bar.finish();
    if (!restored)
        return Failed("restore", restored.error, err);
    out << "Restored " << catalog << " from " << backup << "\n";
    if (!restored.value.isEmpty())
        out << "The catalog it replaced is kept as " << restored.value << "\n";
    return kSuccess;
}

namespace {

// Removes what of the catalog's schema is not Tarl's own, after a backup of the catalog as it
// was; says what it removed.
int StripForeign(const QString& catalog, QTextStream& out, QTextStream& err) {
    const Result<QString> kept = RotateBackupsOfFile(catalog);
    if (!kept)
        return Failed("check", kept.error + QStringLiteral(" Nothing was removed."), err);
    EngineFile file;
    if (const Result<> opened = file.openExisting(catalog); !opened)
        return Failed("check", opened.error, err);
    sqlite3_busy_timeout(file.handle(), 5000);
    const Result<QStringList> dropped = DropForeignSchemaObjects(file.handle());
    if (!dropped)
        return Failed("check", dropped.error, err);
    for (const QString& object : dropped.value)
        out << "Removed " << object << "\n";
    if (!dropped.value.isEmpty())
        out << "The catalog as it was is kept as " << kept.value << "\n";
    return kSuccess;
}

} // namespace

int RunCheck(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QStringList files = arguments;
    const bool strip = files.removeAll(QStringLiteral("--strip-foreign")) > 0;
    if (files.size() != 1 || IsOption(files.first())) {
        err << "Usage: tarl-catalog check [--strip-foreign] CATALOG\n";
        return kBadUsage;
    }
    if (strip) {
        if (const int stripped = StripForeign(files.first(), out, err); stripped != kSuccess)
            return stripped;
    }
    const Result<QStringList> problems = CheckCatalog(files.first(), CheckDepth::Full);
    if (!problems)
        return Failed("check", problems.error, err);
    if (problems.value.isEmpty()) {
        out << "ok\n";
        return kSuccess;
    }
    for (const QString& problem : problems.value)
        out << problem << "\n";
    return kFailure;
}

} // namespace tarl::tool
