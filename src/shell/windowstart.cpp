#include "shell/windowstart.h"

#include "guibase/dialogs.h"
#include "shell/mainform.h"
#include "shell/project.h"
#include "shell/projectquestions.h"
#include "shell/recoverykeeper.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QSessionManager>

namespace tw {
namespace {

bool SameFile(const QString& a, const QString& b)
{
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

} // namespace

void StartWork(Tmainform& window, const QString& project)
{
    const bool restored = window.Questions().OfferRecovery();
    if (project.isEmpty() || (restored && SameFile(project, window.CurrentProject().FileName())))
        return;
    window.Questions().Open(project);
}

WindowProcess::WindowProcess(QGuiApplication& application, Tmainform& window, Dialogs& dialogs,
                             const SessionLock& sessionLock)
    : window_(window), terminationSignals_([&window] { window.CurrentProject().WriteRecoveryNow(); }),
      sessionServer_(sessionLock, window), projectDrop_(window)
{
    window.CurrentProject().KeepRecoveryCopies(RecoveryFolder(), RecoveryKeeper::DefaultIntervalMs,
                                               [&](const QString& text) { dialogs.Message(&window, text); });
    // A logout: the work is kept for recovery first, then asked about.
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &window, [&window](QSessionManager& manager) {
        window.CurrentProject().WriteRecoveryNow();
        if (manager.allowsInteraction()) {
            if (window.Questions().SaveIfModified() == SaveOutcome::Cancelled)
                manager.cancel();
            manager.release();
        }
    });
}

void WindowProcess::Start(const QString& project)
{
    window_.show();
    QMetaObject::invokeMethod(
        &window_, [this, project] { StartWork(window_, project); }, Qt::QueuedConnection);
}

} // namespace tw
