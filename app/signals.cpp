#include "app/signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace zelk {

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    // Only async-signal-safe work here: wake the event loop.
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(g_signalPipe[0], &byte, 1);
}

} // namespace

void closeOnTerminationSignals(std::function<void()> handler)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read,
                                         QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [handler] {
        char byte;
        [[maybe_unused]] ssize_t n = ::read(g_signalPipe[1], &byte, 1);
        handler();
    });
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &sa, nullptr);
}

} // namespace zelk
