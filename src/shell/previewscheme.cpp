#include "shell/previewscheme.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace tw {
namespace {

// What a page of the site may bring in besides pages: never a page, so that
// a script cannot read the site's (or a home folder's) other files as text.
bool IsResource(const QString& name)
{
    static const QStringList Extensions = {
        QStringLiteral("png"),  QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("gif"),
        QStringLiteral("webp"), QStringLiteral("svg"), QStringLiteral("ico"),  QStringLiteral("bmp"),
        QStringLiteral("css"),  QStringLiteral("js"),  QStringLiteral("woff"), QStringLiteral("woff2"),
        QStringLiteral("ttf"),  QStringLiteral("otf"),
    };
    return Extensions.contains(QFileInfo(name).suffix(), Qt::CaseInsensitive);
}

// The regular file below folder that the relative name leads to, or empty:
// links and ".." may not lead out of it.
QString FileInside(const QString& folder, const QString& name)
{
    const QString root = QFileInfo(folder).canonicalFilePath();
    const QFileInfo file(QDir(folder).filePath(name));
    const QString real = file.canonicalFilePath();
    if (root.isEmpty() || real.isEmpty() || !real.startsWith(root + QLatin1Char('/')) || !QFileInfo(real).isFile())
        return {};
    return real;
}

} // namespace

const QByteArray PreviewScheme = QByteArrayLiteral("treeweaver-preview");

void RegisterPreviewScheme()
{
    QWebEngineUrlScheme scheme(PreviewScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QUrl PreviewAddress(const QString& fileName)
{
    QUrl address;
    address.setScheme(QString::fromLatin1(PreviewScheme));
    address.setPath(QLatin1Char('/') + fileName);
    return address;
}

void PreviewSchemeHandler::SetFolders(const QString& previewFolder, const QString& outputFolder)
{
    previewFolder_ = previewFolder;
    outputFolder_ = outputFolder;
}

void PreviewSchemeHandler::StartPage()
{
    pulled_.clear();
    pulledBytes_ = 0;
}

bool PreviewSchemeHandler::Admit(const QString& file, qint64 size)
{
    if (pulled_.contains(file))
        return true;
    if (pulledBytes_ + size > PageLimit)
        return false;
    pulled_.insert(file);
    pulledBytes_ += size;
    return true;
}

void PreviewSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job)
{
    const QString name = job->requestUrl().path().mid(1);
    QString file;
    if (!name.contains(QLatin1Char('/')))
        file = FileInside(previewFolder_, name);
    if (file.isEmpty() && IsResource(name))
        file = FileInside(outputFolder_, name);
    auto* source = new QFile(file, job);
    if (file.isEmpty() || job->requestMethod() != "GET" || !source->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    const bool page = QFileInfo(file).path() == QFileInfo(previewFolder_).canonicalFilePath();
    if (!page && !Admit(file, source->size())) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        emit refused(file);
        return;
    }
    // Generated pages are read as Windows-1252 unless they say otherwise.
    const QByteArray type =
        page ? QByteArrayLiteral("text/html") : QMimeDatabase().mimeTypeForFile(file).name().toLatin1();
    job->reply(type, source);
}

} // namespace tw
