#include "shell/siteembedcommand.h"

#include "shell/documenteditor.h"
#include "shell/mainform.h"
#include "shell/menutreepage.h"
#include "shell/project.h"
#include "shell/sitefolder.h"
#include "shell/sitewindow.h"
#include "shell/windowkeys.h"

#include <QAction>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace tw {

SiteEmbedCommand::SiteEmbedCommand(Tmainform& window, Dialogs& dialogs, ShellOpener& opener,
                                   std::function<bool()> finishEditing)
    : QObject(&window), window_(window), dialogs_(dialogs), opener_(opener), finishEditing_(std::move(finishEditing))
{
    const QKeySequence key(Qt::Key_F8);
    action_ = new QAction(window.style()->standardIcon(QStyle::SP_CommandLink), QStringLiteral("In Seiten schreiben…"),
                          &window);
    action_->setShortcut(key);
    action_->setToolTip(HintWithKey(QStringLiteral("Menü in die Seiten der Website schreiben"), key));
    connect(action_, &QAction::triggered, this, &SiteEmbedCommand::Open);
    window.addAction(action_);
    window.CommandBar()->insertAction(window.VersionCheckSeparator(), action_);
    window.CommandBar()->widgetForAction(action_)->setFocusPolicy(Qt::TabFocus);
    window.menuTreePage()->addWindowAction(action_);
    connect(&window.Editor(), &DocumentEditor::changed, this, &SiteEmbedCommand::NoteEdit);
}

SiteWindow* SiteEmbedCommand::Window() const
{
    return siteWindow_;
}

QString SiteEmbedCommand::StaleNote()
{
    return QStringLiteral(
        "Die Seiten der Website zeigen ein älteres Menü, bis es wieder in sie geschrieben wird (F8).");
}

void SiteEmbedCommand::Open()
{
    if (!finishEditing_())
        return;
    if (siteWindow_ && siteWindow_->ProjectFile() != window_.ProjectFileName())
        siteWindow_->close(); // the folder belongs to the project shown before
    if (!siteWindow_) {
        siteWindow_ = new SiteWindow(window_.Document(), window_.ProjectFileName(), dialogs_, opener_, &window_);
        siteWindow_->setAttribute(Qt::WA_DeleteOnClose);
        connect(siteWindow_, &SiteWindow::written, this, [this] {
            if (window_.statusBar()->currentMessage() == StaleNote())
                window_.statusBar()->clearMessage();
        });
        connect(siteWindow_, &SiteWindow::itemChosen, this, [this](MenuNode* node) {
            window_.menuTreePage()->SelectNode(*node);
            window_.activateWindow();
        });
    }
    siteWindow_->show();
    siteWindow_->raise();
    siteWindow_->Reload();
}

void SiteEmbedCommand::NoteEdit()
{
    // A document just loaded or created is no edit; one whose menu never
    // went into a site has no pages to fall behind.
    if (!window_.CurrentProject().Document().Modified() || RememberedSiteFolder(window_.ProjectFileName()).isEmpty())
        return;
    window_.statusBar()->showMessage(StaleNote());
}

} // namespace tw
