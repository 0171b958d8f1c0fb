#include "catalog/ImportStatements.h"

#include "catalog/engine/BoundQuery.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/FirstRow.h"
#include "catalog/engine/ServerCatalog.h"
#include "catalog/engine/StatementFailure.h"
#include "text/PathText.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <iterator>
#include <utility>

#include <sqlite3.h>

namespace tarl {

namespace {

// The literal statements with their values as parameters, in the order of ImportStatements::Which:
// the folder node's volume look-ups and inserts (the import's own), FindVolumeId with a label and
// without, FindListIdOnVolume (which also answers whether a list is there: the same three
// columns), the list's insert, AddFolderTrack's and AddPlaylistTracks' look-up and inserts. A disc
// name (the label) compares without regard to case, as the literal statements compare it.
const char* const kStatements[] = {
    "SELECT id, name From CD WHERE (((name)=?))",
    "SELECT id, name,label From CD WHERE (((name)=?) AND ((label)=? COLLATE UNICODE_NOCASE))",
    "SELECT id, name From CD WHERE (((CD.name)=?))",
    "INSERT INTO CD (name,m3us,label,isCd) VALUES (?,?,?,'0')",
    "INSERT INTO CD (name,m3us,label,IsCd,labelcd) VALUES (?,?,?,'1',?)",
    "SELECT id, path, file, cd_id From m3u WHERE (((path)=?) AND ((file)=?) AND ((cd_id)=?))",
    "INSERT INTO m3u (path,file,cd_id,mp3s) VALUES (?,?,?,?)",
    "SELECT m3u_id, path, file FROM Mp3 WHERE (((m3u_id)=? ) AND ((path)=?) AND ((file)=?))",
    ("INSERT INTO Mp3 (path,file,m3u_id,title,artist,album,year,genre,comments,size,time) "
     "VALUES (?,?,?,?,?,?,?,?,?,?,?)"),
    "INSERT INTO Mp3 (path,file,m3u_id) VALUES (?,?,?)",
};
static_assert(std::size(kStatements) == 10);

// What a server adds to each, so that it finds the row the file's engine finds first through its
// index (CatalogFind.cpp): volumes of a name by label, then id; the list of a path, file and
// volume by id.
const char* const kServerOrder[] = {
    "", kServerVolumeOrder, kServerVolumeOrder, "", "", " ORDER BY id", "", "", "", "",
};
static_assert(std::size(kServerOrder) == std::size(kStatements));

// SqlTextValue without a copy for the usual text, which holds neither a NUL nor a surrogate.
QString StoredText(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() == 0 || c.isSurrogate())
            return SqlTextValue(text);
    return text;
}

} // namespace

ImportStatements::ImportStatements(Connection& connection) : connection_(connection) {}

ImportStatements::~ImportStatements() {
    for (sqlite3_stmt* prepared : statements_)
        sqlite3_finalize(prepared);
}

bool ImportStatements::fail(const char* what) {
    sqlite3* handle = connection_.handle();
    if (!handle) {
        connection_.setLastError(QStringLiteral("The catalog is not open."));
        return false;
    }
    connection_.setLastError(DescribeStatementFailure(
        sqlite3_errcode(handle) & 0xff, connection_.fileName(),
        QString::fromUtf8(sqlite3_errmsg(handle)), QString::fromUtf8(what)));
    return false;
}

sqlite3_stmt* ImportStatements::statement(Which which) {
    if (statements_[which])
        return statements_[which];
    sqlite3* handle = connection_.handle();
    if (!handle) {
        fail(kStatements[which]);
        return nullptr;
    }
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v3(handle, kStatements[which], -1, SQLITE_PREPARE_PERSISTENT, &prepared,
                           nullptr) != SQLITE_OK) {
        sqlite3_finalize(prepared);
        fail(kStatements[which]);
        return nullptr;
    }
    statements_[which] = prepared;
    return prepared;
}

bool ImportStatements::runOnServer(Which which, const Bound* values, int count, bool* row,
                                   qint64* first) {
    std::unique_ptr<QSqlQuery>& query = serverStatements_[which];
    if (!query) {
        query = std::make_unique<QSqlQuery>(
            QSqlDatabase::database(connection_.qtConnectionName(), false));
        if (!query->prepare(QString::fromLatin1(kStatements[which]) +
                            QString::fromLatin1(kServerOrder[which]))) {
            failOnServer(*query, kStatements[which]);
            query.reset();
            return false;
        }
    }
    for (int i = 0; i < count; ++i) {
        const Bound& value = values[i];
        if (value.isNull)
            query->bindValue(i, QVariant(QMetaType::fromType<qint64>()));
        else if (value.isText) // a null text is the empty text, as the file's binding has it
            query->bindValue(i, value.text.isNull() ? QStringLiteral("") : value.text);
        else
            query->bindValue(i, value.number);
    }
    const bool ok = query->exec();
    // Read before finish(), which lets the result go. A trigger's rows are not in it.
    changes_ = ok ? std::max(0, query->numRowsAffected()) : 0;
    const bool found = ok && query->next();
    if (row)
        *row = found;
    if (first)
        *first = found ? query->value(0).toLongLong() : 0;
    if (!ok)
        failOnServer(*query, kStatements[which]);
    query->finish();
    return ok;
}

bool ImportStatements::failOnServer(const QSqlQuery& query, const char* what) {
    const QSqlError error = query.lastError();
    connection_.setLastError(DescribeStatementFailure(ServerFailureKind(error.nativeErrorCode()),
                                                      connection_.fileName(), ServerMessage(error),
                                                      QString::fromUtf8(what)));
    return false;
}

bool ImportStatements::run(Which which, const Bound* values, int count, bool* row, qint64* first) {
    if (connection_.engine() == CatalogEngine::Postgres)
        return runOnServer(which, values, count, row, first);
    sqlite3_stmt* prepared = statement(which);
    if (!prepared)
        return false;
    Q_ASSERT(count <= static_cast<int>(utf8_.size()));
    for (int i = 0; i < count; ++i) {
        const Bound& value = values[i];
        int rc = SQLITE_OK;
        if (value.isNull) {
            rc = sqlite3_bind_null(prepared, i + 1);
        } else if (value.isText) {
            // The catalog stores UTF-8: the text is encoded into a buffer kept for its parameter
            // (the engine would otherwise convert from UTF-16 into memory of its own each time).
            QByteArray& buffer = utf8_[static_cast<size_t>(i)];
            const qsizetype needed = utf8Encoder_.requiredSpace(value.text.size());
            if (buffer.size() < needed)
                buffer.resize(needed);
            const char* end = utf8Encoder_.appendToBuffer(buffer.data(), value.text);
            rc = sqlite3_bind_text(prepared, i + 1, buffer.constData(),
                                   static_cast<int>(end - buffer.constData()), SQLITE_STATIC);
        } else {
            rc = sqlite3_bind_int64(prepared, i + 1, value.number);
        }
        if (rc != SQLITE_OK) {
            sqlite3_clear_bindings(prepared);
            return fail(kStatements[which]);
        }
    }
    const int rc = sqlite3_step(prepared);
    const bool ok = rc == SQLITE_ROW || rc == SQLITE_DONE;
    if (row)
        *row = rc == SQLITE_ROW;
    if (first)
        *first = rc == SQLITE_ROW ? sqlite3_column_int64(prepared, 0) : 0;
    // The rows the statement wrote itself: the engine leaves out those of its triggers.
    changes_ = rc == SQLITE_DONE ? sqlite3_changes64(sqlite3_db_handle(prepared)) : 0;
    if (!ok)
        fail(kStatements[which]);
    sqlite3_reset(prepared);
    sqlite3_clear_bindings(prepared);
    return ok;
}

bool ImportStatements::runInsert(Which which, const Bound* values, int count, qint64& tally) {
    if (!run(which, values, count, nullptr, nullptr))
        return false;
    tally += changes_;
    return true;
}

Lookup<bool> ImportStatements::hasVolume(const QString& name, const QString* label) {
    bool there = false;
    if (label) {
        const Bound find[] = {{StoredText(name)}, {StoredText(*label)}};
        if (!run(FindVolumeWithLabel, find, 2, &there, nullptr))
            return Lookup<bool>::failed(connection_.lastError());
        return {there};
    }
    const Bound find[] = {{StoredText(name)}};
    if (!run(FindVolume, find, 1, &there, nullptr))
        return Lookup<bool>::failed(connection_.lastError());
    return {there};
}

Result<> ImportStatements::written(bool ran) const {
    if (ran)
        return {};
    return Result<>::failed(connection_.lastError());
}

Result<> ImportStatements::insertVolume(const QString& name, int children, const QString& label,
                                        const QString* labelcd) {
    if (labelcd) {
        const Bound insert[] = {{StoredText(name)},
                                {QString::number(children)},
                                {StoredText(label)},
                                {StoredText(*labelcd)}};
        return written(runInsert(InsertCdVolume, insert, 4, inserted_.volumes));
    }
    const Bound insert[] = {{StoredText(name)}, {QString::number(children)}, {StoredText(label)}};
    return written(runInsert(InsertVolume, insert, 3, inserted_.volumes));
}

Lookup<qint64> ImportStatements::volumeOfList(const Drives& drives, const QString& listPath,
                                              const QString& label) {
    if (lastFoundVolumeId_ != 0 && listPath == lastVolumeListPath_ && label == lastVolumeLabel_)
        return {lastFoundVolumeId_};
    const QString key = label + QChar(u'\0') + listPath;
    qint64 id = volumeIds_.value(key, 0);
    if (id == 0) {
        const Lookup<qint64> found = findVolumeOfList(drives, listPath, label);
        if (!found.ok || found.value == 0)
            return found; // a miss is not kept: the import may add the volume
        id = found.value;
        volumeIds_.insert(key, id);
    }
    lastVolumeLabel_ = label;
    lastVolumeListPath_ = listPath;
    lastFoundVolumeId_ = id;
    return {id};
}

Lookup<qint64> ImportStatements::findVolumeOfList(const Drives& drives, const QString& listPath,
                                                  const QString& label) {
    qint64 id = 0;
    if (label.isEmpty()) {
        const Bound find[] = {{StoredText(listPath)}};
        if (!run(FindVolumeOfList, find, 1, nullptr, &id))
            return Lookup<qint64>::failed(connection_.lastError());
        return {id};
    }
    // FindVolumeId's rule: the volume is named after the folder holding the list, and a folder
    // list's own trailing "/" is not that folder, except on a drive root.
    QString name = FolderOf(listPath);
    if (listPath.endsWith(u'/') && !IsDriveRootText(listPath, drives))
        name = FolderOf(listPath.left(listPath.size() - 1));
    const Bound find[] = {{StoredText(name)}, {StoredText(label)}};
    if (!run(FindVolumeWithLabel, find, 2, nullptr, &id))
        return Lookup<qint64>::failed(connection_.lastError());
    return {id};
}

Lookup<qint64> ImportStatements::listAt(const Drives& drives, const QString& listPath,
                                        qint64 volumeId) {
    const ListPathParts list = SplitListPath(listPath, drives);
    const Bound find[] = {{StoredText(list.path)}, {StoredText(list.file)}, {{}, volumeId, false}};
    qint64 id = 0;
    if (!run(FindList, find, 3, nullptr, &id))
        return Lookup<qint64>::failed(connection_.lastError());
    return {id};
}

Lookup<qint64> ImportStatements::listOnVolume(const ListPathParts& list, qint64 volumeId) {
    if (lastListId_ != 0 && volumeId == lastVolumeId_ && list.path == lastPath_ &&
        list.file == lastFile_)
        return {lastListId_};
    const QString path = StoredText(list.path);
    const QString file = StoredText(list.file);
    QString key = QString::number(volumeId);
    key += QChar(u'\0');
    key += path;
    key += QChar(u'\0');
    key += file;
    const auto kept = listIds_.constFind(key);
    if (kept != listIds_.constEnd())
        return {remember(list, volumeId, kept.value())};

    const Bound find[] = {{path}, {file}, {{}, volumeId, false}};
    bool there = false;
    qint64 id = 0;
    if (!run(FindList, find, 3, &there, &id))
        return Lookup<qint64>::failed(connection_.lastError());
    if (!there) {
        const Bound insert[] = {{path}, {file}, {QString::number(volumeId)}, {QStringLiteral("0")}};
        if (!runInsert(InsertList, insert, 4, inserted_.lists))
            return Lookup<qint64>::failed(connection_.lastError());
        if (!run(FindList, find, 3, &there, &id))
            return Lookup<qint64>::failed(connection_.lastError());
    }
    if (id != 0)
        listIds_.insert(key, id);
    return {remember(list, volumeId, id)};
}

Lookup<bool> ImportStatements::hasTrack(qint64 listId, const QString& folder, const QString& file) {
    const Bound find[] = {{{}, listId, false}, {StoredText(folder)}, {StoredText(file)}};
    bool there = false;
    if (!run(FindTrack, find, 3, &there, nullptr))
        return Lookup<bool>::failed(connection_.lastError());
    return {there};
}

Result<> ImportStatements::insertTrack(const std::array<QString, 10>& values, qint64 seconds) {
    Bound bound[11];
    for (size_t i = 0; i < values.size(); ++i)
        bound[i].text = StoredText(values[i]);
    // A length the file does not state stays unknown (NULL) until the player tells it.
    bound[10] = {{}, seconds, false, seconds <= 0};
    return written(runInsert(InsertTrack, bound, 11, inserted_.tracks));
}

Result<> ImportStatements::insertEntry(const QString& folder, const QString& file, qint64 listId) {
    const Bound insert[] = {{StoredText(folder)}, {StoredText(file)}, {QString::number(listId)}};
    return written(runInsert(InsertEntry, insert, 3, inserted_.tracks));
}

ImportedRows ImportStatements::takeInserted() {
    return std::exchange(inserted_, {});
}

void ImportStatements::forgetKeptIds() {
    volumeIds_.clear();
    lastFoundVolumeId_ = 0;
    listIds_.clear();
    lastVolumeId_ = 0;
    lastPath_.clear();
    lastFile_.clear();
    lastListId_ = 0;
}

qint64 ImportStatements::remember(const ListPathParts& list, qint64 volumeId, qint64 listId) {
    if (listId == 0)
        return 0;
    lastVolumeId_ = volumeId;
    lastPath_ = list.path;
    lastFile_ = list.file;
    lastListId_ = listId;
    return listId;
}

} // namespace tarl
