#include "shell/desktopidentity.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

namespace tw {

void SetUpDesktopIdentity()
{
    QApplication::setApplicationName(QStringLiteral("Treeweaver"));
    QApplication::setOrganizationName(QStringLiteral("Vellmark Software"));
    QApplication::setApplicationVersion(QStringLiteral(TW_VERSION_TEXT));
    QGuiApplication::setDesktopFileName(DesktopId);
    QIcon icon;
    for (const QString& size : QDir(QStringLiteral(":/icons")).entryList())
        icon.addFile(QStringLiteral(":/icons/") + size);
    QApplication::setWindowIcon(icon);
}

void InstallGermanTexts(QApplication& application)
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
    QApplication::installTranslator(qtTexts);
}

} // namespace tw
