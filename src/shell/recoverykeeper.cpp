#include "shell/recoverykeeper.h"

#include "document/qzhtml.h"
#include "guibase/dialogs.h"
#include "guibase/qtcodec.h"
#include "projectfiles/binaryformat.h"
#include "projectfiles/projectfiles.h"
#include "shell/documenteditor.h"
#include "shell/projectfilenames.h"
#include "shell/projectsession.h"

#include <QLocale>

#include <cstdio>
#include <exception>

namespace tw {

RecoveryKeeper::RecoveryKeeper(ProjectSession& session, const QString& folder, int intervalMs)
    : session_(session), files_(folder)
{
    timer_.setSingleShot(true);
    timer_.setInterval(intervalMs);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::Write);
    writer_.setMaxThreadCount(1);
    connect(&session_.Editor(), &DocumentEditor::changed, this, &RecoveryKeeper::DocumentChanged);
    connect(&session_, &ProjectSession::modifiedChanged, this, &RecoveryKeeper::DocumentChanged);
}

RecoveryKeeper::~RecoveryKeeper()
{
    writer_.waitForDone();
    files_.Remove();
}

void RecoveryKeeper::DocumentChanged()
{
    if (session_.Modified()) {
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
    if (!session_.Modified())
        return false;
    try {
        copy.bytes = BinaryProjectBytes(session_.Document(), pfBinaryV11);
    } catch (const std::exception& error) {
        Report(FromCp1252(error.what()));
        return false;
    }
    copy.fileName = session_.FileName();
    copy.format = session_.Format();
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

void RecoveryKeeper::OfferLeftBehind(Dialogs& dialogs, QWidget* parent)
{
    for (const RecoveryFiles::Left& left : files_.LeftBehind()) {
        const QString project = left.copy.fileName.isEmpty()
                                    ? QStringLiteral("einem unbenannten Projekt")
                                    : QStringLiteral("„") + FileNameOnly(left.copy.fileName) + QStringLiteral("“");
        const QString when = QLocale(QLocale::German).toString(left.copy.written, QStringLiteral("dd.MM.yyyy, HH:mm"));
        const QString question = QStringLiteral("Treeweaver wurde nicht ordnungsgemäß beendet. Von ") + project +
                                 QStringLiteral(" gibt es ungespeicherte Änderungen vom ") + when +
                                 QStringLiteral(" Uhr. Sollen sie wiederhergestellt werden?");
        const int choice =
            dialogs.Choose(parent, question, {QStringLiteral("Wiederherstellen"), QStringLiteral("Verwerfen")});
        if (choice < 0)
            continue; // asked again at the next start
        if (choice == 0) {
            session_.Restore(left.copy.bytes, left.copy.fileName, left.copy.format);
            RecoveryFiles::Remove(left.base);
            Write(); // kept again, now as this program's copy
            return;  // one project per window; the others wait
        }
        RecoveryFiles::Remove(left.base);
    }
}

} // namespace tw
