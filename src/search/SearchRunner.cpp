#include "search/SearchRunner.h"

#include "catalog/engine/Connection.h"

#include <QElapsedTimer>
#include <QMetaObject>
#include <QPointer>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <mutex>
#include <sqlite3.h>

namespace tarl {

// The thread the searches run on, with its own catalog connection. Qt's connections belong to
// the thread that opened them, so the catalog is opened, used and closed only on that thread.
struct SearchRunner::Worker {
    QThread thread;
    QObject* context = nullptr; // lives on `thread`; jobs are queued to it
    std::unique_ptr<Catalog> catalog;
    QString openFile;
    // The newest search wanted; a job of an older one is skipped or its result dropped.
    std::atomic<quint64> wanted{0};
    // Guards `handle` so a stop never interrupts a connection being opened or closed.
    std::mutex handleLock;
    sqlite3* handle = nullptr;

    Worker() {
        context = new QObject;
        context->moveToThread(&thread);
        QObject::connect(&thread, &QThread::finished, context, [this] {
            close();
            delete context;
        });
        thread.start();
    }
    ~Worker() {
        interrupt();
        thread.quit();
        thread.wait();
    }

    void interrupt() {
        const std::lock_guard<std::mutex> lock(handleLock);
        if (handle != nullptr)
            sqlite3_interrupt(handle);
    }

    // On the worker thread.
    void close() {
        {
            const std::lock_guard<std::mutex> lock(handleLock);
            handle = nullptr;
        }
        catalog.reset();
        openFile.clear();
    }

    // On the worker thread: the catalog `file` open, or why not.
    Result<> ensureOpen(const QString& file) {
        if (catalog && openFile == file)
            return {};
        close();
        auto opened = std::make_unique<Catalog>();
        if (!opened->connection.open(file))
            return Result<>::failed(opened->connection.lastError());
        catalog = std::move(opened);
        openFile = file;
        const std::lock_guard<std::mutex> lock(handleLock);
        handle = catalog->connection.handle();
        return {};
    }
};

SearchRunner::SearchRunner(QObject* parent)
    : QObject(parent), worker_(std::make_unique<Worker>()) {}

SearchRunner::~SearchRunner() = default;

void SearchRunner::setCatalogFile(const QString& file) {
    catalogFile_ = file;
}

void SearchRunner::start(const QString& text, SearchField field, const SearchOptions& options) {
    cancel();
    const quint64 generation = ++generation_;
    worker_->wanted = generation;
    busy_ = true;
    Worker* worker = worker_.get();
    const QString file = catalogFile_;
    QPointer<SearchRunner> self(this);
    QMetaObject::invokeMethod(worker->context, [=] {
        if (worker->wanted != generation)
            return;
        Result<SearchOutcome> outcome = [&]() -> Result<SearchOutcome> {
            const Result<> opened = worker->ensureOpen(file);
            if (!opened)
                return Result<SearchOutcome>::failed(QStringLiteral("The search failed: ") +
                                                     opened.error);
            // The index's progress reaches the window at most every 50 ms, and at its end.
            SearchOptions reporting = options;
            QElapsedTimer sinceShown;
            sinceShown.start();
            reporting.indexProgress = [&](qint64 done, qint64 total) {
                if (done != 0 && done < total && sinceShown.elapsed() < 50)
                    return;
                sinceShown.restart();
                QMetaObject::invokeMethod(self.data(), [self, generation, done, total] {
                    if (self && self->generation_ == generation && self->onIndexProgress)
                        self->onIndexProgress(
                            static_cast<int>(done * 1000 / std::max<qint64>(total, 1)), 1000);
                });
            };
            return RunSearch(*worker->catalog, text, field, reporting);
        }();
        if (worker->wanted != generation)
            return;
        QMetaObject::invokeMethod(self.data(),
                                  [self, generation, outcome = std::move(outcome)]() mutable {
                                      if (!self || self->generation_ != generation || !self->busy_)
                                          return;
                                      self->busy_ = false;
                                      if (self->onFinished)
                                          self->onFinished(std::move(outcome));
                                  });
    });
}

void SearchRunner::cancel() {
    if (!busy_)
        return;
    busy_ = false;
    worker_->wanted = ++generation_;
    worker_->interrupt();
}

bool SearchRunner::busy() const {
    return busy_;
}

} // namespace tarl
