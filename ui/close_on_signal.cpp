#include "ui/close_on_signal.h"

#include <QWidget>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// A handler may do almost nothing; it writes one byte that wakes the event loop, which then does
// the real work on the UI thread.
int g_socketPair[2] = {-1, -1};

void WakeEventLoop(int) {
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_socketPair[0], &byte, 1);
    errno = savedErrno;
}

void SetHandler(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals) {
        ::sigaction(signal, &action, nullptr);
    }
}

} // namespace

CloseOnSignal::CloseOnSignal(QWidget& window) : window_(window) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_socketPair) != 0) {
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(g_socketPair[1], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { OnSignalArrived(); });
    SetHandler(WakeEventLoop);
}

CloseOnSignal::~CloseOnSignal() {
    if (!notifier_) {
        return;
    }
    SetHandler(SIG_DFL);
    notifier_.reset();
    ::close(g_socketPair[0]);
    ::close(g_socketPair[1]);
    g_socketPair[0] = g_socketPair[1] = -1;
}

void CloseOnSignal::OnSignalArrived() {
    char byte = 0;
    [[maybe_unused]] const ssize_t read = ::read(g_socketPair[1], &byte, 1);
    window_.close();
}
