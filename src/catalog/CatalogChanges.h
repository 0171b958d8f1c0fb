#pragma once

#include <QMetaObject>
#include <functional>

namespace tarl {

class Connection;

// Tells when another program changed the catalog, so an open window can offer to show the change
// instead of going on with stale rows.
//
// A catalog on a server sends a notice on the channel "tarl_catalog" after each statement that
// writes one of its four tables (the tables' triggers, made with the catalog); the watch listens
// on the open connection and calls back for every notice another connection sent, never for its
// own writes. Notices arrive through the event loop of the thread that opened the connection. A
// catalog file sends none: start() says so by returning false.
class CatalogChangeWatch {
public:
    CatalogChangeWatch() = default;
    ~CatalogChangeWatch() { stop(); }
    CatalogChangeWatch(const CatalogChangeWatch&) = delete;
    CatalogChangeWatch& operator=(const CatalogChangeWatch&) = delete;

    // Listens on the open catalog; false (and nothing listened) for a file or a failed
    // subscription. A watch already started is stopped first.
    bool start(Connection& connection, std::function<void()> onChange);
    void stop();

private:
    QMetaObject::Connection link_;
};

} // namespace tarl
