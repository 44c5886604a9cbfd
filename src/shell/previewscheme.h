#pragma once

#include <QSet>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

namespace tw {

// The address scheme through which the preview shows its pages, instead of
// file:, so that a page's script reaches no file of the computer.
extern const QByteArray PreviewScheme;

// Registers the scheme; before the application object exists.
void RegisterPreviewScheme();

// The address of a page of the preview folder, by its file name.
QUrl PreviewAddress(const QString& fileName);

// Serves the preview's addresses: the pages generated into the preview
// folder, and what they use of the site beside the output file (pictures,
// style sheets, scripts, fonts), each a regular file inside the output
// folder. Anything else is not found. Files are handed over as they are
// read, never held whole; what one page pulls from the output folder is
// capped (each file counted once), so that a page that names a huge
// picture many times cannot fill the memory.
class PreviewSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    static constexpr qint64 PageLimit = qint64(64) << 20;

    void SetFolders(const QString& previewFolder, const QString& outputFolder);
    // A page is about to be shown: its files count anew against the limit.
    void StartPage();
    void requestStarted(QWebEngineUrlRequestJob* job) override;

signals:
    // The file was not handed to the page: the page reached its limit.
    void refused(const QString& file);

private:
    // False when the file would take the page over its limit.
    bool Admit(const QString& file, qint64 size);

    QString previewFolder_;
    QString outputFolder_;
    QSet<QString> pulled_;
    qint64 pulledBytes_ = 0;
};

} // namespace tw
