#include "shell/stalefilesquestion.h"

#include "guibase/qtcodec.h"
#include "platform/paths.h"

#include <QDir>
#include <QStringList>

namespace tw {

StaleFilesQuestion AskToDeleteStaleFiles(const QString& folder, const std::vector<std::string>& paths)
{
    const auto count = static_cast<int>(paths.size());
    QStringList names;
    for (const std::string& path : paths)
        names.append(FromCp1252(ExtractFileName(path)));
    StaleFilesQuestion question;
    if (count > StaleFilesNamed) {
        question.details = names.join(QLatin1Char('\n'));
        names = names.mid(0, StaleFilesNamed);
        names.append(QStringLiteral("und ") + QString::number(count - StaleFilesNamed) + QStringLiteral(" weitere"));
    }
    const bool one = count == 1;
    question.text = QStringLiteral("Im Ordner „") + QDir::toNativeSeparators(folder) + QStringLiteral("“ ") +
                    (one ? QStringLiteral("liegt 1 veraltete Untermenü-Datei, die nicht mehr zum Menü gehört:")
                         : QStringLiteral("liegen ") + QString::number(count) +
                               QStringLiteral(" veraltete Untermenü-Dateien, die nicht mehr zum Menü gehören:")) +
                    QStringLiteral("\n\n") + names.join(QLatin1Char('\n')) + QStringLiteral("\n\n") +
                    (one ? QStringLiteral("Soll sie gelöscht werden?") : QStringLiteral("Sollen sie gelöscht werden?"));
    return question;
}

} // namespace tw
