#pragma once

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
// folder. Anything else is not found.
class PreviewSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    void SetFolders(const QString& previewFolder, const QString& outputFolder);
    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    QString previewFolder_;
    QString outputFolder_;
};

} // namespace tw
