#include "shell/projectquestions.h"

#include "document/qzhtml.h"
#include "projectfiles/projectfiles.h"
#include "shell/documenteditor.h"
#include "shell/outputplace.h"
#include "shell/project.h"
#include "shell/projectfilenames.h"

#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QWidget>

namespace tw {
namespace {

const QString DeepLevelsQuestion =
    QStringLiteral("Diese Datei enthält mehr Ebenen, als es das verwendete Format erlaubt. Wollen Sie die Datei in "
                   "einem anderen Format speichern?");

// The extension decides the format: a ".twf" is never given binary bytes,
// nor a ".twb" text.
int FormatForName(const QString& path, int chosenFormat)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("twf"))
        return pfText;
    if (suffix == QLatin1String("twb") && chosenFormat == pfText)
        return pfBinaryV11;
    return chosenFormat;
}

QString RecoveryQuestion(const RecoveryCopy& copy)
{
    const QString project = copy.fileName.isEmpty()
                                ? QStringLiteral("einem unbenannten Projekt")
                                : QStringLiteral("„") + FileNameOnly(copy.fileName) + QStringLiteral("“");
    const QString when = QLocale(QLocale::German).toString(copy.written, QStringLiteral("dd.MM.yyyy, HH:mm"));
    return QStringLiteral("Treeweaver wurde nicht ordnungsgemäß beendet. Von ") + project +
           QStringLiteral(" gibt es ungespeicherte Änderungen vom ") + when +
           QStringLiteral(" Uhr. Sollen sie wiederhergestellt werden?");
}

} // namespace

std::optional<SaveChoice> SharedSaveDialog::Show(Dialogs& dialogs, QWidget* parent, const SaveRequest& request)
{
    fileName = request.fileName;
    filterIndex = request.filterIndex;
    auto choice = dialogs.SaveFile(parent, request);
    if (choice) {
        fileName = choice->path;
        filterIndex = choice->filterIndex;
    }
    return choice;
}

ProjectQuestions::ProjectQuestions(Project& project, Dialogs& dialogs, QWidget* window)
    : QObject(window), project_(project), dialogs_(dialogs), window_(window)
{
    connect(&project_, &Project::diskChanged, this, &ProjectQuestions::AskAboutDiskChange);
    connect(&project_, &Project::charactersEscaped, this, &ProjectQuestions::TellAboutEscapes);
}

void ProjectQuestions::Tell(const QStringList& problems)
{
    for (const QString& problem : problems)
        dialogs_.Message(window_, problem);
}

void ProjectQuestions::TellAboutEscapes()
{
    if (toldAboutEscapes_)
        return;
    toldAboutEscapes_ = true;
    dialogs_.Message(window_, QStringLiteral("Einige Zeichen gibt es im Zeichensatz Windows-1252 nicht. Sie wurden als "
                                             "HTML-Zeichenreferenz (etwa „&#128512;“), in Links als Prozentkodierung "
                                             "gespeichert; der Browser zeigt sie richtig an."));
}

bool ProjectQuestions::FinishEditing()
{
    return !finishEditing_ || finishEditing_();
}

SaveOutcome ProjectQuestions::SaveIfModified()
{
    if (!FinishEditing())
        return SaveOutcome::Cancelled;
    if (!project_.Modified())
        return SaveOutcome::Discarded;
    const QString& fileName = project_.FileName();
    const QString question = fileName.isEmpty() ? QStringLiteral("Möchten Sie die Änderungen speichern?")
                                                : QStringLiteral("Möchten Sie Änderungen in ") +
                                                      QuotedFileName(fileName) + QStringLiteral(" speichern?");
    switch (dialogs_.Confirm(window_, question, true)) {
    case Answer::Cancel:
        return SaveOutcome::Cancelled;
    case Answer::No:
        return SaveOutcome::Discarded;
    case Answer::Yes:
        break;
    }
    return Save() ? SaveOutcome::Saved : SaveOutcome::Cancelled;
}

bool ProjectQuestions::Save()
{
    if (!FinishEditing())
        return false;
    if (project_.FileName().isEmpty())
        return SaveAs();
    QString fileName = project_.FileName();
    int format = project_.Format();
    if (!ConfirmFormatDepth(fileName, format) || !MayWriteProjectFile(fileName, format))
        return false;
    return SaveTo(fileName, format);
}

bool ProjectQuestions::SaveAs()
{
    if (!FinishEditing())
        return false;
    const auto choice = ShowSaveDialog(project_.FileName(), project_.Format());
    if (!choice)
        return false;
    QString fileName = choice->path;
    int format = FormatForName(fileName, choice->filterIndex);
    if (QFileInfo::exists(fileName) && !ConfirmOverwrite(fileName))
        return false;
    if (!ConfirmFormatDepth(fileName, format))
        return false;
    return SaveTo(fileName, format);
}

std::optional<SaveChoice> ProjectQuestions::ShowSaveDialog(const QString& fileName, int format)
{
    SaveRequest request;
    request.filter = ProjectSaveFilter;
    request.filterIndex = format;
    request.fileName = fileName;
    request.defaultSuffix = ProjectDefaultSuffix;
    request.onFileTypeChange = SavetwbFileName;
    return sharedSaveDialog_.Show(dialogs_, window_, request);
}

bool ProjectQuestions::ConfirmOverwrite(const QString& path)
{
    const QString question = QStringLiteral("Soll die bereits existierende Datei ") + QuotedFileName(path) +
                             QStringLiteral(" überschrieben werden?");
    return dialogs_.Confirm(window_, question, false) == Answer::Yes;
}

bool ProjectQuestions::ConfirmFormatDepth(QString& fileName, int& format)
{
    if (format == pfBinaryV11 || !project_.Document().HasDeepLevels())
        return true;
    QString currentName = fileName;
    int currentFormat = format;
    // The tree stays as deep as it is, so only format 1 ends the loop.
    while (currentFormat != pfBinaryV11) {
        if (dialogs_.Confirm(window_, DeepLevelsQuestion, false) != Answer::Yes)
            return false;
        const auto choice = ShowSaveDialog(ChangeExtension(currentName, QStringLiteral(".twb")), pfBinaryV11);
        if (!choice)
            return false;
        if (choice->path != currentName && QFileInfo::exists(choice->path) && !ConfirmOverwrite(choice->path))
            return false;
        currentName = choice->path;
        currentFormat = FormatForName(currentName, choice->filterIndex);
    }
    fileName = currentName;
    format = currentFormat;
    return true;
}

bool ProjectQuestions::MayWriteProjectFile(QString& path, int& format)
{
    // Saving over a file that did not load completely would replace it
    // with the part that was read.
    if (project_.LoadedInPart(path))
        return ConfirmOverwrite(path);
    if (!project_.ChangedElsewhere(path))
        return true;
    const QString question = QStringLiteral("Die Datei ") + QuotedFileName(path) +
                             QStringLiteral(" wurde seit dem Laden oder Speichern von einem anderen Programm "
                                            "geändert. Was soll geschehen?");
    switch (dialogs_.Choose(window_, question,
                            {QStringLiteral("Überschreiben"), QStringLiteral("Unter anderem Namen speichern"),
                             QStringLiteral("Abbrechen")})) {
    case 0:
        return true;
    case 1: {
        const auto choice = ShowSaveDialog(path, format);
        if (!choice)
            return false;
        if (QFileInfo::exists(choice->path) && !ConfirmOverwrite(choice->path))
            return false;
        path = choice->path;
        format = FormatForName(path, choice->filterIndex);
        return ConfirmFormatDepth(path, format);
    }
    default:
        return false;
    }
}

bool ProjectQuestions::SaveTo(const QString& path, int format)
{
    if (format == pfText && !project_.Editor().PrepareForTextFormat(dialogs_, window_))
        return false;
    QStringList problems;
    bool saved = false;
    {
        const BusyCursor busy;
        saved = project_.SaveTo(path, format, &problems);
    }
    Tell(problems);
    return saved;
}

void ProjectQuestions::New()
{
    if (SaveIfModified() != SaveOutcome::Cancelled)
        project_.StartNew();
}

void ProjectQuestions::OpenChosen()
{
    if (SaveIfModified() == SaveOutcome::Cancelled)
        return;
    const auto path = dialogs_.OpenFile(window_, ProjectOpenFilter, DirectoryPart(project_.FileName()), QString());
    if (path)
        Load(*path);
}

void ProjectQuestions::Open(const QString& path)
{
    if (!QFileInfo(path).isFile()) {
        dialogs_.Message(window_, QStringLiteral("Die Datei ") + QuotedFileName(path) +
                                      QStringLiteral(" gibt es nicht; das Projekt bleibt geöffnet."));
        return;
    }
    if (SaveIfModified() != SaveOutcome::Cancelled)
        Load(path);
}

void ProjectQuestions::Load(const QString& path)
{
    QStringList problems;
    {
        const BusyCursor busy;
        // A failed load still shows what it read, under the file's name.
        static_cast<void>(project_.Open(path, &problems));
    }
    Tell(problems);
}

void ProjectQuestions::Import()
{
    if (SaveIfModified() == SaveOutcome::Cancelled)
        return;
    const auto source = dialogs_.ChooseImportSource(window_, DirectoryPart(project_.FileName()));
    if (!source)
        return;
    QStringList problems;
    {
        const BusyCursor busy;
        // What went wrong is shown; without items the project stays as it was.
        static_cast<void>(project_.Import(*source, &problems));
    }
    Tell(problems);
}

bool ProjectQuestions::OfferRecovery()
{
    for (const RecoveryFiles::Left& left : project_.LeftBehind()) {
        const int choice = dialogs_.Choose(window_, RecoveryQuestion(left.copy),
                                           {QStringLiteral("Wiederherstellen"), QStringLiteral("Verwerfen")});
        if (choice < 0)
            continue; // asked again at the next start
        if (choice == 1) {
            RecoveryFiles::Remove(left.base);
            continue;
        }
        QStringList problems;
        const bool restored = project_.Restore(left.copy, &problems);
        Tell(problems);
        if (restored)
            RecoveryFiles::Remove(left.base);
        return restored; // one project per window; the others wait
    }
    return false;
}

void ProjectQuestions::AskAboutDiskChange()
{
    // No question on top of another; it waits until that one is answered.
    if (asking_ || QApplication::activeModalWidget()) {
        project_.CheckDiskLater();
        return;
    }
    // Announced once per change; saving over it is still asked.
    if (!project_.TakeDiskChange())
        return;
    const QString changed = QStringLiteral("Die Datei ") + QuotedFileName(project_.FileName()) +
                            QStringLiteral(" wurde von einem anderen Programm geändert.");
    const QString question =
        project_.Modified()
            ? changed + QStringLiteral(" Soll sie neu geladen werden? Ihre ungespeicherten Änderungen gehen "
                                       "dabei verloren.")
            : changed + QStringLiteral(" Soll sie neu geladen werden?");
    asking_ = true;
    const Answer answer = dialogs_.Confirm(window_, question, false);
    asking_ = false;
    if (answer != Answer::Yes)
        return;
    QStringList problems;
    {
        const BusyCursor busy;
        static_cast<void>(project_.Reload(&problems));
    }
    Tell(problems);
}

} // namespace tw
