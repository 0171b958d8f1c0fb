#include "catalog/engine/CatalogAddress.h"

#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

namespace tarl {

namespace {

Result<ServerAddress> Refused(const QString& text, const QString& why) {
    return Result<ServerAddress>::failed(
        QStringLiteral("The catalog address %1 cannot be used: %2.").arg(text, why));
}

// A connection keyword and its value as the client library reads them from a ";" list: no
// spaces, quotes, backslashes or ";" (which would end the pair or start another).
bool PlainOption(const QString& key, const QString& value) {
    static const QRegularExpression keyword(QStringLiteral("^[a-z_]+$"));
    static const QRegularExpression plain(QStringLiteral("^[^\\s;'\\\\]*$"));
    return keyword.match(key).hasMatch() && plain.match(value).hasMatch();
}

} // namespace

bool IsServerAddress(const QString& text) {
    return text.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           text.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

Result<ServerAddress> ParseServerAddress(const QString& text) {
    if (!IsServerAddress(text))
        return Refused(text, QStringLiteral("it does not start with postgresql://"));
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid())
        return Refused(text, url.errorString());
    if (!url.password().isEmpty())
        return Refused(QStringLiteral("postgresql://%1@%2").arg(url.userName(), url.host()),
                       QStringLiteral("it holds a password; keep the password in ~/.pgpass or "
                                      "the PGPASSWORD environment instead"));
    ServerAddress address;
    address.user = url.userName();
    address.host = url.host();
    address.port = url.port(5432);
    if (address.port <= 0)
        return Refused(text, QStringLiteral("its port is not a number from 1 to 65535"));
    address.database = url.path().mid(1);
    if (address.database.isEmpty() || address.database.contains(u'/'))
        return Refused(text, QStringLiteral("it names no database (postgresql://USER@HOST:PORT/"
                                            "DATABASE)"));
    QStringList options;
    for (const auto& [key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
        // Both are secrets (the login's, the client key's), which tarl.ini would keep in clear.
        if (key == QLatin1String("password") || key == QLatin1String("sslpassword"))
            return Refused(url.toString(QUrl::RemoveQuery),
                           QStringLiteral("it holds a password; keep the password in ~/.pgpass or "
                                          "the PGPASSWORD environment instead"));
        if (!PlainOption(key, value))
            return Refused(text, QStringLiteral("the setting \"%1\" is not one the server's "
                                                "client can read")
                                     .arg(key));
        options << key + u'=' + value;
    }
    address.options = options.join(u';');
    address.shown = text;
    return address;
}

QString ServerCatalogIsNotAFile(const QString& address) {
    return QStringLiteral("The catalog %1 is on a server, not in a file: it is backed up, restored "
                          "and checked with the server's own tools (pg_dump, pg_restore, "
                          "amcheck).")
        .arg(address);
}

} // namespace tarl
