#include "shell/desktopidentity.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <clocale>
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

GermanSystemLocale::GermanSystemLocale()
{
    for (const char* name : {"LC_ALL", "LANG", "LC_NUMERIC", "LC_TIME"})
        saved_.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
    // LC_ALL would outweigh the two German categories; LANG stands in for it.
    if (qEnvironmentVariableIsSet("LC_ALL")) {
        qputenv("LANG", qgetenv("LC_ALL"));
        qunsetenv("LC_ALL");
    }
    qputenv("LC_NUMERIC", "de_DE.UTF-8");
    qputenv("LC_TIME", "de_DE.UTF-8");
}

void GermanSystemLocale::Restore()
{
    QLocale::system(); // taken now, from the German environment
    for (const Variable& variable : saved_) {
        if (variable.set)
            qputenv(variable.name, variable.value);
        else
            qunsetenv(variable.name);
    }
    std::setlocale(LC_ALL, "");
}

} // namespace tw
