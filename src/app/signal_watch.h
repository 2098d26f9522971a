// Turns SIGTERM, SIGHUP and SIGINT (a logout, `kill`, Ctrl+C in a terminal) into one call
// on the GUI thread, so the program ends as "exit" ends it instead of dying with the
// picture on show unkept. Made once by main() on the GUI thread, after the application
// object; the handler only writes a byte to a pipe that a socket notifier reads. When the
// pipe cannot be made, the signals keep their default action and a line says why.
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace mandalix {

class SignalWatch : public QObject {
    Q_OBJECT
public:
    // `onSignal` runs on the GUI thread, once, with the first signal's number; later
    // signals are ignored while the program ends.
    explicit SignalWatch(std::function<void(int signal)> onSignal, QObject* parent = nullptr);
    // Gives the signals back their actions before.
    ~SignalWatch() override;
    SignalWatch(const SignalWatch&) = delete;
    SignalWatch& operator=(const SignalWatch&) = delete;

    // Whether the signals are being watched.
    bool isWatching() const { return m_notifier != nullptr; }

private:
    void readPipe();

    std::function<void(int)> m_onSignal;
    QSocketNotifier* m_notifier = nullptr;
    bool m_hasFired = false;
};

} // namespace mandalix
