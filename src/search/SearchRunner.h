#pragma once

#include "search/SearchHits.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace tarl {

// Runs searches away from the window's thread, on a catalog connection of its own, so the window
// keeps repainting and taking clicks while a long search runs. A new search stops the one under
// way: its result never arrives. Results and progress arrive on the thread that made the runner.
class SearchRunner : public QObject {
    Q_OBJECT
public:
    explicit SearchRunner(QObject* parent = nullptr);
    ~SearchRunner() override;

    // The catalog file searched; a change takes effect at the next search.
    void setCatalogFile(const QString& file);

    // Starts a search of `text` in `field`; one under way is stopped first.
    void start(const QString& text, SearchField field, const SearchOptions& options = {});
    // Stops the search under way, if any; its result never arrives.
    void cancel();
    // A search has been started and its result has not arrived yet.
    bool busy() const;

    // The search's result (or its failure, in words).
    // Handed over, not copied: it may hold a hundred thousand rows.
    std::function<void(Result<SearchOutcome>)> onFinished;
    // A catalog without its search index gets it before its first search: `done` of `total`
    // (in thousandths, so a bar of any size can show it), at most every 50 ms and at the end.
    std::function<void(int done, int total)> onIndexProgress;

private:
    struct Worker;
    std::unique_ptr<Worker> worker_;
    QString catalogFile_;
    quint64 generation_ = 0;
    bool busy_ = false;
};

} // namespace tarl
