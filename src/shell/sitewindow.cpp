#include "shell/sitewindow.h"

#include "document/qzhtml.h"
#include "guibase/dialogs.h"
#include "guibase/qtcodec.h"
#include "platform/datadirs.h"
#include "platform/error.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "shell/diffview.h"
#include "shell/fmxutils.h"
#include "shell/sitechecklist.h"
#include "shell/sitefolder.h"
#include "siteembed/menusite.h"
#include "siteembed/unifieddiff.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

namespace tw {
namespace {

class CollectingSink : public MessageSink {
public:
    void ShowMessage(const std::string& text) override { lines.append(FromCp1252(text)); }
    QStringList lines;
};

template <typename Control>
Control* Named(Control* control, const QString& name)
{
    control->setAccessibleName(name);
    return control;
}

// The page's bytes as text: UTF-8 pages as such, the others as Windows-1252.
QString PageText(const std::string& bytes, const std::string& encoding)
{
    return QString::fromStdString(encoding).contains(QLatin1String("utf-8"), Qt::CaseInsensitive)
               ? QString::fromUtf8(bytes)
               : FromCp1252(bytes);
}

} // namespace

SiteWindow::SiteWindow(TqzHTML& document, const QString& projectFile, Dialogs& dialogs, ShellOpener& opener,
                       QWidget* parent)
    : QDialog(parent), document_(document), projectFile_(projectFile), dialogs_(dialogs), opener_(opener)
{
    setWindowTitle(QStringLiteral("In Seiten schreiben"));
    CreateControls();
    QString folder = RememberedSiteFolder(projectFile_);
    const std::string mainFile = document_.GetFileSetting(fsFilename);
    if (folder.isEmpty() && !mainFile.empty())
        folder = QFileInfo(FromCp1252(ResolveFromProjectFolder(ToCp1252(projectFile_), mainFile))).absolutePath();
    folder_->setText(QDir::toNativeSeparators(folder));
    resize(900, 640);
}

void SiteWindow::CreateControls()
{
    auto* layout = new QVBoxLayout(this);
    auto* folderRow = new QHBoxLayout;
    auto* folderLabel = new QLabel(QStringLiteral("&Ordner der Website:"), this);
    folder_ = Named(new QLineEdit(this), QStringLiteral("Ordner der Website"));
    folderLabel->setBuddy(folder_);
    // Leaving the field unchanged reads nothing again.
    connect(folder_, &QLineEdit::editingFinished, this, [this] {
        if (folder_->isModified())
            SetSiteFolder(folder_->text());
    });
    auto* choose = Named(new QPushButton(QStringLiteral("&Wählen..."), this), QStringLiteral("Ordner wählen"));
    // No button is the default: Return in the folder field takes the folder.
    choose->setAutoDefault(false);
    connect(choose, &QPushButton::clicked, this, &SiteWindow::ChooseFolder);
    folderRow->addWidget(folderLabel);
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(choose);
    layout->addLayout(folderRow);

    auto* optionRow = new QHBoxLayout;
    fromRoot_ = Named(new QCheckBox(QStringLiteral("Links vom S&tamm der Website aus (/...)"), this),
                      QStringLiteral("Links vom Stamm der Website aus"));
    breadcrumb_ = Named(new QCheckBox(QStringLiteral("&Brotkrumenpfad"), this),
                        QStringLiteral("Eingefügte Markierungen mit Brotkrumenpfad"));
    prevNext_ = Named(new QCheckBox(QStringLiteral("&Vorige/nächste Seite"), this),
                      QStringLiteral("Eingefügte Markierungen mit Links zur vorigen und nächsten Seite"));
    breadcrumb_->setToolTip(QStringLiteral("Eingefügte Markierungen bekommen einen Block für den Brotkrumenpfad."));
    prevNext_->setToolTip(QStringLiteral("Eingefügte Markierungen bekommen einen Block für die Links zur vorigen "
                                         "und nächsten Seite."));
    for (QCheckBox* option : {fromRoot_, breadcrumb_, prevNext_}) {
        optionRow->addWidget(option);
        connect(option, &QCheckBox::toggled, this, &SiteWindow::Reload);
    }
    optionRow->addStretch();
    layout->addLayout(optionRow);

    tabs_ = Named(new QTabWidget(this), QStringLiteral("Seiten und Links"));
    auto* split = new QSplitter(Qt::Vertical, tabs_);
    pageView_ = Named(new QTableView(split), QStringLiteral("Seiten der Website"));
    pageView_->setModel(&pages_);
    pageView_->setSelectionBehavior(QAbstractItemView::SelectRows);
    pageView_->setTabKeyNavigation(false);
    pageView_->verticalHeader()->hide();
    pageView_->verticalHeader()->setDefaultSectionSize(pageView_->fontMetrics().height() + 6);
    pageView_->horizontalHeader()->setStretchLastSection(true);
    connect(pageView_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &SiteWindow::ShowSelectedPage);
    connect(pageView_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &SiteWindow::ShowSelectedPage);
    diff_ = Named(new DiffView(split), QStringLiteral("Unterschied der gewählten Seite"));
    split->setStretchFactor(1, 2);
    tabs_->addTab(split, QStringLiteral("&Seiten"));
    faults_ = Named(new SiteCheckList(tabs_), QStringLiteral("Fehler der Links"));
    connect(faults_, &SiteCheckList::itemWanted, this, [this](std::size_t place) {
        MenuNode* node = &document_.Tree().Root();
        for (std::size_t step = 0; node && step < place; ++step)
            node = node->NextPreOrder();
        if (node)
            emit itemChosen(node);
    });
    connect(faults_, &SiteCheckList::pageWanted, this, &SiteWindow::OpenPageFolder);
    tabs_->addTab(faults_, QStringLiteral("Lin&kprüfung"));
    layout->addWidget(tabs_, 1);

    status_ = Named(new QLabel(this), QStringLiteral("Meldung"));
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(status_);

    auto* buttons = new QHBoxLayout;
    insert_ = new QPushButton(QStringLiteral("&Markierungen einfügen"), this);
    insert_->setToolTip(QStringLiteral("Gibt den gewählten Seiten ohne Markierungen ein Paar hinter <body>; "
                                       "der Unterschied erscheint vor dem Schreiben."));
    auto* write = new QPushButton(QStringLiteral("S&chreiben"), this);
    write->setToolTip(QStringLiteral("Schreibt das Menü in alle Seiten, die wie gezeigt geändert werden."));
    auto* undo = new QPushButton(QStringLiteral("Letzten Lauf &zurücknehmen"), this);
    auto* check = new QPushButton(QStringLiteral("&Links prüfen"), this);
    auto* reload = new QPushButton(QStringLiteral("&Neu lesen"), this);
    auto* close = new QPushButton(QStringLiteral("Schließen"), this);
    connect(insert_, &QPushButton::clicked, this, &SiteWindow::InsertMarkersIntoSelected);
    connect(write, &QPushButton::clicked, this, &SiteWindow::Write);
    connect(undo, &QPushButton::clicked, this, &SiteWindow::UndoLastRun);
    connect(check, &QPushButton::clicked, this, &SiteWindow::CheckLinks);
    connect(reload, &QPushButton::clicked, this, &SiteWindow::Reload);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    for (QPushButton* button : {insert_, write, undo, check, reload}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    close->setAutoDefault(false);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    insert_->setEnabled(false);
}

QString SiteWindow::SiteFolder() const
{
    return folder_->text();
}

void SiteWindow::SetSiteFolder(const QString& folder)
{
    folder_->setText(QDir::toNativeSeparators(folder));
    folder_->setModified(false);
    RememberSiteFolder(projectFile_, folder_->text());
    insertInto_.clear();
    Reload();
}

void SiteWindow::ChooseFolder()
{
    if (const std::optional<QString> folder =
            dialogs_.ChooseFolder(this, QStringLiteral("Ordner der Website wählen"), folder_->text()))
        SetSiteFolder(*folder);
}

void SiteWindow::Tell(const QString& text)
{
    status_->setText(text);
}

std::optional<EmbedOptions> SiteWindow::Options()
{
    const QDir site(folder_->text());
    if (folder_->text().isEmpty() || !site.exists()) {
        Tell(folder_->text().isEmpty() ? QStringLiteral("Bitte den Ordner der Website wählen.")
                                       : QStringLiteral("Den Ordner %1 gibt es nicht.").arg(folder_->text()));
        return std::nullopt;
    }
    EmbedOptions options;
    options.siteFolder = ToCp1252(site.absolutePath() + u'/');
    // The items' links are taken from the main file's folder; one outside
    // the site leaves them taken from the site's root.
    const std::string mainFile = document_.GetFileSetting(fsFilename);
    if (!mainFile.empty()) {
        const QString main = FromCp1252(ResolveFromProjectFolder(ToCp1252(projectFile_), mainFile));
        const QString relative = site.relativeFilePath(QFileInfo(main).absolutePath());
        if (relative != QLatin1String(".") && !relative.startsWith(QLatin1String("..")) &&
            !QDir::isAbsolutePath(relative))
            options.linkFolder = ToCp1252(relative + u'/');
    }
    options.fromRoot = fromRoot_->isChecked();
    options.insertMarkersInto = insertInto_;
    options.inserted = {breadcrumb_->isChecked(), prevNext_->isChecked()};
    options.program = "treeweaver " TW_VERSION_TEXT;
    return options;
}

void SiteWindow::Reload()
{
    pages_.SetPages(Plan());
    pageView_->resizeColumnsToContents();
    if (pages_.rowCount() > 0)
        pageView_->selectRow(0);
    ShowSelectedPage();
}

std::vector<PageReport> SiteWindow::Plan()
{
    diffs_.clear();
    const std::optional<EmbedOptions> options = Options();
    if (!options)
        return {};
    CollectingSink sink;
    const std::optional<EmbedForm> form = LoadEmbedForm(document_, sink);
    if (!form) {
        Tell(sink.lines.join(u'\n'));
        return {};
    }
    const auto show = [this](const std::string& sitePath, const SiteFileIdentity&,
                             const std::optional<std::string>& old, const std::string& after) {
        diffs_[sitePath] = UnifiedDiff(sitePath, old.value_or(""), after);
    };
    try {
        SiteWriter reader(options->siteFolder);
        EmbedResult result = PlanEmbed(document_, *form, *options, reader, {}, nullptr, show);
        QString text = QStringLiteral("%1 Seiten: %2 werden geändert, %3 ohne Markierung, %4 abgelehnt.")
                           .arg(result.pages.size())
                           .arg(result.changed.size())
                           .arg(result.withoutMarkers.size())
                           .arg(result.refused.size());
        for (const std::string& warning : result.warnings)
            text += QStringLiteral("\nWarnung: ") + FromCp1252(warning);
        Tell(text);
        return std::move(result.pages);
    } catch (const Error& error) {
        Tell(QStringLiteral("Die Seiten konnten nicht gelesen werden: ") + FromCp1252(error.what()));
        return {};
    }
}

void SiteWindow::ShowSelectedPage()
{
    const QModelIndexList rows = pageView_->selectionModel()->selectedRows();
    bool withoutMarkers = false;
    for (const QModelIndex& row : rows)
        withoutMarkers =
            withoutMarkers || pages_.Pages()[static_cast<std::size_t>(row.row())].state == PageState::NoMarkers;
    insert_->setEnabled(withoutMarkers);
    const QModelIndex current = pageView_->currentIndex();
    if (!current.isValid()) {
        diff_->ShowDiff({}, {});
        return;
    }
    const PageReport& page = pages_.Pages()[static_cast<std::size_t>(current.row())];
    const auto diff = diffs_.find(page.sitePath);
    QString note = PageListModel::StateText(page);
    if (page.state == PageState::NoMarkers)
        note = QStringLiteral("Die Seite hat keine Markierungen und bleibt, wie sie ist. „Markierungen einfügen“ "
                              "zeigt, wo sie hinkämen.");
    else if (!page.message.empty())
        note += QStringLiteral("\n") + FromCp1252(page.message);
    diff_->ShowDiff(page.state == PageState::Changes && diff != diffs_.end() ? PageText(diff->second, page.encoding)
                                                                             : QString(),
                    note);
}

void SiteWindow::InsertMarkersIntoSelected()
{
    std::string first;
    for (const QModelIndex& row : pageView_->selectionModel()->selectedRows()) {
        const PageReport& page = pages_.Pages()[static_cast<std::size_t>(row.row())];
        if (page.state != PageState::NoMarkers)
            continue;
        insertInto_.insert(page.sitePath);
        if (first.empty())
            first = page.sitePath;
    }
    Reload();
    if (const int row = pages_.RowOf(first); row >= 0)
        pageView_->selectRow(row);
}

void SiteWindow::Write()
{
    std::optional<EmbedOptions> options = Options();
    if (!options)
        return;
    // Only what was shown is written.
    options->shown.emplace();
    for (const PageReport& page : pages_.Pages())
        options->shown->emplace(page.sitePath, page.shown);
    CollectingSink sink;
    const std::optional<EmbedForm> form = LoadEmbedForm(document_, sink);
    if (!form) {
        dialogs_.Message(this, sink.lines.join(u'\n'));
        return;
    }
    std::vector<std::string> changedSince;
    std::size_t written = 0;
    try {
        SiteWriter writer(options->siteFolder);
        RunState state(UserStateDirectory(), options->siteFolder);
        StagedRun run = StageEmbed(document_, *form, *options, writer, state);
        CommitEmbed(run, writer, state);
        written = run.result.changed.size();
        for (const PageReport& page : run.result.pages) {
            if (page.state == PageState::ChangedSince)
                changedSince.push_back(page.sitePath);
        }
    } catch (const Error& error) {
        dialogs_.Message(this, QStringLiteral("Die Seiten wurden nicht geschrieben: ") + FromCp1252(error.what()));
        Reload();
        return;
    }
    insertInto_.clear();
    Reload();
    pages_.MarkChangedSince(changedSince);
    ShowSelectedPage();
    Tell(QStringLiteral("Geschrieben: %1 Dateien. Seitdem geändert und übergangen: %2.")
             .arg(written)
             .arg(changedSince.size()) +
         QStringLiteral("\n") + status_->text());
    emit this->written();
}

void SiteWindow::UndoLastRun()
{
    const std::optional<EmbedOptions> options = Options();
    if (!options)
        return;
    std::vector<std::string> skipped;
    std::size_t restored = 0;
    try {
        SiteWriter writer(options->siteFolder);
        RunState state(UserStateDirectory(), options->siteFolder);
        skipped = tw::UndoLastRun(writer, state);
        restored = writer.Changes().size();
    } catch (const Error& error) {
        dialogs_.Message(this,
                         QStringLiteral("Der letzte Lauf wurde nicht zurückgenommen: ") + FromCp1252(error.what()));
        return;
    }
    Reload();
    QString text = QStringLiteral("Zurückgenommen: %1 Dateien.").arg(restored);
    for (const std::string& message : skipped)
        text += u'\n' + FromCp1252(message);
    Tell(text + u'\n' + status_->text());
}

void SiteWindow::CheckLinks()
{
    const std::optional<EmbedOptions> options = Options();
    if (!options)
        return;
    const std::string mainFile = document_.GetFileSetting(fsFilename);
    try {
        const MenuSite site =
            ReadMenuSite(options->siteFolder,
                         mainFile.empty() ? mainFile : ResolveFromProjectFolder(ToCp1252(projectFile_), mainFile));
        faults_->SetFaults(CheckSite(document_, site));
    } catch (const Error& error) {
        Tell(QStringLiteral("Die Website konnte nicht gelesen werden: ") + FromCp1252(error.what()));
        return;
    }
    Tell(faults_->Faults().empty() ? QStringLiteral("Alle Links führen zu Seiten der Website.")
                                   : QStringLiteral("%1 Fehler gefunden.").arg(faults_->Faults().size()));
    tabs_->setCurrentWidget(faults_);
    faults_->setFocus();
}

void SiteWindow::OpenPageFolder(const QString& sitePath)
{
    const QFileInfo page(QDir(folder_->text()).filePath(sitePath));
    OpenWithShell(opener_, dialogs_, this, QUrl::fromLocalFile(page.absolutePath()));
}

} // namespace tw
