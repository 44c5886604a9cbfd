#include "shell/generationcontroller.h"

#include "document/qzhtml.h"
#include "generator/generateprogress.h"
#include "guibase/dialogs.h"
#include "guibase/messageboxreporter.h"
#include "guibase/qtcodec.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "shell/fmxutils.h"
#include "shell/outputplace.h"
#include "shell/project.h"
#include "shell/stalefilesquestion.h"

#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>
#include <QStringList>
#include <QUrl>
#include <QWidget>

namespace tw {
namespace {

constexpr int ProgressSteps = 100;
// A generation this short ends before the bar would show.
constexpr int ProgressDelayMilliseconds = 100;

} // namespace

OutputFile::OutputFile(const QString& projectFile, const std::string& setting)
    : project_(projectFile), core_(ResolveFromProjectFolder(project_.Path(), setting)), shown_(FromCp1252(setting))
{
    if (!shown_.isEmpty() && !projectFile.isEmpty())
        shown_ = QFileInfo(projectFile).dir().filePath(shown_);
}

QString OutputFile::Folder() const
{
    return QFileInfo(shown_).absolutePath();
}

GenerationController::GenerationController(Project& project, Dialogs& dialogs, ShellOpener& opener, QWidget& window,
                                           std::function<void(const QString&)> notice)
    : QObject(&window), project_(project), dialogs_(dialogs), opener_(opener), window_(window),
      notice_(std::move(notice))
{
}

OutputFile GenerationController::Output() const
{
    return OutputFile(project_.FileName(), project_.Document().GetFileSetting(fsFilename));
}

void GenerationController::Generate()
{
    const OutputFile output = Output();
    const QString folder = output.Folder();
    if (!output.Empty() && !OfferOutputFolder(folder))
        return;
    GenerationCounts counts;
    {
        const BusyCursor busy;
        MessageBoxReporter reporter(dialogs_, &window_);
        // The window keeps painting while a large menu is written; being
        // modal, the bar keeps the document as it is until the end.
        QProgressDialog progress(QStringLiteral("Das Menü wird erstellt …"), QString(), 0, ProgressSteps, &window_);
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(ProgressDelayMilliseconds);
        const auto advance = [&progress](std::size_t done, std::size_t total) {
            progress.setValue(total == 0 ? ProgressSteps : static_cast<int>(done * ProgressSteps / total));
        };
        counts = tw::Generate(project_.Document(), output.Core(), reporter, advance);
    }
    if (!counts.complete)
        return;
    if (!counts.staleFiles.empty())
        OfferToDeleteStaleFiles(folder, counts.staleFiles);
    QString files =
        counts.written == 1 ? QStringLiteral("1 Datei") : QString::number(counts.written) + QStringLiteral(" Dateien");
    files += QStringLiteral(" erstellt");
    // Files that already held their bytes were left as they were.
    if (counts.unchanged > 0)
        files += QStringLiteral(", ") + QString::number(counts.unchanged) + QStringLiteral(" unverändert,");
    notice_(files + QStringLiteral(" in „") + QDir::toNativeSeparators(folder) + QStringLiteral("“"));
}

bool GenerationController::OfferOutputFolder(const QString& folder)
{
    if (QDir(folder).exists())
        return true;
    const QString question = QStringLiteral("Der Ordner „") + QDir::toNativeSeparators(folder) +
                             QStringLiteral("“ existiert nicht. Soll er angelegt werden?");
    if (dialogs_.Confirm(&window_, question, false) != Answer::Yes)
        return false;
    if (QDir().mkpath(folder))
        return true;
    dialogs_.Message(&window_, QStringLiteral("Der Ordner „") + QDir::toNativeSeparators(folder) +
                                   QStringLiteral("“ konnte nicht angelegt werden."));
    return false;
}

void GenerationController::OfferToDeleteStaleFiles(const QString& folder, const std::vector<std::string>& paths)
{
    const StaleFilesQuestion question = AskToDeleteStaleFiles(folder, paths);
    if (dialogs_.ConfirmDeletion(&window_, question.text, question.details) != Answer::Yes)
        return;
    QStringList failures;
    for (const std::string& failure : DeleteRegularFiles(paths))
        failures.append(FromCp1252(failure));
    if (!failures.isEmpty())
        dialogs_.Message(&window_, failures.join(QLatin1Char('\n')));
}

void GenerationController::OpenMenu()
{
    const OutputFile output = Output();
    if (output.Core().empty())
        dialogs_.Message(&window_, QStringLiteral("Kein Dateiname zum Speichern angegeben"));
    else if (!FileExists(output.Core()))
        dialogs_.Message(&window_, QStringLiteral("Es wurde noch kein Menü erstellt!"));
    else
        OpenWithShell(opener_, dialogs_, &window_, QUrl::fromLocalFile(FromCp1252(output.Core())));
}

} // namespace tw
