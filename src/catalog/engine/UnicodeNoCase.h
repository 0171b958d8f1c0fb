#pragma once

#include "text/Result.h"

#include <QString>
#include <QStringView>

struct sqlite3;

namespace tarl {

// The collation UNICODE_NOCASE: two texts are equal when their code points are, one by one,
// after simple case folding over all of Unicode (the folding the catalog's LIKE uses). So "Rock"
// equals "rock", "Ärger" "ärger", "ΟΔΟΣ" "οδος" and "ẞ" "ß"; "ß" and "SS" stay two names (one
// letter against two), as LIKE keeps them. Texts are ordered by their folded code points.
//
// Style names and disc names compare with it; paths compare exactly. It is registered on each
// connection, never written into the schema, so any other SQLite program still opens the file.
class UnicodeNoCase {
public:
    // What a comparison appends to take the collation: "nick = 'x'" + kCollate.
    static constexpr const char* kCollate = " COLLATE UNICODE_NOCASE";

    // <0, 0 or >0 as `a` sorts before, with or after `b`.
    static int compare(QStringView a, QStringView b);

    // Registers the collation on one open connection. The error is the engine's message.
    static Result<> Install(sqlite3* db);
};

} // namespace tarl
