// The preview's time from an edit until it shows the edited page, in the
// real main window with the real preview (offscreen or under Xvfb), the
// pause after a change included: one project per run, several edits, each
// timed from the edit until the page is loaded and scrolled into place.
//
//   bench_preview PROJECT [EDITS]
//
// Prints the item count and the minimum, median and maximum in ms. Run by
// bench/preview_latency.sh.
#include "document/qzhtml.h"
#include "shell/documenteditor.h"
#include "shell/fmxutils.h"
#include "shell/mainform.h"
#include "shell/menutreepage.h"
#include "shell/previewwindow.h"
#include "shell/qtdialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class NoOpener : public tw::ShellOpener {
public:
    bool Open(const QUrl&) override { return false; }
};

// Runs the event loop until the preview has shown a page or seconds pass;
// false on the time.
bool WaitForPage(tw::PreviewWindow& preview, int seconds)
{
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, [&loop] { loop.exit(1); });
    QObject::connect(&preview, &tw::PreviewWindow::pageShown, &loop, [&loop] { loop.exit(0); });
    return loop.exec() == 0;
}

void Idle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char** argv)
{
    tw::PrepareWebEngine();
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROJECT [EDITS]\n", argv[0]);
        return 2;
    }
    const int edits = argc > 2 ? std::atoi(argv[2]) : 9;
    tw::QtDialogs dialogs(QStringLiteral("bench_preview"));
    NoOpener opener;
    tw::Tmainform form(dialogs, opener, QApplication::applicationDirPath());
    form.show();
    form.OpenProject(QString::fromLocal8Bit(argv[1]));
    tw::MenuNode* first = form.Document().Tree().Root().Child(0);
    form.menuTreePage()->SelectNode(*first);
    form.PreviewAction()->trigger();
    auto* preview = qobject_cast<tw::PreviewWindow*>(form.Preview());
    if (preview == nullptr || !WaitForPage(*preview, 60)) {
        std::fprintf(stderr, "the preview showed no page\n");
        return 1;
    }
    std::vector<double> times;
    for (int edit = 0; edit < edits; ++edit) {
        Idle(400);
        QElapsedTimer clock;
        clock.start();
        form.Editor().RenameItem(*first, QStringLiteral("Bearbeitet %1").arg(edit));
        if (!WaitForPage(*preview, 30)) {
            std::fprintf(stderr, "edit %d was not shown\n", edit);
            return 1;
        }
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("%zu items: edit shown after min %.0f / median %.0f / max %.0f ms (%d edits)\n",
                form.Document().Tree().Count() - 1, times.front(), times[times.size() / 2], times.back(), edits);
    return 0;
}
