#include "shell/fmxutils.h"
#include "shell/mainform.h"
#include "shell/qtdialogs.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Treeweaver"));
    QApplication::setOrganizationName(QStringLiteral("Vellmark Software"));
    // The user interface is German; Qt's own dialogs follow when their
    // translations are installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    tw::DesktopShellOpener opener;
    tw::ScopedShellOpener scopedOpener(opener);
    tw::QtDialogs dialogs(QApplication::applicationName());
    tw::Tmainform mainform(dialogs, QApplication::applicationDirPath());
    mainform.show();
    return QApplication::exec();
}
