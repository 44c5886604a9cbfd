#pragma once

#include <QObject>

class QAbstractItemView;
class QKeyEvent;

namespace tw {

// A view that gets the focus marks its first row as current without
// selecting it, so the first arrow key would select the second row. While
// nothing is selected, the first key that moves in the view selects the
// current row (or the first) instead; true when it did.
bool SelectCurrentOnFirstMove(QAbstractItemView& view, const QKeyEvent& event);

// The same for a view of Qt's own, as an event filter on it.
class FirstMoveSelects : public QObject {
    Q_OBJECT
public:
    explicit FirstMoveSelects(QAbstractItemView* view);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace tw
