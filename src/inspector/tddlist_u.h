#pragma once

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
// Where a list of that height goes on a screen of screenHeight pixels:
// below the edit box (anchor: left and right of the list, top and bottom of
// the edit box, screen pixels), overlapping its lower edge by a pixel, or
// above it when it would reach the screen's bottom.
QRect ChoiceListGeometry(const QRect& anchor, int count, int screenHeight);

// The borderless popup list below (or above) an edit box. It commits
// nothing: a choice only replaces the target's text.
class Tddlist : public QWidget {
    Q_OBJECT
public:
    QListWidget* ListBox1() const { return listBox_; }

    // The list that is open now, or null.
    static Tddlist* Current();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend void ShowChoiceList(const QStringList&, const QRect&, QLineEdit*, QWidget*, bool&);
    Tddlist();
    ~Tddlist() override;

    QListWidget* listBox_;
};

// Shows the strings in a list attached to rectangle (screen pixels: the
// list's left and right edge, the edit box's top and bottom). Returns as soon
// as the list is on screen; Enter or a mouse release puts the selected string
// into target, Escape or losing the activation closes without a choice.
// The opener is disabled while the list is open; showing is false while the
// list is being shown.
void ShowChoiceList(const QStringList& strings, const QRect& rectangle, QLineEdit* target, QWidget* opener,
                    bool& showing);

} // namespace tw
