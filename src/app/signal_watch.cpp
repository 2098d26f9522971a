#include "app/signal_watch.h"

#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace mandalix {

namespace {

constexpr std::array kSignals{SIGTERM, SIGHUP, SIGINT};

// The pipe's ends; only one watch exists at a time. The handler reads the write end.
int g_pipe[2] = {-1, -1};
std::atomic<int> g_writeEnd{-1};
std::array<struct sigaction, kSignals.size()> g_before{};

// Async-signal-safe: one write of the signal's number, errno kept. A full pipe already
// holds a signal the GUI thread has yet to read, so a lost byte loses nothing.
extern "C" void onSignal(int signal)
{
    const int savedErrno = errno;
    const int fd = g_writeEnd.load(std::memory_order_relaxed);
    if (fd >= 0) {
        const unsigned char byte = static_cast<unsigned char>(signal);
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

} // namespace

SignalWatch::SignalWatch(std::function<void(int)> onSignal, QObject* parent)
    : QObject(parent)
    , m_onSignal(std::move(onSignal))
{
    Q_ASSERT(g_writeEnd.load() < 0);
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::fprintf(stderr, "mandalix: cannot watch for the end of the session: %s\n",
                     std::strerror(errno));
        return;
    }
    g_writeEnd.store(g_pipe[1]);
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalWatch::readPipe);
    struct sigaction action {};
    action.sa_handler = mandalix::onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t k = 0; k < kSignals.size(); ++k)
        ::sigaction(kSignals[k], &action, &g_before[k]);
}

SignalWatch::~SignalWatch()
{
    if (!m_notifier)
        return;
    for (std::size_t k = 0; k < kSignals.size(); ++k)
        ::sigaction(kSignals[k], &g_before[k], nullptr);
    g_writeEnd.store(-1);
    delete m_notifier;
    m_notifier = nullptr;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void SignalWatch::readPipe()
{
    unsigned char bytes[16];
    ssize_t got = 0;
    int first = 0;
    while ((got = ::read(g_pipe[0], bytes, sizeof bytes)) > 0)
        first = first ? first : bytes[0];
    if (first == 0 || m_hasFired)
        return;
    m_hasFired = true;
    m_onSignal(first);
}

} // namespace mandalix
