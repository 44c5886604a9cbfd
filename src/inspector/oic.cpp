#include "inspector/oic.h"

#include "document/ccolor.h"
#include "document/cstring.h"
#include "document/qzhtml.h"
#include "document/relativepath.h"
#include "guibase/dialogs.h"
#include "guibase/documenttext.h"
#include "guibase/qtcodec.h"
#include "inspector/gridtreeview.h"
#include "inspector/mybutton.h"
#include "inspector/mypanel.h"
#include "platform/paths.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>

namespace tw {
namespace {

// The edit box's own limit, which is none in practice.
constexpr int NoLengthLimit = 32767;

const QString InvalidValueText = QStringLiteral("Ungültiger Wert!");
const QString PictureFilter =
    QStringLiteral("GIF (*.gif)|*.gif|JPEG (*.jpg, *.jpeg)|*.jpg;*.jpeg|Alle Dateien (*.*)|*.*");

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
bool IsColorText(const QString& text)
{
    if (text.size() != 6)
        return false;
    for (const QChar c : text) {
        if (!c.isDigit() && !(c >= u'A' && c <= u'F') && !(c >= u'a' && c <= u'f'))
            return false;
    }
    return true;
}

// The column border that shows every caption whole in the tree's font, the
// usual 100 pixels at least.
int SplitPosFittingCaptions(const QTreeView& tree)
{
    const QFontMetrics metrics(tree.font());
    const QAbstractItemModel& rows = *tree.model();
    int needed = 0;
    for (int row = 0; row < rows.rowCount(); ++row) {
        const QModelIndex group = rows.index(row, 0);
        needed = std::max(needed, tOIC::CaptionLeft(0) + metrics.horizontalAdvance(group.data().toString()));
        for (int child = 0; child < rows.rowCount(group); ++child)
            needed = std::max(needed, tOIC::CaptionLeft(1) +
                                          metrics.horizontalAdvance(rows.index(child, 0, group).data().toString()));
    }
    return std::max(100, needed + 3);
}

} // namespace

tOIC::tOIC(const InspectorControls& controls, Dialogs& dialogs, TqzHTML& document)
    : c_(controls), dialogs_(dialogs),
      document_(document), writer_{[this](int setting, TColor color) { document_.SetColor(setting, color); },
                                   [this](int setting, const QString& text) {
                                       document_.SetString(setting, TextToDocument(text));
                                   }},
      splitPos_(SplitPosFittingCaptions(*controls.tree))
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
    connect(c_.tree->selectionModel(), &QItemSelectionModel::currentChanged, this, &tOIC::SelectionChanged);
    for (const auto signal : {&QTreeView::expanded, &QTreeView::collapsed}) {
        connect(c_.tree, signal, this, [this] {
            LayoutEditor();
            Repaint();
        });
    }
    connect(c_.tree->verticalScrollBar(), &QScrollBar::valueChanged, this, &tOIC::LayoutEditor);
    connect(c_.button, &TMYButton::clicked, this, &tOIC::ChooserClicked);
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
        Repaint();
        return true;
    case ikColor:
        if (!text.isEmpty() && !IsColorText(text))
            return false;
        writer_.color(setting, TextToColor(ToCp1252(text)));
        Repaint();
        return true;
    default:
        return false;
    }
}

bool tOIC::CommitEditor()
{
    if (!c_.editor->isVisible())
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
    if (!c_.editor->isVisible())
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
    LoadEditor();
    Repaint();
}

void tOIC::Reload()
{
    if (c_.editor->isVisible())
        LoadEditor();
    Repaint();
}

void tOIC::HideEditor()
{
    c_.editor->hide();
    c_.button->hide();
    c_.info->clear();
    editorKind_ = ikGroup;
}

void tOIC::LoadEditor()
{
    const QModelIndex index = c_.tree->currentIndex();
    const int kind = KindOf(index);
    const int setting = SettingOf(index);
    if (kind == ikGroup)
        return;
    editorKind_ = kind;
    buttonSetting_ = setting;
    // The length limit first: the limit of the row before would cut the text.
    if (kind == ikColor) {
        c_.editor->setMaxLength(6);
        c_.editor->setText(FromCp1252(ColorToText(document_.GetColor(setting), false)));
        c_.info->setText(FromCp1252(document_.GetColorPlaceholder(setting)));
    } else {
        c_.editor->setMaxLength(NoLengthLimit);
        c_.editor->setText(FromCp1252(document_.GetString(setting)));
        c_.info->setText(FromCp1252(document_.GetStringPlaceholder(setting)));
    }
    if (kind != ikText) {
        QFont font = c_.button->font();
        font.setFamily(kind == ikFont ? QStringLiteral("Marlett") : QStringLiteral("Arial"));
        c_.button->setFont(font);
        c_.button->SetCaption(kind == ikFont ? QStringLiteral("6") : QStringLiteral("···"));
    }
    LayoutEditor();
    c_.editor->show();
    c_.button->setVisible(kind != ikText);
    baseline_ = c_.editor->text();
    c_.editor->setFocus();
    c_.editor->selectAll();
}

void tOIC::LayoutEditor()
{
    if (editorKind_ == ikGroup)
        return;
    const QRect row = c_.tree->RowRect(c_.tree->currentIndex());
    const int top = row.top() + 3;
    const int height = row.height() - 3;
    const int rowWidth = row.width();
    if (editorKind_ == ikText) {
        c_.editor->setGeometry(splitPos_ + 4, top, rowWidth - splitPos_ - 3, height);
        return;
    }
    const int buttonWidth = height;
    if (editorKind_ == ikColor)
        c_.editor->setGeometry(splitPos_ + 29, top, rowWidth - splitPos_ - 28 - buttonWidth, height);
    else
        c_.editor->setGeometry(splitPos_ + 4, top, rowWidth - splitPos_ - 3 - buttonWidth, height);
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
    } else if (watched == c_.divider) {
        return DividerMouse(event);
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
// backspace; everything else typed is dropped. Keys without a character
// (moving, deleting) pass. Returns true when the key is consumed.
bool tOIC::FilterColorCharacter(const QString& text)
{
    if (text.size() != 1)
        return false;
    const QChar c = text.front();
    if (c == u'\b' || c.isDigit() || (c >= u'A' && c <= u'F') || c == u'$')
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
    choiceList_ = ShowChoiceList(QFontDatabase::families(), anchor, c_.editor, c_.button, listClosed_);
}

void tOIC::ChoosePicture()
{
    const std::string output = document_.GetFileSetting(fsFilename);
    const auto chosen = dialogs_.OpenFile(c_.tree->window(), PictureFilter, FromCp1252(ExtractFilePath(output)), {});
    if (!chosen)
        return;
    const std::string file = ToCp1252(*chosen);
    std::string result = output.empty() ? ExtractFileName(file) : MakeRelativePath(ExtractFilePath(output), file);
    ReplaceAll(result, "\\", "/", true);
    c_.editor->setText(FromCp1252(result));
}

} // namespace tw
