#include "shell/projectdrop.h"

#include "shell/mainform.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace tw {
namespace {

bool IsProjectFile(const QFileInfo& file)
{
    if (!file.isFile())
        return false;
    const QString suffix = file.suffix().toLower();
    if (suffix == QLatin1String("twf") || suffix == QLatin1String("twb"))
        return true;
    return suffix != QLatin1String("tmf") && file.dir().exists(file.completeBaseName() + QStringLiteral(".tmf"));
}

} // namespace

QString DroppedProjectFile(const QMimeData& data)
{
    for (const QUrl& url : data.urls()) {
        const QFileInfo file(url.toLocalFile());
        if (url.isLocalFile() && IsProjectFile(file))
            return file.absoluteFilePath();
    }
    return {};
}

ProjectDrop::ProjectDrop(Tmainform& window) : window_(window)
{
    window_.setAcceptDrops(true);
    // Controls that take drops of their own (the menu tree) receive the drag
    // events themselves, so they are watched application-wide.
    qApp->installEventFilter(this);
}

ProjectDrop::~ProjectDrop()
{
    qApp->removeEventFilter(this);
}

bool ProjectDrop::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &window_)
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    const QString project = DroppedProjectFile(*drop->mimeData());
    if (project.isEmpty())
        return false;
    drop->acceptProposedAction();
    if (type == QEvent::Drop) {
        // The questions of opening wait until the drag has ended.
        QMetaObject::invokeMethod(
            &window_, [this, project] { window_.OpenProject(project); }, Qt::QueuedConnection);
    }
    return true;
}

} // namespace tw
