#pragma once

#include "shell/recoveryfiles.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <functional>

namespace tw {

class Project;

// Keeps a recovery copy of unsaved work: written at most every interval
// while the project has unsaved changes, at once when asked (the program is
// being ended from outside), and removed when the work is saved or
// deliberately left. A copy that remains after the program ended is offered
// at the next start.
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultIntervalMs = 30000;

    RecoveryKeeper(Project& project, const QString& folder, int intervalMs);
    // The program ends normally: the work was saved or deliberately left.
    ~RecoveryKeeper() override;

    // Writes the copy now, in the background; only taking the document's
    // bytes holds up the window.
    void Write();
    // Writes the copy now and waits for it: the program is about to end.
    void WriteNow();
    // The copies that ended programs left behind, oldest first.
    std::vector<RecoveryFiles::Left> LeftBehind() const { return files_.LeftBehind(); }
    // Where a failed write is told, once per run.
    void SetReporter(std::function<void(const QString&)> report) { report_ = std::move(report); }
    // Waits until a copy being written is on disk.
    void WaitForWriting() { writer_.waitForDone(); }

private:
    void DocumentChanged();
    bool TakeCopy(RecoveryCopy& copy);
    void Report(const QString& error);

    Project& project_;
    RecoveryFiles files_;
    QTimer timer_;
    QThreadPool writer_;
    std::function<void(const QString&)> report_;
    bool reported_ = false;
};

} // namespace tw
