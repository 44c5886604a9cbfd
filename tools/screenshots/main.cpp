// Renders the pages of the main window with the example project into PNG
// files: the menu tree, the "Layout" page with a colour row selected, the
// same page with the font list open, and a tooltip.
//
// Usage: tw_screenshots PROJECT OUTPUT_DIR

#include "guibase/dialogs.h"
#include "inspector/gridtreeview.h"
#include "inspector/mybutton.h"
#include "inspector/tddlist_u.h"
#include "shell/fmxutils.h"
#include "shell/layoutpage.h"
#include "shell/mainform.h"
#include "shell/menutreepage.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPainter>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTreeView>

#include <cstdio>

namespace {

// Opens the one project it was given and reports everything else on stderr.
class ScreenshotDialogs : public tw::Dialogs {
public:
    explicit ScreenshotDialogs(QString project) : project_(std::move(project)) {}
    void Message(QWidget*, const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    tw::Answer Confirm(QWidget*, const QString&, bool) override { return tw::Answer::No; }
    int Choose(QWidget*, const QString&, const QStringList&) override { return -1; }
    tw::Answer ConfirmDeletion(QWidget*, const QString&, const QString&) override { return tw::Answer::No; }
    std::optional<QString> OpenFile(QWidget*, const QString&, const QString&, const QString&) override
    {
        return project_;
    }
    std::optional<tw::SaveChoice> SaveFile(QWidget*, const tw::SaveRequest&) override { return std::nullopt; }
    std::optional<unsigned> ChooseColor(QWidget*, unsigned) override { return std::nullopt; }
    // The example site beside the example project.
    std::optional<QString> ChooseImportSource(QWidget*, const QString&) override
    {
        return QFileInfo(project_).dir().filePath(QStringLiteral("site"));
    }
    std::optional<QString> ChooseFolder(QWidget*, const QString&, const QString&) override { return std::nullopt; }

private:
    QString project_;
};

// The pictures need no browser.
class NoShell : public tw::ShellOpener {
public:
    bool Open(const QUrl&) override { return true; }
};

// Lets layouts, paints and timers of the window run.
void Settle()
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 100)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// The window with the given top-level windows (popups, tooltips) painted over
// it where they are on the screen.
QImage Compose(QWidget& window, std::initializer_list<QWidget*> overlays)
{
    const QPoint origin = window.mapToGlobal(QPoint(0, 0));
    QRect area(QPoint(0, 0), window.size());
    for (QWidget* overlay : overlays)
        area |= QRect(overlay->mapToGlobal(QPoint(0, 0)) - origin, overlay->size());
    const qreal ratio = window.devicePixelRatioF();
    QImage image((area.size() * ratio), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.drawPixmap(-area.topLeft(), window.grab());
    for (QWidget* overlay : overlays)
        painter.drawPixmap(overlay->mapToGlobal(QPoint(0, 0)) - origin - area.topLeft(), overlay->grab());
    return image;
}

bool Save(const QImage& image, const QDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

void SelectGridRow(tw::GridTreeView& grid, const QString& group, const QString& caption)
{
    const QAbstractItemModel& model = *grid.model();
    const QModelIndex parent = model.match(model.index(0, 0), Qt::DisplayRole, group, 1, Qt::MatchExactly).value(0);
    grid.expand(parent);
    grid.SelectRow(model.match(model.index(0, 0, parent), Qt::DisplayRole, caption, 1, Qt::MatchExactly).value(0));
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Treeweaver"));
    // The pictures show the window as it first starts, whatever this user
    // has stored.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    if (argc != 3) {
        std::fprintf(stderr, "usage: tw_screenshots PROJECT OUTPUT_DIR\n");
        return 2;
    }
    const QDir output(QString::fromLocal8Bit(argv[2]));
    ScreenshotDialogs dialogs(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
    NoShell shell;
    tw::Tmainform form(dialogs, shell, QApplication::applicationDirPath());
    form.move(40, 40);
    form.show();
    form.CommandAction(tw::Tmainform::cmdOpen)->trigger();
    form.menuTreePage()->treeView()->expandAll();
    const QModelIndex first = form.menuTreePage()->treeView()->model()->index(0, 0);
    form.menuTreePage()->treeView()->setCurrentIndex(form.menuTreePage()->treeView()->model()->index(1, 0, first));
    Settle();
    bool ok = Save(form.grab().toImage(), output, QStringLiteral("menu-tree.png"));

    form.Pages()->setCurrentWidget(form.SettingsPages());
    form.SettingsPages()->setCurrentWidget(form.layoutPage());
    const tw::InspectorControls& controls = form.layoutPage()->Controls();
    controls.tree->expandAll();
    SelectGridRow(*controls.tree, QStringLiteral("Farben"), QStringLiteral("Link"));
    Settle();
    ok = Save(form.grab().toImage(), output, QStringLiteral("layout-colour.png")) && ok;

    SelectGridRow(*controls.tree, QStringLiteral("Menüpunkt"), QStringLiteral("Schrift(en)"));
    Settle();
    controls.button->Click();
    Settle();
    tw::Tddlist* list = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* open = qobject_cast<tw::Tddlist*>(widget); open && open->isVisible())
            list = open;
    }
    if (list) {
        ok = Save(Compose(form, {list}), output, QStringLiteral("layout-font-list.png")) && ok;
        list->close();
    } else {
        std::fprintf(stderr, "the font list did not open\n");
        ok = false;
    }

    form.Pages()->setCurrentIndex(0);
    Settle();
    QWidget* saveButton = form.CommandBar()->widgetForAction(form.CommandAction(tw::Tmainform::cmdSaveAs));
    const QPoint local = saveButton->rect().center();
    QHelpEvent help(QEvent::ToolTip, local, saveButton->mapToGlobal(local));
    QCoreApplication::sendEvent(saveButton, &help);
    Settle();
    QWidget* hint = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowType() == Qt::ToolTip)
            hint = widget;
    }
    if (hint) {
        ok = Save(Compose(form, {hint}), output, QStringLiteral("tooltip.png")) && ok;
        hint->hide();
    } else {
        std::fprintf(stderr, "no tooltip was shown\n");
        ok = false;
    }

    // "Menü importieren..." with the example site, its plants opened.
    form.ImportAction()->trigger();
    QAbstractItemModel* imported = form.menuTreePage()->treeView()->model();
    const QModelIndex plants = imported->index(4, 0, imported->index(0, 0));
    form.menuTreePage()->treeView()->expand(plants);
    form.menuTreePage()->treeView()->setCurrentIndex(imported->index(2, 0, plants));
    Settle();
    ok = Save(form.grab().toImage(), output, QStringLiteral("import-tree.png")) && ok;
    return ok ? 0 : 1;
}
