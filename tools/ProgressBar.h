#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <cstdio>
#include <unistd.h>
#include <utility>

namespace tarl::tool {

// A bar on the terminal, redrawn at most every 100 ms; nothing when stderr is not a terminal.
class ProgressBar {
public:
    explicit ProgressBar(QString unit)
        : unit_(std::move(unit)), shown_(isatty(STDERR_FILENO) == 1) {
        clock_.start();
    }

    void update(qint64 maximum, qint64 value) {
        if (!shown_ || maximum <= 0)
            return;
        if (value < maximum && clock_.elapsed() < 100 && value != 0)
            return;
        clock_.restart();
        constexpr int kWidth = 40;
        const int filled = static_cast<int>(qint64(kWidth) * value / maximum);
        std::fprintf(stderr, "\r[%s%s] %lld/%lld %s", QByteArray(filled, '#').constData(),
                     QByteArray(kWidth - filled, ' ').constData(), static_cast<long long>(value),
                     static_cast<long long>(maximum), unit_.toLocal8Bit().constData());
        std::fflush(stderr);
        drawn_ = true;
    }
    void finish() {
        if (drawn_)
            std::fputc('\n', stderr);
        drawn_ = false;
    }

private:
    QString unit_;
    bool shown_;
    bool drawn_ = false;
    QElapsedTimer clock_;
};

} // namespace tarl::tool
