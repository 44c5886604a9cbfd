#include "shell/fmxutils.h"
#include "shell/mainform.h"
#include "shell/qtdialogs.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Treeweaver"));
    QApplication::setOrganizationName(QStringLiteral("Vellmark Software"));

    tw::DesktopShellOpener opener;
    tw::ScopedShellOpener scopedOpener(opener);
    tw::QtDialogs dialogs(QApplication::applicationName());
    tw::Tmainform mainform(dialogs, QApplication::applicationDirPath());
    mainform.show();
    return QApplication::exec();
}
