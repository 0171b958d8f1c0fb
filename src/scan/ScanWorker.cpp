#include "scan/ScanWorker.h"

#include "catalog/engine/Connection.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QTimer>

namespace tarl {

namespace {
// How often the waiting window looks for reports to show: well inside a frame.
constexpr int kLookEveryMs = 10;
} // namespace

void ScanReports::set(Kind kind, std::function<void()> show) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (open_)
        pending_[kind] = std::move(show);
}

void ScanReports::setOpen(bool open) {
    const std::lock_guard<std::mutex> lock(mutex_);
    open_ = open;
    if (!open)
        pending_ = {};
}

std::array<std::function<void()>, ScanReports::KindCount> ScanReports::take() {
    const std::lock_guard<std::mutex> lock(mutex_);
    auto taken = std::move(pending_);
    pending_ = {};
    return taken;
}

void ScanReports::showWhenDue() {
    const qint64 now = clock_.elapsed();
    if (lastShow_ >= 0 && now - lastShow_ < showEveryMs_)
        return;
    bool shown = false;
    // Taken out first: a value shown may run code that sets the next one.
    for (auto& show : take()) {
        if (!show)
            continue;
        show();
        shown = true;
    }
    if (shown)
        lastShow_ = now;
}

void ScanReports::showNow() {
    lastShow_ = clock_.elapsed();
    for (auto& show : take())
        if (show)
            show();
}

void ScanReports::discard() {
    take();
}

ScanWorker::ScanWorker(QObject* parent) : QObject(parent) {
    thread_.setObjectName(QStringLiteral("scan worker"));
    context_ = new QObject;
    context_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, context_, &QObject::deleteLater);
    thread_.start();
}

ScanWorker::~ScanWorker() {
    stop();
    thread_.quit();
    thread_.wait();
}

void ScanWorker::stop() {
    stopRequested_ = true;
    reports_.setOpen(false);
}

bool ScanWorker::run(const std::function<void()>& work) {
    if (running_)
        return false;
    running_ = true;
    stopRequested_ = false;
    reports_.setOpen(true);
    QEventLoop loop;
    QTimer look;
    look.setInterval(kLookEveryMs);
    connect(&look, &QTimer::timeout, this, [this] { reports_.showWhenDue(); });
    look.start();
    // The loop is quit from its own thread, once the work has returned; it is still running then,
    // as only that quit ends it.
    QMetaObject::invokeMethod(context_, [&work, &loop] {
        work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // The first report is shown as soon as it comes.
    QTimer::singleShot(0, this, [this] { reports_.showWhenDue(); });
    loop.exec();
    running_ = false;
    return true;
}

Result<std::unique_ptr<Catalog>> OpenCatalogConnection(const QString& catalogAddress) {
    auto catalog = std::make_unique<Catalog>();
    if (!catalog->connection.open(catalogAddress))
        return Result<std::unique_ptr<Catalog>>::failed(catalog->connection.lastError());
    return Result<std::unique_ptr<Catalog>>(std::move(catalog));
}

} // namespace tarl
