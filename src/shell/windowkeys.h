#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

class QKeySequence;
class QTabWidget;
class QWidget;

namespace tw {

// Ctrl+Tab and Ctrl+PgDown go to the next page of the window, Ctrl+Shift+Tab
// and Ctrl+PgUp to the one before, wrapping around, whichever control has the
// focus. Pages that are page controls themselves count with their pages, so
// the keys visit every page in the order of their tabs.
class PageKeys : public QObject {
    Q_OBJECT
public:
    PageKeys(QWidget* window, QTabWidget* pages);

    // The control that takes the focus when the page is shown by a key and
    // none of its controls had it before.
    void setFirstControl(QWidget* page, QWidget* control) { firstControls_.insert(page, control); }
    // Shows the page steps pages away from the current one.
    void step(int steps);

private:
    QTabWidget* pages_;
    QHash<QWidget*, QWidget*> firstControls_;
    // The control that had the focus when a key left the page.
    QHash<QWidget*, QPointer<QWidget>> leftControls_;
};

// The hint of a command, followed in parentheses by its key as the German
// keyboard labels it ("Strg+Umschalt+S", "Entf"), when it has one.
QString HintWithKey(const QString& hint, const QKeySequence& key);

// Shift+F10 opens the context menu of the focused control, at its current
// item, as the menu key does.
void AddContextMenuKey(QWidget* window);

} // namespace tw
