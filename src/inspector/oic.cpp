#include "inspector/oic.h"

#include "document/ccolor.h"
#include "document/cstring.h"
#include "document/qzhtml.h"
#include "document/relativepath.h"
#include "guibase/dialogs.h"
#include "guibase/documenttext.h"
#include "guibase/qtcodec.h"
#include "inspector/chooserlists.h"
#include "inspector/gridtreeview.h"
#include "inspector/lengthsettings.h"
#include "inspector/mybutton.h"
#include "inspector/mypanel.h"
#include "platform/paths.h"

#include <QCoreApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>

#include <cmath>

namespace tw {
namespace {

// The edit box's own limit, which is none in practice.
constexpr int NoLengthLimit = 32767;

const QString InvalidValueText = QStringLiteral("Ungültiger Wert!");

int KindOf(const QModelIndex& index)
{
    return index.isValid() ? index.data(InspectorKindRole).toInt() : ikGroup;
}

int SettingOf(const QModelIndex& index)
{
    return index.isValid() ? index.data(InspectorSettingRole).toInt() : 0;
}

// The rest of the program expects colours it can read: six hexadecimal
// digits, nothing else.
bool IsAsciiHexDigit(QChar c)
{
    // QChar::isDigit would let full-width and Arabic-Indic digits through.
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

bool IsColorText(const QString& text)
{
    if (text.size() != 6)
        return false;
    for (const QChar c : text) {
        if (!IsAsciiHexDigit(c))
            return false;
    }
    return true;
}

// The font size the grid's pixel geometry was laid out for.
constexpr int DesignFontPixels = 11;

// The column border that shows every caption whole in the tree's font, the
// usual 100 pixels at least.
int SplitPosFittingCaptions(const QTreeView& tree, const tOIC& inspector)
{
    const QFontMetrics metrics(tree.font());
    const QAbstractItemModel& rows = *tree.model();
    int needed = 0;
    for (int row = 0; row < rows.rowCount(); ++row) {
        const QModelIndex group = rows.index(row, 0);
        needed = std::max(needed, inspector.CaptionLeft(0) + metrics.horizontalAdvance(group.data().toString()));
        for (int child = 0; child < rows.rowCount(group); ++child)
            needed = std::max(needed, inspector.CaptionLeft(1) +
                                          metrics.horizontalAdvance(rows.index(child, 0, group).data().toString()));
    }
    return std::max(inspector.Px(100), needed + 3);
}

// "Untermenü: Schriftgröße": the caption alone would not tell the two font
// groups apart.
QString RowName(const QModelIndex& index)
{
    const QString caption = index.data().toString();
    return index.parent().isValid() ? index.parent().data().toString() + QStringLiteral(": ") + caption : caption;
}

QString ChooserName(int kind)
{
    switch (kind) {
    case ikColor:
        return QStringLiteral("Farbe wählen");
    case ikFont:
        return QStringLiteral("Schriftart wählen");
    case ikPicture:
        return QStringLiteral("Bild wählen");
    default:
        return {};
    }
}

} // namespace

tOIC::tOIC(const InspectorControls& controls, Dialogs& dialogs, TqzHTML& document, ValueWriter writer)
    : c_(controls), dialogs_(dialogs), document_(document), writer_(std::move(writer)),
      scale_(std::max(1.0, QFontInfo(controls.tree->font()).pixelSize() / double(DesignFontPixels))),
      splitPos_(SplitPosFittingCaptions(*controls.tree, *this))
{
    c_.divider->setGeometry(splitPos_ + 1, 0, c_.divider->width(), c_.tree->viewport()->height());
    c_.divider->SetOwnerDraw(true);
    c_.divider->SetOnPaint([this](TMyPanel&, QPainter& painter) { PaintDivider(painter); });
    c_.divider->installEventFilter(this);
    c_.tree->viewport()->installEventFilter(this);
    c_.editor->installEventFilter(this);

    c_.tree->SetRowPainter(
        [this](QPainter& painter, const QRect& rect, const QModelIndex& index) { PaintRow(painter, rect, index); });
    c_.tree->SetSelectionGate([this](const QModelIndex&, const QModelIndex&) { return SelectionChanging(); });
    c_.tree->SetDoubleClickHandler([this](const QPoint& pos) { ToggleExpanded(pos); });
    c_.tree->SetValueTextSource([this](const QModelIndex& index) { return ValueText(index); });
    // The chooser is reached with Tab from the editor, not only with F4.
    c_.button->setFocusPolicy(Qt::TabFocus);
    QWidget::setTabOrder(c_.editor, c_.button);
    c_.button->installEventFilter(this);
    connect(c_.tree->selectionModel(), &QItemSelectionModel::currentChanged, this, &tOIC::SelectionChanged);
    for (const auto signal : {&QTreeView::expanded, &QTreeView::collapsed}) {
        connect(c_.tree, signal, this, [this] {
            LayoutEditor();
            Repaint();
        });
    }
    connect(c_.tree->verticalScrollBar(), &QScrollBar::valueChanged, this, &tOIC::LayoutEditor);
    connect(c_.button, &TMYButton::clicked, this, &tOIC::ChooserClicked);
    connect(c_.editor, &QLineEdit::textChanged, this, &tOIC::ShowNeed);
}

int tOIC::Px(int pixels) const
{
    return static_cast<int>(std::lround(pixels * scale_));
}

QString tOIC::ValueText(const QModelIndex& index) const
{
    const int setting = SettingOf(index);
    switch (KindOf(index)) {
    case ikText:
    case ikFont:
    case ikPicture:
        return DocumentTextToShow(document_.GetString(setting));
    case ikColor: {
        const TColor color = document_.GetColor(setting);
        return color == clNone ? QStringLiteral("(N/A)") : FromCp1252(ColorToText(color, true));
    }
    default:
        return {};
    }
}

bool tOIC::IsSelected(const QModelIndex& index) const
{
    return index.isValid() && index == c_.tree->currentIndex() && c_.tree->selectionModel()->isSelected(index);
}

void tOIC::SetSplitPos(int width)
{
    splitPos_ = width;
    c_.divider->move(width + 1, c_.divider->y());
}

void tOIC::Repaint()
{
    c_.tree->viewport()->update();
    c_.divider->update();
}

bool tOIC::Commit(int kind, int setting, const QString& text)
{
    if (text == baseline_)
        return true;
    switch (kind) {
    case ikText:
    case ikFont:
    case ikPicture:
        writer_.text(setting, text);
        break;
    case ikColor:
        if (!text.isEmpty() && !IsColorText(text))
            return false;
        writer_.color(setting, TextToColor(ToCp1252(text)));
        break;
    default:
        return false;
    }
    Repaint();
    c_.tree->AnnounceValue(c_.tree->currentIndex());
    return true;
}

bool tOIC::EditPending() const
{
    return editorKind_ != ikGroup && c_.editor->text() != baseline_;
}

// The editor counts as open on a page that is not shown: what it holds is
// still to be taken.
bool tOIC::CommitEditor()
{
    if (c_.editor->isHidden())
        return true;
    if (!Commit(editorKind_, SettingOf(c_.tree->currentIndex()), c_.editor->text())) {
        Refuse();
        return false;
    }
    baseline_ = c_.editor->text();
    return true;
}

bool tOIC::SelectionChanging()
{
    if (c_.editor->isHidden())
        return true;
    if (Commit(editorKind_, SettingOf(c_.tree->currentIndex()), c_.editor->text()))
        return true;
    Refuse();
    return false;
}

// The refused text stays in the editor, selected, to be mended.
void tOIC::Refuse()
{
    dialogs_.Message(c_.tree->window(), InvalidValueText);
    c_.editor->setFocus();
    c_.editor->selectAll();
}

void tOIC::SelectionChanged()
{
    HideEditor();
    LoadEditor(true);
    Repaint();
}

void tOIC::Reload()
{
    // An undo on another page must not pull the keyboard into a hidden
    // field, whose own undo would then take the next Ctrl+Z.
    if (!c_.editor->isHidden())
        LoadEditor(false);
    Repaint();
}

void tOIC::HideEditor()
{
    c_.editor->hide();
    c_.button->hide();
    c_.info->clear();
    editorKind_ = ikGroup;
    c_.need->clear();
}

void tOIC::LoadEditor(bool takeFocus)
{
    const QModelIndex index = c_.tree->currentIndex();
    const int kind = KindOf(index);
    const int setting = SettingOf(index);
    if (kind == ikGroup)
        return;
    editorKind_ = kind;
    buttonSetting_ = setting;
    // The length limit first: the limit of the row before would cut the text.
    // The baseline before the text: whoever hears of the change must not
    // take the document's own value for one being typed.
    if (kind == ikColor) {
        c_.editor->setMaxLength(6);
        baseline_ = FromCp1252(ColorToText(document_.GetColor(setting), false));
        c_.info->setText(FromCp1252(document_.GetColorPlaceholder(setting)));
    } else {
        c_.editor->setMaxLength(NoLengthLimit);
        baseline_ = DocumentTextToShow(document_.GetString(setting));
        c_.info->setText(FromCp1252(document_.GetStringPlaceholder(setting)));
    }
    c_.editor->setText(baseline_);
    if (kind != ikText) {
        QFont font = c_.button->font();
        font.setFamily(kind == ikFont ? QStringLiteral("Marlett") : QStringLiteral("Arial"));
        c_.button->setFont(font);
        c_.button->SetCaption(kind == ikFont ? QStringLiteral("6") : QStringLiteral("···"));
    }
    c_.editor->setToolTip(LengthNeed(setting));
    ShowNeed();
    NameEditor(index);
    LayoutEditor();
    c_.editor->show();
    c_.button->setVisible(kind != ikText);
    c_.editor->selectAll();
    if (takeFocus)
        c_.editor->setFocus();
}

void tOIC::NameEditor(const QModelIndex& index)
{
    c_.editor->setAccessibleName(RowName(index));
    const QString need = c_.editor->toolTip();
    c_.editor->setAccessibleDescription(need.isEmpty() ? c_.info->text() : c_.info->text() + QLatin1Char(' ') + need);
    const QString chooser = ChooserName(KindOf(index));
    c_.button->setAccessibleName(chooser);
    c_.button->setToolTip(chooser);
}

void tOIC::ShowNeed()
{
    if (editorKind_ == ikGroup)
        return;
    const QString warning = MissingUnitWarning(buttonSetting_, c_.editor->text());
    c_.need->setText(warning.isEmpty() ? c_.editor->toolTip() : warning);
}

void tOIC::LayoutEditor()
{
    if (editorKind_ == ikGroup)
        return;
    const QRect row = c_.tree->RowRect(c_.tree->currentIndex()).translated(c_.tree->viewport()->pos());
    const int top = row.top() + Px(3);
    const int height = row.height() - Px(3);
    const int rowWidth = row.width();
    const int split = row.left() + splitPos_;
    if (editorKind_ == ikText) {
        c_.editor->setGeometry(split + Px(4), top, rowWidth - splitPos_ - Px(3), height);
        return;
    }
    const int buttonWidth = height;
    if (editorKind_ == ikColor)
        c_.editor->setGeometry(split + Px(29), top, rowWidth - splitPos_ - Px(28) - buttonWidth, height);
    else
        c_.editor->setGeometry(split + Px(4), top, rowWidth - splitPos_ - Px(3) - buttonWidth, height);
    c_.button->setGeometry(c_.editor->x() + c_.editor->width(), top, buttonWidth, height);
}

void tOIC::ToggleExpanded(const QPoint& viewportPos)
{
    const QModelIndex index = c_.tree->indexAt(viewportPos);
    if (!index.isValid() || !c_.tree->model()->hasChildren(index))
        return;
    c_.tree->setExpanded(index, !c_.tree->isExpanded(index));
}

bool tOIC::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == c_.editor && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (EditorKey(key->key()))
            return true;
        if (editorKind_ == ikColor && !(key->modifiers() & Qt::ControlModifier))
            return FilterColorCharacter(key->text());
    } else if (watched == c_.button && event->type() == QEvent::KeyPress) {
        // A focused button opens its chooser with Enter as with the space bar.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ChooserClicked();
            return true;
        }
    } else if (watched == c_.divider) {
        return DividerMouse(event);
    } else if (watched == c_.tree->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // A click on the row already selected opens no editor anew, but the
        // keyboard belongs in its editor all the same.
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (editorKind_ != ikGroup && c_.tree->indexAt(at) == c_.tree->currentIndex())
            c_.editor->setFocus();
    } else if (watched == c_.tree->viewport() && event->type() == QEvent::Resize) {
        c_.divider->resize(c_.divider->width(), c_.tree->viewport()->height());
        LayoutEditor();
    }
    return false;
}

bool tOIC::EditorKey(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        CommitEditor(); // a refused value was reported and stays in the editor
        c_.editor->selectAll();
        return true;
    case Qt::Key_Escape:
        c_.editor->setText(baseline_);
        c_.editor->selectAll();
        return true;
    case Qt::Key_F4:
        // The chooser behind the button, as F4 opens the list of a combo box.
        if (c_.button->isVisible())
            ChooserClicked();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        // The tree moves its selection, and the commit check runs there.
        c_.tree->setFocus();
        QCoreApplication::postEvent(c_.tree, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
        return true;
    default:
        return false;
    }
}

// Colour rows take hexadecimal digits (letters in upper case), "$" and
// backspace; everything else typed is dropped. Keys without a printable
// character (moving, deleting, Tab to the chooser) pass. Returns true when
// the key is consumed.
bool tOIC::FilterColorCharacter(const QString& text)
{
    if (text.size() != 1 || !text.front().isPrint())
        return false;
    const QChar c = text.front();
    if (c == u'\b' || (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || c == u'$')
        return false;
    if (c >= u'a' && c <= u'f')
        c_.editor->insert(QString(c.toUpper()));
    return true;
}

// The divider's mouse events are all its own: none reaches the grid below.
bool tOIC::DividerMouse(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        grabX_ = static_cast<QMouseEvent*>(event)->position().toPoint().x();
        dragging_ = true;
        return true;
    case QEvent::MouseMove: {
        if (!dragging_)
            return true;
        const int left = c_.divider->x() + static_cast<QMouseEvent*>(event)->position().toPoint().x() - grabX_;
        if (left < MinColWidth || left > c_.tree->width() - MinColWidth)
            return true;
        c_.divider->move(left, c_.divider->y());
        splitPos_ = left - 1;
        LayoutEditor();
        Repaint();
        return true;
    }
    case QEvent::MouseButtonRelease:
        dragging_ = false;
        return true;
    case QEvent::MouseButtonDblClick:
        return true;
    default:
        return false;
    }
}

void tOIC::ChooserClicked()
{
    switch (editorKind_) {
    case ikColor:
        ChooseColor();
        break;
    case ikFont:
        ChooseFont();
        break;
    case ikPicture:
        ChoosePicture();
        break;
    default:
        break;
    }
    c_.editor->setFocus();
}

// Starts from the stored colour, not from the editor's text.
void tOIC::ChooseColor()
{
    if (const auto color = dialogs_.ChooseColor(c_.tree->window(), document_.GetColor(buttonSetting_)))
        c_.editor->setText(FromCp1252(ColorToText(*color, false)));
}

void tOIC::ChooseFont()
{
    const QPoint origin = c_.editor->mapToGlobal(QPoint(0, 0));
    const QRect anchor(
        QPoint(origin.x() - 2, origin.y()),
        QPoint(origin.x() + c_.editor->width() + c_.button->width() - 1, origin.y() + c_.editor->height() - 1));
    if (choiceList_)
        choiceList_->close();
    choiceList_ = ShowChoiceList(FontFamilyNames(), anchor, c_.editor, c_.button, listClosed_);
}

void tOIC::ChoosePicture()
{
    const std::string output = document_.GetFileSetting(fsFilename);
    const auto chosen = dialogs_.OpenFile(c_.tree->window(), PictureFilter(), FromCp1252(ExtractFilePath(output)), {});
    if (!chosen)
        return;
    const std::string file = ToCp1252(*chosen);
    std::string result = output.empty() ? ExtractFileName(file) : MakeRelativePath(ExtractFilePath(output), file);
    ReplaceAll(result, "\\", "/", true);
    c_.editor->setText(FromCp1252(result));
}

} // namespace tw
