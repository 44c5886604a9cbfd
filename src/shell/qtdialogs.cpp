#include "shell/qtdialogs.h"

#include "shell/dialogfilter.h"
#include "shell/savedialogwatcher.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>

#include <algorithm>

namespace tw {
namespace {

void PlaceInitialFile(QFileDialog& dialog, const QString& fileName)
{
    if (fileName.isEmpty())
        return;
    const QFileInfo info(fileName);
    if (info.isAbsolute()) {
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    } else {
        dialog.selectFile(fileName);
    }
}

// The extension of a name filter's first pattern ("htm" for "HTML (*.htm
// *.html)"); empty when it has none ("Alle Dateien (*)").
QString FirstPatternSuffix(const QString& nameFilter)
{
    static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.(\\w+)[ )]"));
    return pattern.match(nameFilter).captured(1);
}

// Gives the focus back to the control that had it when a box opened: the
// window would otherwise give it to its first control ("Beenden") when the
// control that had it was disabled or hidden meanwhile, or none had it.
class FocusKeeper {
public:
    FocusKeeper() : control_(QApplication::focusWidget()) {}
    ~FocusKeeper()
    {
        if (control_ && control_->isVisible() && control_->isEnabled())
            control_->setFocus(Qt::OtherFocusReason);
    }
    FocusKeeper(const FocusKeeper&) = delete;
    FocusKeeper& operator=(const FocusKeeper&) = delete;

private:
    QPointer<QWidget> control_;
};

// A box as wide as its title needs, so that a short text ("Ungültiger
// Wert!") does not leave the title cut; the window manager's buttons beside
// the title (icon, three buttons, their gaps) are guessed at six title-bar
// heights, the title's font as the bold one window managers use.
constexpr int TitleBarButtons = 6;

void FitTitle(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr)
        return;
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) +
                      TitleBarButtons * box.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

// The confirmation box "Bestätigung" with its buttons "&Ja" and "&Nein".
struct ConfirmationBox {
    ConfirmationBox(QWidget* parent, const QString& text)
        : box(QMessageBox::Question, QStringLiteral("Bestätigung"), text, QMessageBox::NoButton, parent),
          yes(box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole)),
          no(box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole))
    {
    }
    QMessageBox box;
    QPushButton* yes;
    QPushButton* no;
};

} // namespace

QtDialogs::QtDialogs(const QString& programTitle) : programTitle_(programTitle) {}

void QtDialogs::Message(QWidget* parent, const QString& text)
{
    const FocusKeeper focus;
    QMessageBox box(QMessageBox::NoIcon, programTitle_, text, QMessageBox::Ok, parent);
    FitTitle(box);
    box.exec();
}

Answer QtDialogs::Confirm(QWidget* parent, const QString& text, bool cancellable)
{
    const FocusKeeper focus;
    ConfirmationBox confirmation(parent, text);
    QMessageBox& box = confirmation.box;
    QPushButton* cancel = cancellable ? box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole) : nullptr;
    box.setDefaultButton(confirmation.yes);
    box.setEscapeButton(cancellable ? cancel : confirmation.no);
    box.exec();
    if (box.clickedButton() == confirmation.yes)
        return Answer::Yes;
    if (box.clickedButton() == confirmation.no || !cancellable)
        return Answer::No;
    return Answer::Cancel;
}

int QtDialogs::Choose(QWidget* parent, const QString& text, const QStringList& buttons)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Bestätigung"), text, QMessageBox::NoButton, parent);
    QList<QPushButton*> added;
    for (const QString& caption : buttons)
        added.append(box.addButton(caption, QMessageBox::ActionRole));
    // Escape and the title bar's close button leave every choice untaken.
    QPushButton* escape = box.addButton(QMessageBox::Cancel);
    escape->hide();
    box.setEscapeButton(escape);
    if (!added.isEmpty())
        box.setDefaultButton(added.front());
    box.exec();
    return static_cast<int>(added.indexOf(qobject_cast<QPushButton*>(box.clickedButton())));
}

Answer QtDialogs::ConfirmDeletion(QWidget* parent, const QString& text, const QString& details)
{
    const FocusKeeper focus;
    ConfirmationBox confirmation(parent, text);
    QMessageBox& box = confirmation.box;
    box.setDefaultButton(confirmation.no);
    box.setEscapeButton(confirmation.no);
    box.setDetailedText(details);
    box.exec();
    return box.clickedButton() == confirmation.yes ? Answer::Yes : Answer::No;
}

std::optional<QString> QtDialogs::OpenFile(QWidget* parent, const QString& filter, const QString& initialDir,
                                           const QString& fileName)
{
    const QString start = fileName.isEmpty() ? initialDir : QDir(initialDir).filePath(fileName);
    const QString path = QFileDialog::getOpenFileName(parent, QStringLiteral("Öffnen"), start,
                                                      QtNameFilters(filter).join(QStringLiteral(";;")));
    if (path.isEmpty())
        return std::nullopt;
    // Written like the save dialog's paths, so that the same file compares equal.
    return QDir::toNativeSeparators(path);
}

std::optional<SaveChoice> QtDialogs::SaveFile(QWidget* parent, const SaveRequest& request)
{
    QFileDialog dialog(parent, QStringLiteral("Speichern unter"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Overwriting is asked by the program itself, when it applies.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = QtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    // A name typed without extension gets the one of the selected file type,
    // as in the system's save dialog; the default stands for types without.
    const auto suffixFor = [&request](const QString& nameFilter) {
        const QString suffix = FirstPatternSuffix(nameFilter);
        return suffix.isEmpty() ? request.defaultSuffix : suffix;
    };
    dialog.setDefaultSuffix(suffixFor(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, suffixFor](const QString& nameFilter) {
        dialog.setDefaultSuffix(suffixFor(nameFilter));
    });
    PlaceInitialFile(dialog, request.fileName);

    // Only Qt's own dialog tells about file type changes and lets the
    // file-name box be rewritten while it is open.
    std::optional<SaveDialogWatcher> watcher;
    if (request.onFileTypeChange) {
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        watcher.emplace(dialog, request.onFileTypeChange);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    SaveChoice choice;
    choice.path = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    choice.filterIndex = std::max(1, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1);
    return choice;
}

std::optional<QString> QtDialogs::ChooseImportSource(QWidget* parent, const QString& initialDir)
{
    QMessageBox box(QMessageBox::Question, programTitle_, QStringLiteral("Woraus soll das Menü importiert werden?"),
                    QMessageBox::NoButton, parent);
    box.setInformativeText(QStringLiteral("Aus einem Ordner mit den Seiten einer Website oder aus ihrer Sitemap "
                                          "(sitemap.xml)."));
    QPushButton* folder = box.addButton(QStringLiteral("&Ordner..."), QMessageBox::AcceptRole);
    QPushButton* sitemap = box.addButton(QStringLiteral("&Sitemap..."), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
    box.setDefaultButton(folder);
    box.setEscapeButton(cancel);
    box.exec();
    QString path;
    if (box.clickedButton() == folder)
        path = QFileDialog::getExistingDirectory(parent, QStringLiteral("Ordner der Website wählen"), initialDir);
    else if (box.clickedButton() == sitemap)
        path = QFileDialog::getOpenFileName(parent, QStringLiteral("Sitemap wählen"), initialDir,
                                            QStringLiteral("Sitemap (*.xml);;Alle Dateien (*)"));
    if (path.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(path);
}

std::optional<QString> QtDialogs::ChooseFolder(QWidget* parent, const QString& title, const QString& initialDir)
{
    const QString path = QFileDialog::getExistingDirectory(parent, title, initialDir);
    if (path.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(path);
}

std::optional<unsigned> QtDialogs::ChooseColor(QWidget* parent, unsigned initial)
{
    const QColor start(static_cast<int>(initial & 0xFF), static_cast<int>((initial >> 8) & 0xFF),
                       static_cast<int>((initial >> 16) & 0xFF));
    const QColor chosen = QColorDialog::getColor(start, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return static_cast<unsigned>(chosen.red()) | (static_cast<unsigned>(chosen.green()) << 8) |
           (static_cast<unsigned>(chosen.blue()) << 16);
}

} // namespace tw
