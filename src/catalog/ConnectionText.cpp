#include "catalog/ConnectionText.h"

namespace tarl {

namespace {

const QString kDbqKey = QStringLiteral("Dbq=");
const QString kDefaultDirKey = QStringLiteral(";DefaultDir=");

// Where the value of "Dbq=" starts: the key opens the text or follows a ";".
qsizetype DbqValueStart(const QString& text) {
    qsizetype at = 0;
    while ((at = text.indexOf(kDbqKey, at, Qt::CaseInsensitive)) >= 0) {
        if (at == 0 || text.at(at - 1) == u';')
            return at + kDbqKey.size();
        at += kDbqKey.size();
    }
    return -1;
}

} // namespace

QString BuildConnectionText(const QString& dbPath) {
    return QStringLiteral("Driver={Microsoft Access Driver (*.mdb)};") + QStringLiteral("Dbq=") +
           dbPath + QStringLiteral(";") + QStringLiteral("DefaultDir=C:\\") + QStringLiteral(";") +
           QStringLiteral("Uid=Admin;Pwd=;");
}

QString DbqOf(const QString& connectionText) {
    const qsizetype start = DbqValueStart(connectionText);
    if (start < 0)
        return {};
    // The path is put in unquoted and may itself hold ";", so the value runs to the last
    // ";DefaultDir=" that the text builder always writes after it.
    qsizetype end = connectionText.lastIndexOf(kDefaultDirKey, -1, Qt::CaseInsensitive);
    if (end < start)
        end = connectionText.indexOf(u';', start);
    if (end < 0)
        end = connectionText.size();
    return connectionText.mid(start, end - start);
}

} // namespace tarl
