#include "catalog/ImportStatements.h"

#include "catalog/Connection.h"
#include "catalog/QuoteSql.h"

#include <sqlite3.h>

namespace tarl {

namespace {

// The literal statements of AddListOnce, FindListIdOnVolume and AddFolderTrack with their values
// as parameters.
const char* const kStatements[] = {
    "SELECT id, path, file, cd_id From m3u WHERE (((path)=?1) AND ((file)=?2) AND ((cd_id)=?3))",
    "INSERT INTO m3u (path,file,cd_id,mp3s) VALUES (?1,?2,?3,?4)",
    "SELECT m3u_id, path, file FROM Mp3 WHERE (((m3u_id)=?1 ) AND ((path)=?2) AND ((file)=?3))",
    "INSERT INTO Mp3 (path,file,m3u_id,title,artist,album,year,genre,comments,size) VALUES "
    "(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10)",
};

} // namespace

ImportStatements::ImportStatements(Connection& connection) : connection_(connection) {}

ImportStatements::~ImportStatements() {
    for (sqlite3_stmt* prepared : statements_)
        sqlite3_finalize(prepared);
}

bool ImportStatements::fail(const char* what) {
    sqlite3* handle = connection_.handle();
    connection_.setLastError(
        QStringLiteral("The catalog could not run a statement: %1 (statement: %2).")
            .arg(handle ? QString::fromUtf8(sqlite3_errmsg(handle))
                        : QStringLiteral("the catalog is not open"),
                 QString::fromUtf8(what)));
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

bool ImportStatements::run(Which which, const Bound* values, int count, bool* row, qint64* first) {
    sqlite3_stmt* prepared = statement(which);
    if (!prepared)
        return false;
    for (int i = 0; i < count; ++i) {
        const Bound& value = values[i];
        const int rc = value.isText ? sqlite3_bind_text16(prepared, i + 1, value.text.utf16(),
                                                          static_cast<int>(value.text.size() * 2),
                                                          SQLITE_STATIC)
                                    : sqlite3_bind_int64(prepared, i + 1, value.number);
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
    if (!ok)
        fail(kStatements[which]);
    sqlite3_reset(prepared);
    sqlite3_clear_bindings(prepared);
    return ok;
}

Lookup<qint64> ImportStatements::listOnVolume(const ListPathParts& list, qint64 volumeId) {
    const QString path = SqlTextValue(list.path);
    const QString file = SqlTextValue(list.file);
    QString key = QString::number(volumeId);
    key += QChar(u'\0');
    key += path;
    key += QChar(u'\0');
    key += file;
    const auto kept = listIds_.constFind(key);
    if (kept != listIds_.constEnd())
        return {kept.value()};

    const Bound find[] = {{path}, {file}, {{}, volumeId, false}};
    bool there = false;
    qint64 id = 0;
    if (!run(FindList, find, 3, &there, &id))
        return Lookup<qint64>::failed();
    if (!there) {
        const Bound insert[] = {{path}, {file}, {QString::number(volumeId)}, {QStringLiteral("0")}};
        if (!run(InsertList, insert, 4, nullptr, nullptr))
            return Lookup<qint64>::failed();
        if (!run(FindList, find, 3, &there, &id))
            return Lookup<qint64>::failed();
    }
    if (id != 0)
        listIds_.insert(key, id);
    return {id};
}

Lookup<bool> ImportStatements::hasTrack(qint64 listId, const QString& folder, const QString& file) {
    const Bound find[] = {{{}, listId, false}, {SqlTextValue(folder)}, {SqlTextValue(file)}};
    bool there = false;
    if (!run(FindTrack, find, 3, &there, nullptr))
        return Lookup<bool>::failed();
    return {there};
}

bool ImportStatements::insertTrack(const std::array<QString, 10>& values) {
    Bound bound[10];
    for (size_t i = 0; i < values.size(); ++i)
        bound[i].text = SqlTextValue(values[i]);
    return run(InsertTrack, bound, 10, nullptr, nullptr);
}

} // namespace tarl
