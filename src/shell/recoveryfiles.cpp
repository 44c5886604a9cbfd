#include "shell/recoveryfiles.h"

#include "guibase/qtcodec.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/ownerlock.h"

#include <QDir>
#include <QFile>
#include <QUuid>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

namespace tw {
namespace {

const QString DataSuffix = QStringLiteral(".twb");
const QString InfoSuffix = QStringLiteral(".info");
const QString LockSuffix = QStringLiteral(".lock");

int OpenLock(const QString& path)
{
    return ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
}

// True when nobody holds the lock: its program has ended.
bool Abandoned(const QString& lockPath)
{
    return posix::OwnerHasEnded(AT_FDCWD, QFile::encodeName(lockPath).constData());
}

QString SaveAtomically(const QString& path, const QByteArray& bytes)
{
    try {
        WriteFilesAtomically(
            {FileToWrite{ToCp1252(path), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                         "Fehler beim Erstellen der Datei %s", QFile::encodeName(path).toStdString()}});
    } catch (const Error& error) {
        return FromCp1252(error.what());
    }
    return {};
}

QByteArray InfoText(const RecoveryCopy& copy)
{
    // One value a line; the file name last, as it may hold anything.
    return QByteArray::number(copy.format) + '\n' + copy.written.toString(Qt::ISODateWithMs).toUtf8() + '\n' +
           copy.identity.Text() + '\n' + copy.fileName.toUtf8();
}

bool ReadInfo(const QString& path, RecoveryCopy& copy)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.size() < 3)
        return false;
    copy.format = lines[0].toInt();
    copy.written = QDateTime::fromString(QString::fromUtf8(lines[1]), Qt::ISODateWithMs);
    // Copies of earlier versions name the file on the third line.
    const bool withIdentity = lines.size() > 3;
    if (withIdentity)
        copy.identity = FileIdentity::Parse(lines[2]);
    copy.fileName = QString::fromUtf8(lines.mid(withIdentity ? 3 : 2).join('\n'));
    return copy.format >= 1 && copy.format <= 3 && copy.written.isValid();
}

} // namespace

QString RecoveryFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/treeweaver");
}

RecoveryFiles::RecoveryFiles(const QString& folder)
    : folder_(folder), base_(folder + u'/' + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    QDir().mkpath(folder_);
    QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    lock_ = OpenLock(base_ + LockSuffix);
    if (lock_ >= 0)
        posix::HoldAsOwner(lock_);
}

RecoveryFiles::~RecoveryFiles()
{
    QFile::remove(base_ + LockSuffix);
    if (lock_ >= 0)
        ::close(lock_);
}

QString RecoveryFiles::Write(const RecoveryCopy& copy) const
{
    // The data first: an info file always names a complete copy.
    const QByteArray bytes = QByteArray::fromRawData(copy.bytes.data(), static_cast<qsizetype>(copy.bytes.size()));
    QString error = SaveAtomically(base_ + DataSuffix, bytes);
    if (error.isEmpty())
        error = SaveAtomically(base_ + InfoSuffix, InfoText(copy));
    return error;
}

void RecoveryFiles::Remove() const
{
    QFile::remove(base_ + InfoSuffix);
    QFile::remove(base_ + DataSuffix);
}

void RecoveryFiles::Remove(const QString& base)
{
    QFile::remove(base + InfoSuffix);
    QFile::remove(base + DataSuffix);
    QFile::remove(base + LockSuffix);
}

std::vector<RecoveryFiles::Left> RecoveryFiles::LeftBehind() const
{
    std::vector<Left> found;
    const QDir folder(folder_);
    // A program that ended without unsaved work leaves only its lock.
    for (const QString& name : folder.entryList({QStringLiteral("*") + LockSuffix}, QDir::Files)) {
        const QString base = folder.filePath(name.chopped(LockSuffix.size()));
        if (base != base_ && !QFile::exists(base + InfoSuffix) && Abandoned(base + LockSuffix))
            QFile::remove(base + LockSuffix);
    }
    for (const QString& name : folder.entryList({QStringLiteral("*") + InfoSuffix}, QDir::Files)) {
        const QString base = folder.filePath(name.chopped(InfoSuffix.size()));
        if (base == base_ || !Abandoned(base + LockSuffix))
            continue;
        Left left{base, {}};
        QFile data(base + DataSuffix);
        if (!ReadInfo(base + InfoSuffix, left.copy) || !data.open(QIODevice::ReadOnly))
            continue;
        left.copy.bytes = data.readAll().toStdString();
        found.push_back(std::move(left));
    }
    std::sort(found.begin(), found.end(), [](const Left& a, const Left& b) { return a.copy.written < b.copy.written; });
    return found;
}

} // namespace tw
