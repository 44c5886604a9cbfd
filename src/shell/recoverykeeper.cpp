#include "shell/recoverykeeper.h"

#include "document/qzhtml.h"
#include "guibase/qtcodec.h"
#include "projectfiles/binaryformat.h"
#include "projectfiles/projectfiles.h"
#include "shell/documenteditor.h"
#include "shell/project.h"

#include <cstdio>
#include <exception>

namespace tw {

RecoveryKeeper::RecoveryKeeper(Project& project, const QString& folder, int intervalMs)
    : project_(project), files_(folder)
{
    timer_.setSingleShot(true);
    timer_.setInterval(intervalMs);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::Write);
    writer_.setMaxThreadCount(1);
    connect(&project_.Editor(), &DocumentEditor::changed, this, &RecoveryKeeper::DocumentChanged);
    connect(&project_, &Project::modifiedChanged, this, &RecoveryKeeper::DocumentChanged);
}

RecoveryKeeper::~RecoveryKeeper()
{
    writer_.waitForDone();
    files_.Remove();
}

void RecoveryKeeper::DocumentChanged()
{
    if (project_.Modified()) {
        // At most one copy per interval, however much is typed.
        if (!timer_.isActive())
            timer_.start();
        return;
    }
    timer_.stop();
    writer_.waitForDone();
    files_.Remove();
}

bool RecoveryKeeper::TakeCopy(RecoveryCopy& copy)
{
    if (!project_.Modified())
        return false;
    try {
        copy.bytes = BinaryProjectBytes(project_.Document(), pfBinaryV11);
    } catch (const std::exception& error) {
        Report(FromCp1252(error.what()));
        return false;
    }
    copy.fileName = project_.FileName();
    copy.format = project_.Format();
    copy.identity = project_.Identity();
    copy.written = QDateTime::currentDateTime();
    return true;
}

void RecoveryKeeper::Write()
{
    RecoveryCopy copy;
    if (!TakeCopy(copy))
        return;
    writer_.start([this, copy = std::move(copy)] {
        const QString error = files_.Write(copy);
        if (!error.isEmpty())
            QMetaObject::invokeMethod(
                this, [this, error] { Report(error); }, Qt::QueuedConnection);
    });
}

void RecoveryKeeper::WriteNow()
{
    writer_.waitForDone();
    RecoveryCopy copy;
    if (TakeCopy(copy)) {
        if (const QString error = files_.Write(copy); !error.isEmpty())
            std::fprintf(stderr, "Treeweaver: Wiederherstellungskopie nicht geschrieben: %s\n", qPrintable(error));
    }
}

void RecoveryKeeper::Report(const QString& error)
{
    // Once per run: the next attempt is at most an interval away.
    if (reported_)
        return;
    reported_ = true;
    const QString text = QStringLiteral("Die Wiederherstellungskopie konnte nicht geschrieben werden: ") + error;
    if (report_)
        report_(text);
    else
        std::fprintf(stderr, "Treeweaver: %s\n", qPrintable(text));
}

} // namespace tw
