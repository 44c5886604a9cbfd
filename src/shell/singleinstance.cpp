#include "shell/singleinstance.h"

#include "shell/mainform.h"

#include <QApplication>
#include <QLocalSocket>
#include <QTimer>

#include <cstdio>

namespace tw {
namespace {

constexpr int AnswerTimeoutMs = 5000;
constexpr int ModalRetryMs = 250;
const QByteArray Confirmation = QByteArrayLiteral("ok\n");

} // namespace

QString SessionServerName()
{
    // A start on another display (a second X server, a remote session) opens
    // its own window there instead of handing the project to this one.
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY", qEnvironmentVariable("DISPLAY"));
    display.replace(QLatin1Char('/'), QLatin1Char('_'));
    const QString name = QStringLiteral("treeweaver-window") + (display.isEmpty() ? QString() : u'-' + display);
    const QString runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtimeDir.isEmpty())
        return runtimeDir + u'/' + name;
    return name + u'-' + qEnvironmentVariable("USER");
}

HandOver HandToRunningProgram(const QString& serverName, const QString& project)
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(AnswerTimeoutMs))
        return HandOver::NoProgram;
    if (socket.write(project.toUtf8() + '\n') < 0 || !socket.waitForBytesWritten(AnswerTimeoutMs))
        return HandOver::NoAnswer;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(AnswerTimeoutMs))
            return HandOver::NoAnswer;
    }
    return socket.readLine() == Confirmation ? HandOver::Done : HandOver::NoAnswer;
}

SessionServer::SessionServer(const QString& serverName, Tmainform& window) : window_(window)
{
    // Nobody answered on this name, so a socket file left there belongs to
    // a program that ended without removing it. When it cannot be removed,
    // listening fails below and says so.
    QLocalServer::removeServer(serverName);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(serverName)) {
        std::fprintf(stderr, "Treeweaver: weitere Starts können kein Projekt an dieses Fenster übergeben: %s\n",
                     qPrintable(server_.errorString()));
        return;
    }
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* connection = server_.nextPendingConnection()) {
            connect(connection, &QLocalSocket::disconnected, connection, &QObject::deleteLater);
            connect(connection, &QLocalSocket::readyRead, this, [this, connection] { Receive(*connection); });
        }
    });
}

void SessionServer::Receive(QLocalSocket& connection)
{
    if (!connection.canReadLine())
        return;
    const QString project = QString::fromUtf8(connection.readLine()).chopped(1);
    // Unconfirmed, the other start tells the user that this program does not
    // answer; opening the project anyway would contradict it.
    const bool confirmed = connection.write(Confirmation) == Confirmation.size();
    connection.disconnectFromServer();
    if (!confirmed)
        return;
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
