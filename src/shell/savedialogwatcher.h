#pragma once

#include "guibase/dialogs.h"

#include <QMetaObject>
#include <QString>

class QFileDialog;
class QLineEdit;

namespace tw {

// Follows the file type of an open (non-native) QFileDialog: whenever the
// user picks another type, the handler gets the text the file-name box had
// before the change and the 1-based type, and its answer replaces the text.
// Qt's own suffix adjustment runs first and is overridden by the handler.
class SaveDialogWatcher {
public:
    SaveDialogWatcher(QFileDialog& dialog, FileTypeChangeHandler handler);
    ~SaveDialogWatcher();
    SaveDialogWatcher(const SaveDialogWatcher&) = delete;
    SaveDialogWatcher& operator=(const SaveDialogWatcher&) = delete;

private:
    void TypeChanged(const QString& nameFilter);

    QFileDialog& dialog_;
    QLineEdit* nameBox_;
    FileTypeChangeHandler handler_;
    QString textBeforeChange_;
    QMetaObject::Connection snapshotConnection_;
    QMetaObject::Connection filterConnection_;
};

} // namespace tw
