#pragma once

#include <QTreeView>

#include <functional>

namespace tw {

// A tree view whose painting, selection moves, double-clicks and expanding
// are handed to handlers that the object driving it installs. Without a
// handler it behaves as a plain tree view; with them it is the base of a
// property grid that paints every row itself.
class GridTreeView : public QTreeView {
    Q_OBJECT
public:
    // Paints one row: rect spans the row over the whole viewport width.
    using RowPainter = std::function<void(QPainter& painter, const QRect& rect, const QModelIndex& index)>;
    // Asked before the current row moves from one index to another; false
    // keeps it where it is.
    using SelectionGate = std::function<bool(const QModelIndex& from, const QModelIndex& to)>;
    using DoubleClickHandler = std::function<void(const QPoint& viewportPos)>;
    // The value a row shows, as a screen reader is to read it.
    using ValueTextSource = std::function<QString(const QModelIndex& index)>;

    explicit GridTreeView(QWidget* parent = nullptr);

    void SetRowPainter(RowPainter painter) { rowPainter_ = std::move(painter); }
    void SetSelectionGate(SelectionGate gate) { selectionGate_ = std::move(gate); }
    void SetDoubleClickHandler(DoubleClickHandler handler) { doubleClick_ = std::move(handler); }
    void SetValueTextSource(ValueTextSource source) { valueText_ = std::move(source); }

    QString ValueText(const QModelIndex& index) const { return valueText_ ? valueText_(index) : QString(); }
    // Tells a screen reader that the row's value changed.
    void AnnounceValue(const QModelIndex& index);

    // Moves the current row as a click would, through the selection gate.
    bool SelectRow(const QModelIndex& index);
    // The rectangle of a row over the whole viewport width.
    QRect RowRect(const QModelIndex& index) const;

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyboardSearch(const QString& search) override;

private:
    bool MayMoveTo(const QModelIndex& to);

    RowPainter rowPainter_;
    SelectionGate selectionGate_;
    DoubleClickHandler doubleClick_;
    ValueTextSource valueText_;
};

} // namespace tw
