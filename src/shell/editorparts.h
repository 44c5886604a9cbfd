#pragma once

#include <QTreeView>

#include <functional>

namespace tw {

// A tree view that drags its selected item within itself and leaves every
// decision to its owner. Only its own drags are accepted.
class DragTreeView : public QTreeView {
    Q_OBJECT
public:
    // Points are in viewport coordinates.
    struct DragHandlers {
        std::function<void()> started;
        std::function<bool(const QPoint&)> accepts;
        std::function<void(const QPoint&)> dropped;
        // Optional: the drag ended without a drop inside the view.
        std::function<void(const QPoint&)> endedElsewhere;
        // Optional: where an accepted drop would put the dragged row, shown
        // while the drag moves: a rectangle to frame (the row it goes
        // into), or one of height 0 for a line (the gap it goes into).
        std::function<QRect(const QPoint&)> mark;
    };

    explicit DragTreeView(QWidget* parent = nullptr);
    void setDragHandlers(DragHandlers handlers) { handlers_ = std::move(handlers); }

    // Takes a caption being edited in place, as leaving the editor would.
    void finishEditing();
    bool editing() const { return state() == EditingState; }
    // The one column fills the view or, for longer captions, grows to the
    // widest of them, so that the view scrolls sideways instead of cutting
    // captions short.
    void scrollToLongCaptions();

    // The two halves around the platform's drag loop, public so that a drag
    // can be driven without it.
    void beginDrag();
    void endDrag(const QPoint& releasePoint);

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    // Opens index and every item below it that has items of its own, as "*"
    // does; leaves are not marked open, so that a large tree keeps one mark
    // per branch.
    void expandBranches(const QModelIndex& index);

protected:
    // Tab ends the edit of this caption only: opening the next one with its
    // text selected would put it under the user's next keystroke.
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // A press that cannot start a drag (on the root or on empty space) does
    // not select the nodes the mouse then passes over.
    void mouseMoveEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool accepts(const QPoint& point) const;
    void setMark(const QRect& mark);

    DragHandlers handlers_;
    bool dragging_ = false;
    bool dropped_ = false;
    bool pressedOnDraggable_ = false;
    bool scrollsToLongCaptions_ = false;
    QRect mark_;
};

} // namespace tw
