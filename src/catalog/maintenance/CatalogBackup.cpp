#include "catalog/maintenance/CatalogBackup.h"

#include "catalog/engine/Connection.h"
#include "catalog/engine/EngineFile.h"
#include "catalog/engine/NewFile.h"
#include "catalog/engine/Schema.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace tarl {

namespace {

// 128 pages of 4 KiB: a step takes a few milliseconds, so the caller repaints often enough.
constexpr int kPagesPerStep = 128;
// Another program's write holds the copy back; it waits as long as the catalog's busy timeout.
constexpr int kBusyPauseMs = 10;
constexpr int kBusyLimitMs = 5000;

QString WriteFailure(const QString& destination, int code, const QString& engine) {
    switch (code & 0xff) {
    case SQLITE_FULL:
        return QStringLiteral("The backup %1 could not be written: the disc is full.")
            .arg(destination);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("The backup %1 could not be made: another program kept the catalog "
                              "busy.")
            .arg(destination);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("The backup %1 could not be made: the catalog is damaged (%2).")
            .arg(destination, engine);
    default:
        return QStringLiteral("The backup %1 could not be written: %2.").arg(destination, engine);
    }
}

void RemoveWithCompanions(const QString& path) {
    QFile::remove(path);
    for (const QString& companion : CompanionFiles(path))
        QFile::remove(companion);
}

// The rename that puts a copy in place is on the disc once its folder is.
void SyncFolder(const QString& file) {
    const int folder =
        ::open(QFile::encodeName(QFileInfo(file).absolutePath()).constData(), O_RDONLY);
    if (folder < 0)
        return;
    ::fsync(folder);
    ::close(folder);
}

// Renames `from` over `to`: at once, so `to` is the old file or the new one, never a part. A
// link at `to` is replaced itself; its target is never written.
Result<> RenameOver(const QString& from, const QString& to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return {};
    return Result<>::failed(QString::fromLocal8Bit(std::strerror(errno)));
}

// Moves an older copy one generation down. One that is gone was moved by another program's
// rotation running at the same time.
Result<> MoveDown(const QString& older, const QString& next) {
    if (std::rename(QFile::encodeName(older).constData(), QFile::encodeName(next).constData()) ==
            0 ||
        errno == ENOENT)
        return {};
    return Result<>::failed(QStringLiteral("The backup %1 could not be moved to %2: %3.")
                                .arg(older, next, QString::fromLocal8Bit(std::strerror(errno))));
}

Result<> CopyPages(sqlite3* source, sqlite3* copy, const QString& shown,
                   const BackupProgress& progress) {
    sqlite3_backup* backup = sqlite3_backup_init(copy, "main", source, "main");
    if (!backup)
        return Result<>::failed(
            WriteFailure(shown, sqlite3_extended_errcode(copy), EngineMessage(copy)));
    int rc = SQLITE_OK;
    int waitedMs = 0;
    while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
        rc = sqlite3_backup_step(backup, kPagesPerStep);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            if (waitedMs >= kBusyLimitMs)
                break;
            sqlite3_sleep(kBusyPauseMs);
            waitedMs += kBusyPauseMs;
            continue;
        }
        if (progress && (rc == SQLITE_OK || rc == SQLITE_DONE)) {
            const int count = sqlite3_backup_pagecount(backup);
            progress(count - sqlite3_backup_remaining(backup), count);
        }
    }
    const int finished = sqlite3_backup_finish(backup);
    if (rc == SQLITE_DONE && finished == SQLITE_OK)
        return {};
    return Result<>::failed(
        WriteFailure(shown, rc != SQLITE_DONE ? rc : finished, EngineMessage(copy)));
}

// Writes the whole of `source` into the file `file`, which is removed again on failure.
Result<> CopyInto(sqlite3* source, const QString& file, const QString& shown,
                  const BackupProgress& progress) {
    EngineFile copy;
    // A file that could not be made new is not ours to remove.
    if (const Result<> made = copy.create(file); !made) {
        return Result<>::failed(
            QStringLiteral("The backup %1 could not be written: the folder %2 cannot be written "
                           "(%3).")
                .arg(shown, QFileInfo(file).absolutePath(), made.error));
    }
    Result<> copied = CopyPages(source, copy.handle(), shown, progress);
    QString why;
    // The source's header says "written ahead"; a copy is one self-contained file.
    if (copied) {
        const int rc = copy.run("PRAGMA journal_mode = DELETE", &why);
        if (rc != SQLITE_OK)
            copied = Result<>::failed(WriteFailure(shown, rc, why));
    }
    const Result<> closed = copy.close();
    if (copied && !closed)
        copied = Result<>::failed(WriteFailure(shown, SQLITE_IOERR, closed.error));
    if (!copied)
        RemoveWithCompanions(file);
    return copied;
}

// Puts the complete copy `partial` in place of `destination`.
Result<> PutInPlace(const QString& partial, const QString& destination) {
    // A log or journal of the file replaced would be played into the copy when it is opened.
    for (const QString& companion : CompanionFiles(destination))
        QFile::remove(companion);
    const Result<> renamed = RenameOver(partial, destination);
    if (!renamed) {
        RemoveWithCompanions(partial);
        return Result<>::failed(QStringLiteral("The backup %1 could not be put in place: %2.")
                                    .arg(destination, renamed.error));
    }
    SyncFolder(destination);
    return {};
}

// The file holds the tables of a catalog: an earlier backup, which a new one may replace. It is
// only read, so a file that is something else is left as it is.
bool HoldsCatalogTables(const QString& file) {
    EngineFile existing;
    if (!existing.openForReading(file))
        return false;
    for (const QString& table : Schema::TableNames()) {
        const QByteArray statement =
            QStringLiteral("SELECT 1 FROM \"%1\" LIMIT 0").arg(table).toUtf8();
        if (existing.run(statement.constData(), nullptr) != SQLITE_OK)
            return false;
    }
    return true;
}

Result<> BackupTo(sqlite3* source, const QString& catalog, const QString& destination,
                  ExistingFile existing, const BackupProgress& progress) {
    if (destination.isEmpty())
        return Result<>::failed(QStringLiteral("No name was given for the backup."));
    if (IsSameFile(catalog, destination))
        return Result<>::failed(
            QStringLiteral("The catalog %1 cannot be backed up onto itself.").arg(catalog));
    const QFileInfo there(destination);
    if (existing == ExistingFile::KeepUnlessCatalog && (there.exists() || there.isSymLink()) &&
        !HoldsCatalogTables(destination))
        return Result<>::failed(QStringLiteral("The file %1 already exists and is not a Tarl "
                                               "catalog, so it was left as it is; with --force it "
                                               "is replaced by the backup.")
                                    .arg(destination));
    RemoveLeftoverPartials(destination);
    const QString partial = PartialName(destination);
    if (const Result<> copied = CopyInto(source, partial, destination, progress); !copied)
        return copied;
    return PutInPlace(partial, destination);
}

Result<QString> Rotate(sqlite3* source, const QString& catalog, const BackupProgress& progress) {
    const QString newest = BackupFileName(catalog, 1);
    RemoveLeftoverPartials(newest);
    const QString partial = PartialName(newest);
    // Copied first: a copy that fails leaves every older one where it was.
    if (const Result<> copied = CopyInto(source, partial, newest, progress); !copied)
        return Result<QString>::failed(copied.error);
    // Nothing new since the newest copy (an import that stopped before it wrote, say): it stays
    // the newest, and the older ones are not pushed out by copies of the same state.
    // (Never read when it is the catalog itself, under another name: a descriptor of ours on the
    // catalog would drop this program's locks on it once closed.)
    if (!IsSameFile(newest, catalog) && SameBytes(partial, newest)) {
        RemoveWithCompanions(partial);
        return newest;
    }
    for (int generation = kBackupGenerations - 1; generation >= 1; --generation) {
        const QString older = BackupFileName(catalog, generation);
        if (!QFileInfo::exists(older) && !QFileInfo(older).isSymLink())
            continue;
        if (const Result<> moved = MoveDown(older, BackupFileName(catalog, generation + 1));
            !moved) {
            RemoveWithCompanions(partial);
            return Result<QString>::failed(moved.error);
        }
    }
    if (const Result<> placed = PutInPlace(partial, newest); !placed)
        return Result<QString>::failed(placed.error);
    return newest;
}

Result<sqlite3*> OpenSource(Connection& catalog) {
    if (catalog.state() == 0 || !catalog.handle())
        return Result<sqlite3*>::failed(
            QStringLiteral("The catalog cannot be backed up: it is not open."));
    return catalog.handle();
}

} // namespace

QString BackupFileName(const QString& catalog, int generation) {
    return catalog + QStringLiteral(".bak%1").arg(generation);
}

QString NewestBackup(const QString& catalog) {
    for (int generation = 1; generation <= kBackupGenerations; ++generation) {
        const QString file = BackupFileName(catalog, generation);
        if (QFileInfo(file).isFile())
            return file;
    }
    return {};
}

Result<> BackupCatalog(Connection& catalog, const QString& destination, ExistingFile existing,
                       const BackupProgress& progress) {
    const Result<sqlite3*> source = OpenSource(catalog);
    if (!source)
        return Result<>::failed(source.error);
    return BackupTo(source.value, catalog.fileName(), destination, existing, progress);
}

Result<> BackupCatalogFile(const QString& catalog, const QString& destination,
                           ExistingFile existing, const BackupProgress& progress) {
    EngineFile source;
    if (const Result<> opened = source.openExisting(catalog); !opened)
        return Result<>::failed(
            QStringLiteral("The catalog cannot be backed up: %1").arg(opened.error));
    return BackupTo(source.handle(), catalog, destination, existing, progress);
}

Result<QString> RotateBackups(Connection& catalog, const BackupProgress& progress) {
    // A server keeps its own copies (its administrator's pg_dump or archive); none beside it here.
    if (catalog.engine() == CatalogEngine::Postgres)
        return QString();
    const Result<sqlite3*> source = OpenSource(catalog);
    if (!source)
        return Result<QString>::failed(source.error);
    return Rotate(source.value, catalog.fileName(), progress);
}

Result<QString> RotateBackupsOfFile(const QString& catalog, const BackupProgress& progress) {
    EngineFile source;
    if (const Result<> opened = source.openExisting(catalog); !opened)
        return Result<QString>::failed(
            QStringLiteral("The catalog cannot be backed up: %1").arg(opened.error));
    return Rotate(source.handle(), catalog, progress);
}

} // namespace tarl
