#pragma once

#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace tw {

// The page "Allgemein": output file name with "Durchsuchen...", the extension
// of submenu files and the template list. Each of the three setting controls
// carries its file-setting index in the property "tag".
class GeneralPage : public QWidget {
    Q_OBJECT
public:
    explicit GeneralPage(QWidget* parent = nullptr);

    QLineEdit* efilename() const { return efilename_; }
    QPushButton* Button2() const { return Button2_; }
    QLineEdit* feedit() const { return feedit_; }
    QListWidget* lbTemplates() const { return lbTemplates_; }

private:
    QLineEdit* efilename_;
    QPushButton* Button2_;
    QLineEdit* feedit_;
    QListWidget* lbTemplates_;
};

// The file-setting index a control carries as its tag (0 when none).
int Tag(const QWidget* control);

} // namespace tw
