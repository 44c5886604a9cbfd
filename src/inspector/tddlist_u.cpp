#include "inspector/tddlist_u.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>

namespace tw {
namespace {

// Every row is exactly one item height, whatever the font asks for.
class RowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), ChoiceListItemHeight};
    }
};

int VisibleRows(int count)
{
    return std::clamp(count, 1, ChoiceListMaxRows);
}

int IndexOfText(const QStringList& strings, const QString& text)
{
    const auto found = std::find_if(strings.begin(), strings.end(),
                                    [&](const QString& item) { return item.compare(text, Qt::CaseInsensitive) == 0; });
    return found == strings.end() ? 0 : static_cast<int>(found - strings.begin());
}

} // namespace

int ChoiceListHeight(int count)
{
    return VisibleRows(count) * ChoiceListItemHeight + 2;
}

QRect ChoiceListGeometry(const QRect& anchor, int count, int screenBottom)
{
    const int height = ChoiceListHeight(count);
    const int anchorBottom = anchor.y() + anchor.height();
    const int top = anchorBottom + height < screenBottom ? anchorBottom - 1 : anchor.y() - height + 1;
    return {anchor.x(), top, anchor.width(), height};
}

Tddlist::Tddlist(QLineEdit* target, QWidget* opener)
    : QWidget(nullptr, Qt::Popup | Qt::FramelessWindowHint), listBox_(new QListWidget(this)), target_(target),
      opener_(opener)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QGuiApplication::applicationDisplayName());
    // The black background shows as the 1-pixel frame around the list.
    QPalette frame = palette();
    frame.setColor(QPalette::Window, Qt::black);
    setPalette(frame);
    setAutoFillBackground(true);
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(11);
    setFont(font);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(listBox_);
    listBox_->setObjectName(QStringLiteral("ListBox1"));
    listBox_->setFrameShape(QFrame::NoFrame);
    listBox_->setSelectionMode(QAbstractItemView::SingleSelection);
    listBox_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    listBox_->setUniformItemSizes(true);
    listBox_->setItemDelegate(new RowDelegate(listBox_));
    listBox_->installEventFilter(this);
    listBox_->viewport()->installEventFilter(this);
    // The popup hands its keys to its focus widget.
    listBox_->setFocus();

    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            close();
    });
}

Tddlist::~Tddlist() = default;

void Tddlist::Choose()
{
    if (target_ && listBox_->currentItem())
        target_->setText(listBox_->currentItem()->text());
    close();
}

void Tddlist::closeEvent(QCloseEvent* event)
{
    disconnect(qApp, nullptr, this, nullptr);
    if (opener_)
        opener_->setEnabled(true);
    // Typing goes on in the edit box the list belongs to.
    if (target_)
        target_->setFocus();
    event->accept();
}

bool Tddlist::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == listBox_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Choose();
            return true;
        }
        if (key == Qt::Key_Escape) {
            close();
            return true;
        }
    }
    if (watched == listBox_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            if (QListWidgetItem* item = listBox_->itemAt(mouse->position().toPoint()))
                listBox_->setCurrentItem(item);
        }
        Choose();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

Tddlist* ShowChoiceList(const QStringList& strings, const QRect& rectangle, QLineEdit* target, QWidget* opener,
                        bool& showing)
{
    auto* list = new Tddlist(target, opener);
    list->listBox_->addItems(strings);

    const QScreen* screen = target ? target->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen->geometry();
    list->setGeometry(ChoiceListGeometry(rectangle, static_cast<int>(strings.size()), area.y() + area.height()));

    int firstVisible = 0;
    if (!strings.isEmpty()) {
        const int selected = IndexOfText(strings, target ? target->text() : QString());
        list->listBox_->setCurrentRow(selected);
        // The current choice becomes the lowest visible row.
        firstVisible = std::max(0, selected - VisibleRows(static_cast<int>(strings.size())) + 1);
    }
    if (opener)
        opener->setEnabled(false);

    showing = false;
    list->show();
    showing = true;
    // Scrolling needs the laid-out list, which showing provides.
    if (QListWidgetItem* first = list->listBox_->item(firstVisible))
        list->listBox_->scrollToItem(first, QAbstractItemView::PositionAtTop);
    return list;
}

} // namespace tw
