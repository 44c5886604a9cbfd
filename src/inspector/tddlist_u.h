#pragma once

#include <QPointer>
#include <QRect>
#include <QStringList>
#include <QWidget>

class QLineEdit;
class QListWidget;

namespace tw {

inline constexpr int ChoiceListItemHeight = 13;
inline constexpr int ChoiceListMaxRows = 8;

// Height of a choice list with count strings: one row per string, at most
// eight, at least one, plus the 1-pixel frame above and below.
int ChoiceListHeight(int count);
// Where a list of count strings goes. anchor spans the list's left and right
// edge and the edit box's top and bottom (screen pixels; an ordinary QRect,
// so its exclusive edges are x + width and y + height). The list goes below
// the edit box, overlapping its lower edge by a pixel, unless it would reach
// screenBottom (the screen's exclusive lower edge); then it goes above,
// overlapping the edit box's upper edge by a pixel.
QRect ChoiceListGeometry(const QRect& anchor, int count, int screenBottom);

// The borderless popup list below (or above) an edit box. It commits
// nothing: a choice only replaces the target's text.
class Tddlist : public QWidget {
    Q_OBJECT
public:
    QListWidget* ListBox1() const { return listBox_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend Tddlist* ShowChoiceList(const QStringList&, const QRect&, QLineEdit*, QWidget*, bool&);
    Tddlist(QLineEdit* target, QWidget* opener);
    ~Tddlist() override;

    // Puts the selected string into the target and closes.
    void Choose();

    QListWidget* listBox_;
    QPointer<QLineEdit> target_;
    QPointer<QWidget> opener_;
};

// Shows the strings in a list attached to rectangle (see ChoiceListGeometry)
// on the screen of the target. Returns as soon as the list is on screen;
// Enter or a mouse release puts the selected string into target, Escape or
// losing the activation closes without a choice. The opener is disabled
// while the list is open; showing is false while the list is being shown.
// A list without strings shows one empty row, and choosing from it leaves
// the target as it is. The list deletes itself once closed; the caller
// keeps one list open at a time.
Tddlist* ShowChoiceList(const QStringList& strings, const QRect& rectangle, QLineEdit* target, QWidget* opener,
                        bool& showing);

} // namespace tw
