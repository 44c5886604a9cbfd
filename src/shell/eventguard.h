#pragma once

#include <QApplication>

#include <functional>

namespace tw {

class Dialogs;

// The program's application object: no exception ends the program through
// Qt's event loop. One that escapes a handler is reported to the user, and
// the window and its project stay as they are.
class GuardedApplication : public QApplication {
    Q_OBJECT
public:
    GuardedApplication(int& argc, char** argv);

    // Where reports go; until set, to the standard error output.
    void SetDialogs(Dialogs* dialogs, QWidget* parent);
    bool notify(QObject* receiver, QEvent* event) override;

private:
    Dialogs* dialogs_ = nullptr;
    QWidget* parent_ = nullptr;
    bool reporting_ = false;
};

// Runs deliver; an exception is caught and passed to report as a German
// message, and false is returned instead.
bool DeliverGuarded(const std::function<bool()>& deliver, const std::function<void(const QString&)>& report);

} // namespace tw
