#include "shell/commandline.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>

namespace tw {

QString ProjectFromCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Baut das Navigationsmenü einer Website und erzeugt daraus HTML-Dateien."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("projekt"),
                                 QStringLiteral("Projektdatei (.twf, .twb oder älteres Format), die geöffnet wird."),
                                 QStringLiteral("[projekt]"));
    parser.process(arguments);
    const QStringList projects = parser.positionalArguments();
    if (projects.size() > 1) {
        std::fputs("Es kann nur eine Projektdatei geöffnet werden.\n\n", stderr);
        parser.showHelp(1);
    }
    return projects.isEmpty() ? QString() : QFileInfo(projects.front()).absoluteFilePath();
}

bool AsksOnlyForText(int argc, char* argv[])
{
    const QStringList textOptions{QStringLiteral("-h"), QStringLiteral("--help"), QStringLiteral("--help-all"),
                                  QStringLiteral("-v"), QStringLiteral("--version")};
    for (int index = 1; index < argc; ++index) {
        if (textOptions.contains(QString::fromLocal8Bit(argv[index])))
            return true;
    }
    return false;
}

} // namespace tw
