#include "dialogs/ScanWindowPacing.h"

namespace tarl {

ScanWindowPacing::ScanWindowPacing(std::function<void()> runEvents, int showEveryMs,
                                   int turnEveryMs)
    : runEvents_(std::move(runEvents)), showEveryMs_(showEveryMs), turnEveryMs_(turnEveryMs) {
    clock_.start();
}

bool ScanWindowPacing::due(qint64& last, int everyMs) const {
    const qint64 now = clock_.elapsed();
    if (last >= 0 && now - last < everyMs)
        return false;
    last = now;
    return true;
}

void ScanWindowPacing::set(Kind kind, std::function<void()> show) {
    pending_[kind] = std::move(show);
    if (due(lastShow_, showEveryMs_))
        this->show();
}

void ScanWindowPacing::turn() {
    if (pending() && due(lastShow_, showEveryMs_))
        show();
    if (runEvents_ && due(lastTurn_, turnEveryMs_))
        runEvents_();
}

void ScanWindowPacing::finish() {
    lastShow_ = clock_.elapsed();
    show();
}

void ScanWindowPacing::discard() {
    for (auto& show : pending_)
        show = nullptr;
}

bool ScanWindowPacing::pending() const {
    for (const auto& show : pending_)
        if (show)
            return true;
    return false;
}

void ScanWindowPacing::show() {
    // Taken out first: a value shown may run code that sets the next one.
    auto shown = std::move(pending_);
    pending_ = {};
    for (auto& value : shown)
        if (value)
            value();
}

} // namespace tarl
