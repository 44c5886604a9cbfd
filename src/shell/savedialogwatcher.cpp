#include "shell/savedialogwatcher.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace tw {

SaveDialogWatcher::SaveDialogWatcher(QFileDialog& dialog, FileTypeChangeHandler handler)
    : dialog_(dialog), nameBox_(dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))),
      handler_(std::move(handler))
{
    if (!nameBox_)
        return;
    // The type combo box reports the new index before the dialog adjusts the
    // name, so this is where the user's text is still untouched.
    if (auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
        snapshotConnection_ =
            QObject::connect(types, &QComboBox::currentIndexChanged, [this] { textBeforeChange_ = nameBox_->text(); });
    filterConnection_ =
        QObject::connect(&dialog, &QFileDialog::filterSelected, [this](const QString& filter) { TypeChanged(filter); });
}

SaveDialogWatcher::~SaveDialogWatcher()
{
    QObject::disconnect(snapshotConnection_);
    QObject::disconnect(filterConnection_);
}

void SaveDialogWatcher::TypeChanged(const QString& nameFilter)
{
    const QString before = snapshotConnection_ ? textBeforeChange_ : nameBox_->text();
    const int fileType = static_cast<int>(dialog_.nameFilters().indexOf(nameFilter)) + 1;
    const QString text = handler_(before.left(255), fileType);
    // Written after the dialog's own reaction to the same change has run.
    QTimer::singleShot(0, nameBox_, [box = QPointer<QLineEdit>(nameBox_), text] {
        if (box)
            box->setText(text);
    });
}

} // namespace tw
