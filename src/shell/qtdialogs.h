#pragma once

#include "guibase/dialogs.h"

namespace tw {

// The desktop program's dialogs: Qt's message boxes, the platform's file
// dialogs, and Qt's own save dialog where the file type change has to be
// followed (the platform dialogs do not report it).
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(const QString& programTitle);

    void Message(QWidget* parent, const QString& text) override;
    Answer Confirm(QWidget* parent, const QString& text, bool cancellable) override;
    int Choose(QWidget* parent, const QString& text, const QStringList& buttons) override;
    Answer ConfirmDeletion(QWidget* parent, const QString& text, const QString& details) override;
    std::optional<QString> OpenFile(QWidget* parent, const QString& filter, const QString& initialDir,
                                    const QString& fileName) override;
    std::optional<unsigned> ChooseColor(QWidget* parent, unsigned initial) override;
    std::optional<SaveChoice> SaveFile(QWidget* parent, const SaveRequest& request) override;
    // First asks which of the two it is, then shows the folder or the file dialog.
    std::optional<QString> ChooseImportSource(QWidget* parent, const QString& initialDir) override;
    std::optional<QString> ChooseFolder(QWidget* parent, const QString& title, const QString& initialDir) override;

private:
    QString programTitle_;
};

} // namespace tw
