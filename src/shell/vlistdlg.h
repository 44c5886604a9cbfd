#pragma once

#include <QDialog>

#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tw {
class Dialogs;
class TParseList;

// The variable dialog "Ändern": name and value of one variable. "OK" refuses
// a name that another row of the list already has.
class Tvlistform : public QDialog {
    Q_OBJECT
public:
    // rowIndex is the row being changed; its own name never counts as taken.
    Tvlistform(Dialogs& dialogs, const TParseList& list, int rowIndex, QWidget* parent = nullptr);

    void setNameEditable(bool editable);
    void setVariable(const std::string& name, const std::string& value);
    QString name() const;
    // Lines joined by CR LF.
    QString value() const;

    QLineEdit* nameEdit() const { return nameEdit_; }
    QPlainTextEdit* valueEdit() const { return valueEdit_; }
    QPushButton* clearButton() const { return clearButton_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

    void OkClick();

private:
    QLabel* addLabel(const QString& text, int left, int top);
    QPushButton* addButton(const QString& caption, int left);
    bool nameTakenByOtherRow(const QString& name) const;

    Dialogs& dialogs_;
    const TParseList& list_;
    int rowIndex_;
    QLineEdit* nameEdit_;
    QPlainTextEdit* valueEdit_;
    QPushButton* clearButton_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

// What the dialog's "OK" took: the name and the value's lines joined by CR LF.
struct EnteredVariable {
    QString name;
    QString value;
};

// Shows the dialog for one variable with its name and value (document text);
// what was entered on "OK", nothing otherwise.
std::optional<EnteredVariable> EditVariable(QWidget* parent, Dialogs& dialogs, const TParseList& list,
                                            const std::string& name, const std::string& value, int rowIndex,
                                            bool nameEditable);

} // namespace tw
