#include "shell/commandline.h"
#include "shell/desktopidentity.h"
#include "shell/fmxutils.h"
#include "shell/mainform.h"
#ifdef TW_WEBENGINE
#include "shell/previewwindow.h"
#endif
#include "shell/projectdrop.h"
#include "shell/qtdialogs.h"
#include "shell/singleinstance.h"

#include <QApplication>

int main(int argc, char* argv[])
{
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
    QApplication application(argc, argv);
    germanLocale.Restore();
    tw::SetUpDesktopIdentity();
    tw::InstallGermanTexts(application);
    const QString project = tw::ProjectFromCommandLine(QApplication::arguments());
    tw::QtDialogs dialogs(QApplication::applicationName());

    const QString serverName = tw::SessionServerName();
    switch (tw::HandToRunningProgram(serverName, project)) {
    case tw::HandOver::Done:
        return 0;
    case tw::HandOver::NoAnswer:
        dialogs.Message(nullptr, QStringLiteral("Treeweaver läuft bereits, antwortet aber nicht."));
        return 1;
    case tw::HandOver::NoProgram:
        break;
    }

    tw::DesktopShellOpener opener;
    tw::ScopedShellOpener scopedOpener(opener);
    tw::Tmainform mainform(dialogs, QApplication::applicationDirPath());
    tw::SessionServer sessionServer(serverName, mainform);
    tw::ProjectDrop projectDrop(mainform);
    mainform.show();
    if (!project.isEmpty())
        QMetaObject::invokeMethod(
            &mainform, [&] { mainform.OpenProject(project); }, Qt::QueuedConnection);
    return QApplication::exec();
}
