#include "shell/TerminationSignals.h"

#include "shell/ClosingDown.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace tarl {

namespace {
int pipeFds[2] = {-1, -1};

void handler(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(pipeFds[0], &byte, 1);
}
} // namespace

TerminationSignals::TerminationSignals(MainWindow* window, QObject* parent)
    : QObject(parent), closing_(window ? new ClosingDown(*window, this) : nullptr) {
    if (pipeFds[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pipeFds) != 0)
        return;
    notifier_ = new QSocketNotifier(pipeFds[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::onSignal);
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
}

void TerminationSignals::onSignal() {
    char byte = 0;
    [[maybe_unused]] const ssize_t n = ::read(pipeFds[1], &byte, 1);
    if (closing_)
        closing_->start();
}

} // namespace tarl
