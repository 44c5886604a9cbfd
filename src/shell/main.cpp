#include "shell/commandline.h"
#include "shell/desktopidentity.h"
#include "shell/eventguard.h"
#include "shell/fmxutils.h"
#include "shell/mainform.h"
#ifdef TW_WEBENGINE
#include "shell/previewwindow.h"
#endif
#include "shell/qtdialogs.h"
#include "shell/singleinstance.h"
#include "shell/windowstart.h"

#include <QApplication>

#include <csignal>

int main(int argc, char* argv[])
{
    // A write beyond the file-size limit then fails with EFBIG and is
    // reported, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    if (tw::AsksOnlyForText(argc, argv)) {
        QCoreApplication terminal(argc, argv);
        tw::NameTheProgram();
        tw::InstallGermanTexts(terminal);
        // Prints the help or the version and ends the program.
        tw::ProjectFromCommandLine(QCoreApplication::arguments());
        return 0;
    }

    tw::GermanSystemLocale germanLocale;
#ifdef TW_WEBENGINE
    tw::PrepareWebEngine();
#endif
    tw::GuardedApplication application(argc, argv);
    germanLocale.Restore();
    tw::SetUpDesktopIdentity();
    tw::InstallGermanTexts(application);
    const QString project = tw::ProjectFromCommandLine(QApplication::arguments());
    tw::QtDialogs dialogs(QApplication::applicationName());

    tw::SessionLock sessionLock(tw::SessionServerName());
    switch (tw::HandToRunningProgram(sessionLock, project)) {
    case tw::HandOver::Done:
        return 0;
    case tw::HandOver::NoAnswer:
        dialogs.Message(nullptr, QStringLiteral("Treeweaver läuft bereits, antwortet aber nicht."));
        return 1;
    case tw::HandOver::NoProgram:
        break;
    }

    tw::DesktopShellOpener opener;
    tw::Tmainform mainform(dialogs, opener, QApplication::applicationDirPath());
    application.SetDialogs(&dialogs, &mainform);
    tw::WindowProcess process(application, mainform, dialogs, sessionLock);
    process.Start(project);
    return QApplication::exec();
}
