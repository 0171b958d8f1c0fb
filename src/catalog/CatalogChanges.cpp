#include "catalog/CatalogChanges.h"

#include "catalog/engine/Connection.h"

#include <QSqlDatabase>
#include <QSqlDriver>

namespace tarl {

namespace {

const QString kChannel = QStringLiteral("tarl_catalog");

} // namespace

bool CatalogChangeWatch::start(Connection& connection, std::function<void()> onChange) {
    stop();
    if (connection.state() == 0 || connection.engine() != CatalogEngine::Postgres)
        return false;
    QSqlDriver* driver = QSqlDatabase::database(connection.qtConnectionName(), false).driver();
    if (!driver || !connection.subscribe(kChannel))
        return false;
    // The driver goes with the connection, and the link with the driver.
    link_ = QObject::connect(driver, &QSqlDriver::notification,
                             [onChange = std::move(onChange)](const QString& channel,
                                                              QSqlDriver::NotificationSource source,
                                                              const QVariant&) {
                                 if (channel == kChannel && source == QSqlDriver::OtherSource)
                                     onChange();
                             });
    return true;
}

void CatalogChangeWatch::stop() {
    QObject::disconnect(link_);
    link_ = {};
}

} // namespace tarl
