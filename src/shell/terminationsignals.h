#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace tw {

// SIGTERM and SIGHUP (a logout, a shutdown, kill) end the program after
// lastWords ran on the event loop; the signal handler itself only writes a
// byte into a pipe. The program then ends by the same signal, as the sender
// expects.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(std::function<void()> lastWords, QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    void Received();

    std::function<void()> lastWords_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace tw
