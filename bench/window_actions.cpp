// Drives the real main window through the actions a user takes on a large
// project and prints, for each, the time from the input event until the
// window has painted: wall-clock and the processor time of the window's
// thread (the steadier of the two on a busy machine).
//
//   window_actions PROJECT TEMPLATES_DIR [REPEATS]
//
// PROJECT is a binary project written by make_project (fanouts 10,100,99
// give 100,010 items whose top-level items carry 10,001 each); run offscreen
// (QT_QPA_PLATFORM=offscreen) or under Xvfb. The window's settings go to a
// scratch folder.

#include "document/menutree.h"
#include "document/qzhtml.h"
#include "generator/generator.h"
#include "guibase/dialogs.h"
#include "shell/documenteditor.h"
#include "shell/fmxutils.h"
#include "shell/mainform.h"
#include "shell/menutreepage.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

// Answers every dialog as a user getting on with the work would.
class BenchDialogs : public tw::Dialogs {
public:
    QString projectToOpen;

    void Message(QWidget*, const QString& text) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
    tw::Answer Confirm(QWidget*, const QString&, bool) override { return tw::Answer::Yes; }
    int Choose(QWidget*, const QString&, const QStringList&) override { return 0; }
    tw::Answer ConfirmDeletion(QWidget*, const QString&, const QString&) override { return tw::Answer::No; }
    std::optional<QString> OpenFile(QWidget*, const QString&, const QString&, const QString&) override
    {
        return projectToOpen;
    }
    std::optional<tw::SaveChoice> SaveFile(QWidget*, const tw::SaveRequest&) override { return std::nullopt; }
    std::optional<unsigned> ChooseColor(QWidget*, unsigned) override { return std::nullopt; }
    std::optional<QString> ChooseImportSource(QWidget*, const QString&) override { return std::nullopt; }
    std::optional<QString> ChooseFolder(QWidget*, const QString&, const QString&) override { return std::nullopt; }
};

class NoOpener : public tw::ShellOpener {
public:
    bool Open(const QUrl&) override { return false; }
};

// Notes every paint of any widget.
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

double Ms(const timeval& time)
{
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
}

// The processor time of the window's thread so far, and the part of it spent
// in the system (writing files, mostly).
struct CpuTime {
    double totalMs;
    double systemMs;

    static CpuTime Now()
    {
        rusage usage{};
        getrusage(RUSAGE_THREAD, &usage);
        return {Ms(usage.ru_utime) + Ms(usage.ru_stime), Ms(usage.ru_stime)};
    }
};

// Lets everything pending run, painting included.
void Settle()
{
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QTest::qWait(5);
    }
}

struct Sample {
    double wallMs;
    double cpuMs;
    double systemMs;
};

class Driver {
public:
    Driver(tw::Tmainform& form, PaintWatch& watch) : form_(form), watch_(watch) {}

    // Runs setup untimed, then input, and waits for the first paint after it.
    void Measure(const char* name, int repeats, const std::function<void()>& setup, const std::function<void()>& input)
    {
        std::vector<Sample> samples;
        for (int i = 0; i < repeats; ++i) {
            if (setup)
                setup();
            Settle();
            watch_.painted = false;
            QElapsedTimer wall;
            const CpuTime cpu = CpuTime::Now();
            wall.start();
            input();
            while (!watch_.painted && wall.elapsed() < 60000)
                QCoreApplication::processEvents(QEventLoop::AllEvents);
            const CpuTime after = CpuTime::Now();
            samples.push_back({static_cast<double>(wall.nsecsElapsed()) / 1e6, after.totalMs - cpu.totalMs,
                               after.systemMs - cpu.systemMs});
        }
        Print(name, samples);
    }

    tw::MenuTreePage& Tree() { return *form_.menuTreePage(); }
    tw::MenuNode& Root() { return form_.Document().Tree().Root(); }

    // The centre of node's row, scrolled into view.
    QPoint RowPoint(const tw::MenuNode& node)
    {
        const QModelIndex index = Tree().model()->indexOf(&node);
        Tree().treeView()->scrollTo(index);
        return Tree().treeView()->visualRect(index).center();
    }

    void Click(const tw::MenuNode& node)
    {
        QTest::mouseClick(Tree().treeView()->viewport(), Qt::LeftButton, {}, RowPoint(node));
    }

    void Select(const tw::MenuNode& node) { Tree().SelectNode(node); }

    void Key(QWidget* target, int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    }

    // The drag of the selected item onto target, as the view's drag loop
    // delivers it.
    void DragSelectedOnto(const tw::MenuNode& target)
    {
        tw::DragTreeView& view = *Tree().treeView();
        const QPoint point = RowPoint(target);
        QMimeData mime;
        view.beginDrag();
        QDragEnterEvent enter(point, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &enter);
        QDragMoveEvent move(point, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &move);
        QDropEvent drop(QPointF(point), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &drop);
        view.endDrag(point);
    }

private:
    static void Print(const char* name, std::vector<Sample> samples)
    {
        auto median = [](std::vector<double> values) {
            std::sort(values.begin(), values.end());
            return values[values.size() / 2];
        };
        std::vector<double> wall;
        std::vector<double> cpu;
        std::vector<double> system;
        for (const Sample& sample : samples) {
            wall.push_back(sample.wallMs);
            cpu.push_back(sample.cpuMs);
            system.push_back(sample.systemMs);
        }
        std::printf("%-40s wall %7.1f / %7.1f ms   cpu %6.1f / %6.1f ms, system %6.1f  (min / median of %zu)\n", name,
                    *std::min_element(wall.begin(), wall.end()), median(wall),
                    *std::min_element(cpu.begin(), cpu.end()), median(cpu), median(system), samples.size());
        std::fflush(stdout);
    }

    tw::Tmainform& form_;
    PaintWatch& watch_;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PROJECT TEMPLATES_DIR [REPEATS]\n", argv[0]);
        return 2;
    }
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("treeweaver-bench"));
    const QString project = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    tw::SetTemplatesDirectory(QDir(QString::fromLocal8Bit(argv[2])).absolutePath().toStdString() + "/");
    const int repeats = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;

    BenchDialogs dialogs;
    dialogs.projectToOpen = project;
    NoOpener opener;
    tw::Tmainform form(dialogs, opener, QCoreApplication::applicationDirPath());
    form.resize(900, 700);
    form.show();
    PaintWatch watch;
    application.installEventFilter(&watch);
    Settle();
    Driver driver(form, watch);
    QWidget* tree = driver.Tree().treeView();
    auto top = [&](std::size_t row) -> tw::MenuNode& { return *driver.Root().Child(row); };

    driver.Measure("open (Ctrl+O)", repeats, {}, [&] { driver.Key(&form, Qt::Key_O, Qt::ControlModifier); });
    const std::size_t items = form.Document().Tree().Count() - 1;
    std::printf("%zu items\n", items);
    if (items < 2 || top(0).ChildCount() == 0 || driver.Root().ChildCount() < 3)
        return 1;

    auto collapse = [&] {
        driver.Tree().treeView()->collapseAll();
        driver.Tree().expandRoot();
        driver.Select(driver.Root());
        tree->setFocus();
    };
    driver.Measure("expand all (*)", repeats, collapse, [&] { driver.Key(tree, Qt::Key_Asterisk); });
    driver.Measure(
        "first click after expand all", repeats,
        [&] {
            collapse();
            driver.Key(tree, Qt::Key_Asterisk);
        },
        [&] { driver.Click(top(1)); });

    // Every move is undone untimed, so that every repetition starts alike.
    bool moved = false;
    auto undoMove = [&] {
        if (moved)
            form.Editor().Undo();
        moved = false;
    };
    auto drag = [&](const tw::MenuNode& target) {
        driver.DragSelectedOnto(target);
        moved = true;
    };
    const tw::MenuNode& leaf = *top(0).Child(0)->Child(0);
    driver.Measure(
        "drag a leaf", repeats,
        [&] {
            undoMove();
            driver.Select(leaf);
        },
        [&] { drag(*top(2).Child(1)); });
    driver.Measure(
        "drag a 10,000-item subtree", repeats,
        [&] {
            undoMove();
            driver.Select(top(0));
        },
        [&] { drag(top(2)); });
    undoMove();

    tw::MenuNode* deleted = nullptr;
    driver.Measure(
        "delete a 10,000-item subtree (expanded)", repeats,
        [&] {
            if (deleted)
                form.Editor().Undo();
            deleted = &top(1);
            driver.Select(*deleted);
            tree->setFocus();
        },
        [&] { driver.Key(tree, Qt::Key_Delete); });
    driver.Measure(
        "its undo (Ctrl+Z)", repeats,
        [&] {
            if (form.Document().Tree().Count() - 1 == items) {
                driver.Select(top(1));
                tree->setFocus();
                driver.Key(tree, Qt::Key_Delete);
            }
        },
        [&] { driver.Key(tree, Qt::Key_Z, Qt::ControlModifier); });

    QLineEdit* output = form.efilename();
    int edit = 0;
    driver.Measure(
        "save (Ctrl+S)", repeats,
        [&] { output->setText(QDir::temp().filePath(QStringLiteral("tw-bench-%1/menu.html").arg(++edit))); },
        [&] { driver.Key(&form, Qt::Key_S, Qt::ControlModifier); });

    QTemporaryDir outputs;
    int folder = 0;
    driver.Measure(
        "F9 into a new folder", repeats,
        [&] { output->setText(outputs.filePath(QStringLiteral("neu%1/menu.html").arg(++folder))); },
        [&] { driver.Key(&form, Qt::Key_F9); });
    std::printf("files in the last folder: %lld\n",
                static_cast<long long>(QDir(outputs.filePath(QStringLiteral("neu%1").arg(folder))).count() - 2));
    form.Document().SetModified(false);
    return 0;
}
