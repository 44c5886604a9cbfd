#include "shell/desktopidentity.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

namespace tw {

void NameTheProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("Treeweaver"));
    QCoreApplication::setOrganizationName(QStringLiteral("Vellmark Software"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TW_VERSION_TEXT));
}

void SetUpDesktopIdentity()
{
    NameTheProgram();
    QGuiApplication::setDesktopFileName(DesktopId);
    QIcon icon;
    for (const QString& size : QDir(QStringLiteral(":/icons")).entryList())
        icon.addFile(QStringLiteral(":/icons/") + size);
    QApplication::setWindowIcon(icon);
}

void InstallGermanTexts(QCoreApplication& application)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    QLocale::setDefault(german);
    auto* qtTexts = new QTranslator(&application);
    if (!qtTexts->load(german, QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        !qtTexts->load(QStringLiteral(":/i18n/qtbase_de.qm"))) {
        std::fputs("Treeweaver: Qts deutsche Texte fehlen, seine Dialoge bleiben englisch.\n", stderr);
        return;
    }
    QCoreApplication::installTranslator(qtTexts);
}

} // namespace tw
