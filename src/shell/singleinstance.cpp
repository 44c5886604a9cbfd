#include "shell/singleinstance.h"

#include "platform/ownerlock.h"
#include "shell/mainform.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tw {
namespace {

// A program busy opening a large project answers late; one that has not
// answered after this long is taken as hung.
constexpr int AnswerTimeoutMs = 30000;
constexpr int ConnectRetryMs = 50;
constexpr int ModalRetryMs = 250;
// The path goes over as the file system names it, ended by a zero byte,
// which no path holds. The program confirms it; the start then tells it to
// open the project. A start that gave up waiting sends nothing more, so
// that the project is not opened after the user was told it would not be.
const QByteArray Confirmation = QByteArrayLiteral("ok\n");
const QByteArray Go = QByteArrayLiteral("go\n");

void CannotTakeHandOvers(const QString& reason)
{
    std::fprintf(stderr, "Treeweaver: weitere Starts können kein Projekt an dieses Fenster übergeben: %s\n",
                 qPrintable(reason));
}

// The folder when only the user can write into it (made when missing);
// else the reason why not.
QString PrivateFolderProblem(const QString& folder)
{
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return QString::fromLocal8Bit(std::strerror(errno)) + QStringLiteral(": ") + folder;
    struct stat status {};
    if (::lstat(path.constData(), &status) != 0)
        return QString::fromLocal8Bit(std::strerror(errno)) + QStringLiteral(": ") + folder;
    if (!S_ISDIR(status.st_mode) || status.st_uid != ::geteuid() || (status.st_mode & 077) != 0)
        return QStringLiteral("Der Ordner %1 gehört nicht allein diesem Benutzer.").arg(folder);
    return {};
}

bool WaitForLine(QLocalSocket& socket, const QDeadlineTimer& deadline)
{
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return false;
    }
    return true;
}

} // namespace

QString SessionServerName()
{
    // A start on another display (a second X server, a remote session) opens
    // its own window there instead of handing the project to this one.
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY", qEnvironmentVariable("DISPLAY"));
    display.replace(QLatin1Char('/'), QLatin1Char('_'));
    const QString name = QStringLiteral("treeweaver-window") + (display.isEmpty() ? QString() : u'-' + display);
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty())
        folder = QDir::tempPath() + QStringLiteral("/treeweaver-") + QString::number(::geteuid());
    if (const QString problem = PrivateFolderProblem(folder); !problem.isEmpty()) {
        CannotTakeHandOvers(problem);
        return {};
    }
    return folder + u'/' + name;
}

SessionLock::SessionLock(QString serverName) : serverName_(std::move(serverName))
{
    if (serverName_.isEmpty())
        return;
    const QString path = serverName_ + QStringLiteral(".lock");
    lock_ = posix::Descriptor(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    // Without the lock nobody could tell which start shows the window.
    if (!lock_.Valid()) {
        CannotTakeHandOvers(QString::fromLocal8Bit(std::strerror(errno)) + QStringLiteral(": ") + path);
        serverName_.clear();
    }
}

bool SessionLock::Take()
{
    return lock_.Valid() && posix::HoldAsOwner(lock_.Get()) == 0;
}

HandOver HandToRunningProgram(SessionLock& lock, const QString& project)
{
    if (lock.ServerName().isEmpty())
        return HandOver::NoProgram;
    const QDeadlineTimer deadline(AnswerTimeoutMs);
    QLocalSocket socket;
    // The program that holds the lock may still be on its way to listening.
    for (;;) {
        if (lock.Take())
            return HandOver::NoProgram;
        socket.connectToServer(lock.ServerName());
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime())))
            break;
        if (deadline.hasExpired())
            return HandOver::NoAnswer;
        QThread::msleep(ConnectRetryMs);
    }
    if (socket.write(QFile::encodeName(project) + '\0') < 0 || !WaitForLine(socket, deadline) ||
        socket.readLine() != Confirmation)
        return HandOver::NoAnswer;
    socket.write(Go);
    return socket.waitForBytesWritten(AnswerTimeoutMs) ? HandOver::Done : HandOver::NoAnswer;
}

SessionServer::SessionServer(const SessionLock& lock, Tmainform& window) : window_(window)
{
    const QString& serverName = lock.ServerName();
    if (serverName.isEmpty())
        return;
    // This program holds the lock, so a socket file left there belongs to a
    // program that ended without removing it. When it cannot be removed,
    // listening fails below and says so.
    QLocalServer::removeServer(serverName);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(serverName)) {
        CannotTakeHandOvers(server_.errorString());
        return;
    }
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* connection = server_.nextPendingConnection()) {
            connect(connection, &QLocalSocket::disconnected, connection, &QObject::deleteLater);
            Accept(*connection);
        }
    });
}

void SessionServer::Accept(QLocalSocket& connection)
{
    // What came so far, and the project once its end came.
    auto received = std::make_shared<QByteArray>();
    auto project = std::make_shared<std::optional<QString>>();
    const auto receive = [this, &connection, received, project] {
        received->append(connection.readAll());
        if (!*project) {
            const qsizetype end = received->indexOf('\0');
            if (end < 0)
                return;
            *project = QFile::decodeName(received->left(end));
            received->remove(0, end + 1);
            connection.write(Confirmation);
        }
        if (!received->startsWith(Go))
            return;
        // The connection is done with here; it goes once it is closed, which
        // may be within this very signal. Whatever follows (questions,
        // dialogs) runs after the signal has returned.
        disconnect(&connection, &QLocalSocket::readyRead, this, nullptr);
        connection.disconnectFromServer();
        QTimer::singleShot(0, this, [this, shown = **project] { Show(shown); });
    };
    connect(&connection, &QLocalSocket::readyRead, this, receive);
    if (connection.bytesAvailable() > 0)
        receive();
}

void SessionServer::Show(const QString& project)
{
    window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
    window_.raise();
    window_.activateWindow();
    if (!project.isEmpty())
        Open(project);
}

void SessionServer::Open(const QString& project)
{
    // While a dialog of the window is open, the project waits for it to
    // close, so that the questions of opening do not stack on top of it.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(ModalRetryMs, this, [this, project] { Open(project); });
        return;
    }
    window_.OpenProject(project);
}

} // namespace tw
