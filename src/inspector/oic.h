#pragma once

#include "document/ccolor.h"
#include "inspector/tddlist_u.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QLabel;
class QLineEdit;
class QModelIndex;
class QPainter;
class QRect;

namespace tw {

class Dialogs;
class GridTreeView;
class TMYButton;
class TMyPanel;
class TqzHTML;

// Editor kinds of the rows; a row carries its kind and setting number in
// the item data roles below.
enum InspectorKind { ikGroup = 0, ikText = 1, ikColor = 2, ikFont = 3, ikPicture = 4 };
inline constexpr int InspectorSettingRole = Qt::UserRole + 1;
inline constexpr int InspectorKindRole = Qt::UserRole + 2;

// The controls of the "Layout" page that the inspector drives. They belong to
// the page; the editor and the button are children of the tree, laid over
// its viewport (so that a screen reader finds them beside the rows), the
// divider is a child of the viewport.
struct InspectorControls {
    GridTreeView* tree = nullptr;
    QLineEdit* editor = nullptr;
    TMYButton* button = nullptr;
    QLineEdit* info = nullptr;
    // Below the placeholder: what the selected setting needs, or what is
    // wrong with the text in the editor.
    QLabel* need = nullptr;
    TMyPanel* divider = nullptr;
};

// Turns a tree view into a two-column property grid for the layout settings
// of the document: captions on the left, values on the right, an in-place
// editor with a chooser button on the selected row, the placeholder of the
// selected setting in the info box, and a divider to drag between the two
// columns. Values are written into the document when committed: by Enter or
// by leaving the row.
class tOIC : public QObject {
    Q_OBJECT
public:
    // Where committed values go: the owner's history.
    struct ValueWriter {
        std::function<void(int setting, TColor color)> color;
        std::function<void(int setting, const QString& text)> text;
    };

    tOIC(const InspectorControls& controls, Dialogs& dialogs, TqzHTML& document, ValueWriter writer);

    int SplitPos() const { return splitPos_; }
    void SetSplitPos(int width);
    // False only while the font list is being shown.
    bool ListClosed() const { return listClosed_; }

    // Commits the editor's text; false when the text was refused (the
    // message has been shown).
    bool CommitEditor();
    // Fills the editor anew from the document (after New, Open, undo or
    // redo), also while the page is not shown; the focus stays where it is.
    void Reload();
    // True while the editor holds text that is not yet committed.
    bool EditPending() const;

    // The row editor's text as it was last loaded or committed.
    const QString& Baseline() const { return baseline_; }

    static constexpr int MinColWidth = 30;
    // The grid's pixel geometry was laid out for an 11-pixel font and grows
    // with a larger one.
    int Px(int pixels) const;
    // Where a row's caption starts: behind its expand box, indented by level.
    int CaptionLeft(int level) const { return Px(17 + 15 * level); }
    // A row's value as an unselected row shows it; empty for a group.
    QString ValueText(const QModelIndex& index) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Commit(int kind, int setting, const QString& text);
    bool SelectionChanging();
    void Refuse();
    void SelectionChanged();
    // Fills the editor from the document for the selected row and shows it;
    // the editor takes the focus when the user chose the row.
    void LoadEditor(bool takeFocus);
    // Places the editor and the button on the selected row.
    void LayoutEditor();
    void HideEditor();
    // The row the user selected; the tree marks a row current without
    // selecting it when it gets the focus.
    bool IsSelected(const QModelIndex& index) const;
    // Names the editor and the chooser button after the row, for a screen
    // reader.
    void NameEditor(const QModelIndex& index);
    // Says what the setting needs, or warns of a size without a unit.
    void ShowNeed();
    void Repaint();
    void PaintRow(QPainter& painter, const QRect& rect, const QModelIndex& index) const;
    void PaintDivider(QPainter& painter) const;
    void ToggleExpanded(const QPoint& viewportPos);
    bool EditorKey(int key);
    bool FilterColorCharacter(const QString& text);
    bool DividerMouse(QEvent* event);
    void ChooseColor();
    void ChooseFont();
    void ChoosePicture();
    void ChooserClicked();

    InspectorControls c_;
    Dialogs& dialogs_;
    TqzHTML& document_;
    ValueWriter writer_;
    double scale_;
    int splitPos_;
    int grabX_ = 0;
    bool dragging_ = false;
    bool listClosed_ = true;
    // The font list while it is open: one at a time.
    QPointer<Tddlist> choiceList_;
    QString baseline_;
    // The kind of the row the editor was loaded for, and its setting.
    int editorKind_ = ikGroup;
    int buttonSetting_ = 0;
};

} // namespace tw
