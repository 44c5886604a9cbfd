#include "shell/eventguard.h"

#include "guibase/dialogs.h"
#include "guibase/qtcodec.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <exception>

namespace tw {

bool DeliverGuarded(const std::function<bool()>& deliver, const std::function<void(const QString&)>& report)
{
    const QString intro = QStringLiteral("Ein unerwarteter Fehler ist aufgetreten");
    const QString outro =
        QStringLiteral("Das Programm läuft weiter, Ihr Projekt ist unverändert geöffnet. Bitte speichern Sie es.");
    try {
        return deliver();
    } catch (const std::exception& error) {
        // The core's texts are Windows-1252.
        report(intro + QStringLiteral(": ") + FromCp1252(error.what()) + QStringLiteral("\n\n") + outro);
    } catch (...) {
        report(intro + QStringLiteral(".\n\n") + outro);
    }
    return false;
}

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

void GuardedApplication::SetDialogs(Dialogs* dialogs, QWidget* parent)
{
    dialogs_ = dialogs;
    parent_ = parent;
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    return DeliverGuarded([&] { return QApplication::notify(receiver, event); },
                          [this](const QString& text) {
                              if (!dialogs_) {
                                  std::fprintf(stderr, "Treeweaver: %s\n", qPrintable(text));
                                  return;
                              }
                              // Shown once the event is over, and one at a time:
                              // an error while painting would come again at once.
                              if (reporting_)
                                  return;
                              reporting_ = true;
                              QTimer::singleShot(0, this, [this, text, parent = QPointer<QWidget>(parent_)] {
                                  dialogs_->Message(parent, text);
                                  reporting_ = false;
                              });
                          });
}

} // namespace tw
