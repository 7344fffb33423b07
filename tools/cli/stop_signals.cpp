#include "tools/cli/stop_signals.h"

#include <csignal>

namespace {
std::atomic<bool> stopRequested{false};

void RequestStop(int)
{
    stopRequested.store(true);
}
} // namespace

const std::atomic<bool>& CatchStopSignals()
{
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    return stopRequested;
}

void IgnoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}
