#include "shell/vlistdlg.h"

#include "document/cstring.h"
#include "document/varlist.h"
#include "guibase/dialogs.h"
#include "guibase/documenttext.h"
#include "guibase/qtcodec.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>

namespace tw {
namespace {

constexpr unsigned char NameTrimLimit = 36; // "$" and everything below it
constexpr int EditHeight = 21;
constexpr int LabelGap = 4;
constexpr int NameRight = 221; // where the closing "$" follows
constexpr int ButtonTop = 176;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
// The positions are in pixels and were laid out for an 8-point dialog font.
constexpr int FontPixelSize = 11;

} // namespace

Tvlistform::Tvlistform(Dialogs& dialogs, const TParseList& list, int rowIndex, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), list_(list), rowIndex_(rowIndex)
{
    setWindowTitle(QStringLiteral("Ändern"));
    setFixedSize(240, 206);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    QFont dialogFont = font();
    dialogFont.setPixelSize(FontPixelSize);
    setFont(dialogFont);

    // The "$" before the name keeps a gap to "Variable:" in whatever width
    // the font gives that label; the name field takes what is left.
    const QLabel* caption = addLabel(QStringLiteral("Variable:"), 4, 11);
    const int dollarLeft = std::max(51, caption->geometry().right() + LabelGap);
    const QLabel* dollar = addLabel(QStringLiteral("$"), dollarLeft, 11);
    const int nameLeft = dollar->geometry().right() + 3;
    nameEdit_ = new QLineEdit(this);
    nameEdit_->setGeometry(nameLeft, 8, NameRight - nameLeft, EditHeight);
    addLabel(QStringLiteral("$"), 224, 11);
    addLabel(QStringLiteral("Wert:"), 4, 43);
    valueEdit_ = new QPlainTextEdit(this);
    valueEdit_->setGeometry(48, 40, 187, 129);

    clearButton_ = addButton(QStringLiteral("Löschen"), 2);
    okButton_ = addButton(QStringLiteral("OK"), 82);
    cancelButton_ = addButton(QStringLiteral("Abbrechen"), 162);
    // Return takes the entries (a new line in the value field), Escape
    // cancels.
    okButton_->setDefault(true);
    connect(clearButton_, &QPushButton::clicked, valueEdit_, &QPlainTextEdit::clear);
    connect(okButton_, &QPushButton::clicked, this, &Tvlistform::OkClick);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(nameEdit_, valueEdit_);
    setTabOrder(valueEdit_, okButton_);
    setTabOrder(okButton_, cancelButton_);
    setTabOrder(cancelButton_, clearButton_);
    valueEdit_->setTabChangesFocus(true);
    setNameEditable(true);
}

QLabel* Tvlistform::addLabel(const QString& text, int left, int top)
{
    auto* label = new QLabel(text, this);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QPushButton* Tvlistform::addButton(const QString& caption, int left)
{
    auto* button = new QPushButton(caption, this);
    button->setGeometry(left, ButtonTop, ButtonWidth, ButtonHeight);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

void Tvlistform::setNameEditable(bool editable)
{
    nameEdit_->setReadOnly(!editable);
    nameEdit_->setFocusPolicy(editable ? Qt::StrongFocus : Qt::ClickFocus);
    QPalette palette = nameEdit_->palette();
    palette.setColor(QPalette::Base, this->palette().color(editable ? QPalette::Base : QPalette::Button));
    nameEdit_->setPalette(palette);
    (editable ? static_cast<QWidget*>(nameEdit_) : valueEdit_)->setFocus();
}

void Tvlistform::setVariable(const std::string& name, const std::string& value)
{
    nameEdit_->setText(DocumentTextToShow(name));
    // One line of the field per line of the value.
    QString text = DocumentTextToShow(value);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    valueEdit_->setPlainText(text);
}

QString Tvlistform::name() const
{
    return nameEdit_->text();
}

QString Tvlistform::value() const
{
    QString text = valueEdit_->toPlainText();
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text;
}

bool Tvlistform::nameTakenByOtherRow(const QString& name) const
{
    for (std::size_t row = 0; row < list_.Count(); ++row) {
        if (static_cast<int>(row) != rowIndex_ &&
            DocumentTextToShow(list_.Caption(row)).compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void Tvlistform::OkClick()
{
    nameEdit_->setText(DocumentTextToShow(TrimByLimit(NameTrimLimit, EncodeText(name()).bytes)));
    if (nameTakenByOtherRow(nameEdit_->text())) {
        dialogs_.Message(this, QStringLiteral("Variablenname bereits vorhanden"));
        return;
    }
    accept();
}

std::optional<EnteredVariable> EditVariable(QWidget* parent, Dialogs& dialogs, const TParseList& list,
                                            const std::string& name, const std::string& value, int rowIndex,
                                            bool nameEditable)
{
    Tvlistform form(dialogs, list, rowIndex, parent);
    form.setVariable(name, value);
    form.setNameEditable(nameEditable);
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    return EnteredVariable{form.name(), form.value()};
}

} // namespace tw
