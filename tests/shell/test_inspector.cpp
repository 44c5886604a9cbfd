#include "shell_test_support.h"

#include "document/qzhtml.h"
#include "guibase/documenttext.h"
#include "guibase/qtcodec.h"
#include "inspector/gridtreeview.h"
#include "inspector/mybutton.h"
#include "inspector/mypanel.h"
#include "inspector/oic.h"
#include "inspector/tddlist_u.h"
#include "shell/layoutpage.h"

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

namespace tw::shelltest {
namespace {

constexpr int PageWidth = 438;
// Where a caption below a group starts with the 11-pixel font: behind the
// expand box, one indent in.
constexpr int CaptionLeftOnLevel1 = 32;

// The application's font at a pixel size while it lives: the grid takes
// it when the page is made.
class ApplicationFont {
public:
    explicit ApplicationFont(int pixels) : before_(QApplication::font())
    {
        QFont font = before_;
        font.setPixelSize(pixels);
        QApplication::setFont(font);
    }
    ~ApplicationFont() { QApplication::setFont(before_); }
    ApplicationFont(const ApplicationFont&) = delete;
    ApplicationFont& operator=(const ApplicationFont&) = delete;

private:
    QFont before_;
};

// The "Layout" page with its inspector on a document of its own.
class InspectorTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        page_.resize(PageWidth, 400);
        page_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page_));
        inspector_ = std::make_unique<tOIC>(page_.Controls(), dialogs_, document_, DirectWriter());
    }
    // The owner's history stands aside here: values go straight in.
    tOIC::ValueWriter DirectWriter()
    {
        return {[this](int setting, TColor color) { document_.SetColor(setting, color); },
                [this](int setting, const QString& text) { document_.SetString(setting, EncodeText(text).bytes); }};
    }
    void TearDown() override { inspector_.reset(); }

    GridTreeView& Tree() { return *page_.Controls().tree; }
    QLineEdit& Editor() { return *page_.Controls().editor; }
    TMYButton& Button() { return *page_.Controls().button; }
    QString Info() { return page_.Controls().info->text(); }

    // The row with that caption, below the group with that caption when given.
    QModelIndex Row(const QString& caption, const QString& group = {})
    {
        const QAbstractItemModel& model = *Tree().model();
        QModelIndex parent;
        if (!group.isEmpty())
            parent = model.match(model.index(0, 0), Qt::DisplayRole, group, 1, Qt::MatchExactly).value(0);
        return model.match(model.index(0, 0, parent), Qt::DisplayRole, caption, 1, Qt::MatchExactly).value(0);
    }
    void DoubleClick(const QModelIndex& index)
    {
        QTest::mouseDClick(Tree().viewport(), Qt::LeftButton, {}, Tree().RowRect(index).center());
    }
    void Click(const QModelIndex& index)
    {
        QTest::mouseClick(Tree().viewport(), Qt::LeftButton, {}, Tree().RowRect(index).center());
    }
    // Opens the group and selects the row below it.
    void Select(const QString& caption, const QString& group = {})
    {
        if (!group.isEmpty() && !Tree().isExpanded(Row(group)))
            DoubleClick(Row(group));
        Click(Row(caption, group));
        ASSERT_EQ(Tree().currentIndex(), Row(caption, group));
    }
    void Type(const QString& text)
    {
        Editor().selectAll();
        QTest::keyClicks(&Editor(), text);
    }
    QImage Grab() { return Tree().viewport()->grab().toImage(); }
    static QRgb Pixel(const QImage& image, int x, int y) { return image.pixel(x, y); }
    QRgb Palette(QPalette::ColorRole role) { return Tree().palette().color(role).rgb(); }

    ScriptedDialogs dialogs_;
    TqzHTML document_;
    // The font the grid's pixel geometry was laid out for.
    ApplicationFont font_{11};
    LayoutPage page_;
    std::unique_ptr<tOIC> inspector_;
};

// The caption column starts wide enough for the longest caption in the grid's
// font, so that none is cut ("Hintergrundbild", "besuchter Link").
TEST_F(InspectorTest, CaptionColumnFitsEveryCaption)
{
    const QFontMetrics metrics(Tree().font());
    for (const auto& [caption, group] : {std::pair{QStringLiteral("Hintergrundbild"), QString()},
                                         {QStringLiteral("besuchter Link"), QStringLiteral("Farben")},
                                         {QStringLiteral("Schriftgröße"), QStringLiteral("Untermenü")}}) {
        Select(caption, group);
        const int left = inspector_->CaptionLeft(group.isEmpty() ? 0 : 1);
        EXPECT_LT(left + metrics.horizontalAdvance(caption), inspector_->SplitPos()) << caption.toStdString();
    }
    EXPECT_GE(inspector_->SplitPos(), 100);
}

// Groups open and close by double-click and by the keys of a tree, so that
// every setting can be reached from the keyboard.
TEST_F(InspectorTest, GroupsStartCollapsedAndOpenByDoubleClickOrKeys)
{
    const QModelIndex colours = Row(QStringLiteral("Farben"));
    for (const QModelIndex& group : {Row(QStringLiteral("Menüpunkt")), Row(QStringLiteral("Untermenü")), colours})
        EXPECT_FALSE(Tree().isExpanded(group));
    Click(colours);
    QTest::keyClick(&Tree(), Qt::Key_Right);
    EXPECT_TRUE(Tree().isExpanded(colours));
    QTest::keyClick(&Tree(), Qt::Key_Right);
    EXPECT_EQ(Tree().currentIndex(), Row(QStringLiteral("Text"), QStringLiteral("Farben")));
    QTest::keyClick(&Tree(), Qt::Key_Left);
    EXPECT_EQ(Tree().currentIndex(), colours);
    QTest::keyClick(&Tree(), Qt::Key_Minus);
    EXPECT_FALSE(Tree().isExpanded(colours));
    QTest::keyClick(&Tree(), Qt::Key_Plus);
    EXPECT_TRUE(Tree().isExpanded(colours));
    QTest::keyClick(&Tree(), Qt::Key_Left);
    EXPECT_FALSE(Tree().isExpanded(colours));
    DoubleClick(colours);
    EXPECT_TRUE(Tree().isExpanded(colours));
    DoubleClick(colours);
    EXPECT_FALSE(Tree().isExpanded(colours));
    // A group row has no editor and no placeholder.
    EXPECT_FALSE(Editor().isVisible());
    EXPECT_TRUE(Info().isEmpty());
}

TEST_F(InspectorTest, RowsAreInTheirOrderWithTheirPlaceholders)
{
    const std::vector<std::pair<QString, QString>> colours = {{"Text", "$TextColor$"},
                                                              {"Hintergrund", "$BackgroundColor$"},
                                                              {"Link", "$LinkColor$"},
                                                              {"1. Buchstabe", "$FirstLetterColor$"},
                                                              {"besuchter Link", "$VLinkColor$"},
                                                              {"aktiver Link", "$ALinkColor$"},
                                                              {"Hover Link", "$HoverColor$"}};
    const QModelIndex group = Row(QStringLiteral("Farben"));
    ASSERT_EQ(Tree().model()->rowCount(group), 7);
    for (int row = 0; row < 7; ++row) {
        Select(colours[row].first, QStringLiteral("Farben"));
        EXPECT_EQ(Tree().currentIndex().row(), row);
        EXPECT_EQ(Info(), colours[row].second);
    }
    Select(QStringLiteral("Abstand"), QStringLiteral("Untermenü"));
    EXPECT_EQ(Info(), QStringLiteral("$SubMenuLeftMargin$"));
    Select(QStringLiteral("Hintergrundbild"));
    EXPECT_EQ(Info(), QStringLiteral("$BackgroundImage$"));
}

// A screen reader finds the row editor and its chooser where it finds the
// rows: below the grid, which lists them among its children.
TEST_F(InspectorTest, EditorAndChooserAreChildrenOfTheGridForAScreenReader)
{
    Select(QStringLiteral("Text"), QStringLiteral("Farben"));
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(&Tree());
    ASSERT_NE(grid, nullptr);
    for (QWidget* control : {static_cast<QWidget*>(&Editor()), static_cast<QWidget*>(&Button())}) {
        QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->parent(), grid) << shown->text(QAccessible::Name).toStdString();
        const int index = grid->indexOfChild(shown);
        ASSERT_GE(index, 0);
        EXPECT_EQ(grid->child(index), shown);
    }
}

// Sizes need a unit: the row says so, and a bare number ("20") is flagged
// while it is typed, without a box in the way.
TEST_F(InspectorTest, SizeRowsAskForAUnitAndFlagABareNumber)
{
    QLabel& need = *page_.Controls().need;
    Select(QStringLiteral("Abstand"), QStringLiteral("Untermenü"));
    EXPECT_TRUE(need.text().contains(QStringLiteral("Einheit"))) << need.text().toStdString();
    EXPECT_EQ(Editor().toolTip(), need.text());
    EXPECT_EQ(Tree().currentIndex().data(Qt::ToolTipRole).toString(), need.text());
    Type(QStringLiteral("20"));
    EXPECT_TRUE(need.text().contains(QStringLiteral("„20px“"))) << need.text().toStdString();
    QTest::keyClick(&Editor(), Qt::Key_Return);
    EXPECT_EQ(document_.GetString(siSubmenuLeftMargin), "20");
    EXPECT_TRUE(dialogs_.calls.empty());
    Select(QStringLiteral("Titel"));
    EXPECT_TRUE(need.text().isEmpty());
    Select(QStringLiteral("Abstand"), QStringLiteral("Untermenü"));
    EXPECT_TRUE(need.text().contains(QStringLiteral("„20px“")));
    for (const char* fine : {"1.5em", "0", "", "calc(1em + 2px)"}) {
        Type(QString::fromLatin1(fine));
        EXPECT_FALSE(need.text().contains(QStringLiteral("keine Einheit"))) << fine;
    }
}

TEST_F(InspectorTest, SelectedColourRowIsPaintedWithFrameSwatchAndEditorInPlace)
{
    document_.SetColor(ciText, 0x996633); // blue 99, green 66, red 33
    Select(QStringLiteral("Text"), QStringLiteral("Farben"));
    const QRect row = Tree().RowRect(Tree().currentIndex());
    const int split = inspector_->SplitPos();
    const int T = row.top();
    const int y0 = T + 3;
    const QImage image = Grab();
    // Sunken frame: black along the top, light along the bottom.
    EXPECT_EQ(Pixel(image, row.left() + 20, T), qRgb(0, 0, 0));
    EXPECT_EQ(Pixel(image, row.left() + 20, row.bottom()), Palette(QPalette::Light));
    // Swatch at SplitPos + 4 with its outline, filled with the colour.
    EXPECT_EQ(Pixel(image, split + 4, y0 + 4), Palette(QPalette::Dark));
    EXPECT_EQ(Pixel(image, split + 10, y0 + 4), qRgb(0x33, 0x66, 0x99));
    // The white value cell starts behind the swatch.
    EXPECT_EQ(Pixel(image, split + 3, y0 + 4), Palette(QPalette::Base));
    // The expand box of "Farben" shows a minus without the plus bar.
    const int groupY0 = Tree().RowRect(Row(QStringLiteral("Farben"))).top() + 3;
    EXPECT_EQ(Pixel(image, 2 + 3, groupY0 + 4), qRgb(0, 0, 0));
    EXPECT_EQ(Pixel(image, 2 + 5, groupY0 + 2), Palette(QPalette::Base));

    EXPECT_EQ(Editor().geometry(),
              QRect(split + 29, T + 3, row.width() - split - 28 - (row.height() - 3), row.height() - 3));
    EXPECT_EQ(Button().geometry(), QRect(Editor().geometry().right() + 1, T + 3, row.height() - 3, row.height() - 3));
    EXPECT_EQ(Editor().text(), QStringLiteral("336699"));
    EXPECT_EQ(Button().Caption(), QStringLiteral("···"));
}

// In a dark theme the signs of the expand boxes, the frame of the none
// swatch and its values take the theme's text colour, not black.
TEST_F(InspectorTest, DarkThemeKeepsExpandBoxesAndEmptySwatchesVisible)
{
    QPalette dark = Tree().palette();
    dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Text, QColor(0xE0, 0xE0, 0xE0));
    dark.setColor(QPalette::Button, QColor(0x30, 0x30, 0x30));
    Tree().setPalette(dark);
    document_.SetColor(ciText, clNone);
    Select(QStringLiteral("Titel"));
    Tree().expand(Row(QStringLiteral("Farben")));
    const QImage image = Grab();
    const int groupY0 = Tree().RowRect(Row(QStringLiteral("Farben"))).top() + 3;
    EXPECT_EQ(Pixel(image, 2 + 3, groupY0 + 4), qRgb(0xE0, 0xE0, 0xE0)) << "the minus of the open group";
    const int swatchY0 = Tree().RowRect(Row(QStringLiteral("Text"), QStringLiteral("Farben"))).top() + 3;
    EXPECT_EQ(Pixel(image, inspector_->SplitPos() + 4, swatchY0 + 4), qRgb(0xE0, 0xE0, 0xE0))
        << "the outline of the swatch of no colour";
}

// A larger desktop font makes the grid larger, its geometry in proportion.
TEST_F(InspectorTest, GridGeometryGrowsWithTheApplicationFont)
{
    const ApplicationFont doubled(22);
    LayoutPage page;
    page.resize(PageWidth, 400);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    tOIC inspector(page.Controls(), dialogs_, document_, DirectWriter());
    GridTreeView& tree = *page.Controls().tree;
    EXPECT_EQ(tree.font().pixelSize(), 22);
    EXPECT_EQ(inspector.CaptionLeft(1), 2 * CaptionLeftOnLevel1);
    const QModelIndex colours = tree.model()->index(2, 0);
    tree.expand(colours);
    tree.setCurrentIndex(tree.model()->index(0, 0, colours));
    const QRect row = tree.RowRect(tree.currentIndex());
    EXPECT_GT(row.height(), 2 * 13);
    EXPECT_EQ(page.Controls().editor->geometry().topLeft(), QPoint(inspector.SplitPos() + 58, row.top() + 6));
}

TEST_F(InspectorTest, ColourEditorFiltersAndCommitsOnlyValidColours)
{
    Select(QStringLiteral("Text"), QStringLiteral("Farben"));
    EXPECT_TRUE(Editor().text().isEmpty()); // the colour none
    QTest::keyClicks(&Editor(), QStringLiteral("a#bx1f"));
    EXPECT_EQ(Editor().text(), QStringLiteral("AB1F"));

    // Too short, and six characters that are no colour: refused, nothing written.
    for (const QString& invalid : {QStringLiteral("12345"), QStringLiteral("$12345")}) {
        Type(invalid);
        QTest::keyClick(&Editor(), Qt::Key_Return);
        EXPECT_EQ(dialogs_.TextsOf(DialogCall::Message).takeLast(), QStringLiteral("Ungültiger Wert!"));
        EXPECT_EQ(Editor().text(), invalid);
        EXPECT_EQ(document_.GetColor(ciText), clNone);
        EXPECT_FALSE(document_.Modified());
    }
    // Leaving the row with a refused value keeps the selection on it.
    Click(Row(QStringLiteral("Link"), QStringLiteral("Farben")));
    EXPECT_EQ(Tree().currentIndex(), Row(QStringLiteral("Text"), QStringLiteral("Farben")));
    EXPECT_EQ(dialogs_.TextsOf(DialogCall::Message).size(), 3);
    EXPECT_EQ(QApplication::focusWidget(), &Editor());
    EXPECT_EQ(Editor().selectedText(), QStringLiteral("$12345"));

    Type(QStringLiteral("336699"));
    QTest::keyClick(&Editor(), Qt::Key_Return);
    EXPECT_EQ(document_.GetColor(ciText), 0x996633u);
    EXPECT_TRUE(document_.Modified());
    Type(QString());
    QTest::keyClick(&Editor(), Qt::Key_Backspace);
    QTest::keyClick(&Editor(), Qt::Key_Return);
    EXPECT_EQ(document_.GetColor(ciText), clNone);

    // The colour row's length limit does not cut the next row's text.
    document_.SetString(siTitle, "G\xE4rtnerei Lindenhof");
    Select(QStringLiteral("Titel"));
    EXPECT_EQ(Editor().text(), QStringLiteral("Gärtnerei Lindenhof"));
}

TEST_F(InspectorTest, EscapeRestoresAndArrowKeysCommitBeforeMoving)
{
    document_.SetString(siFontSize, "10");
    document_.SetModified(false);
    Select(QStringLiteral("Schriftgröße"), QStringLiteral("Menüpunkt"));
    Type(QStringLiteral("12"));
    QTest::keyClick(&Editor(), Qt::Key_Escape);
    EXPECT_EQ(Editor().text(), QStringLiteral("10"));
    // Enter without a change writes nothing.
    QTest::keyClick(&Editor(), Qt::Key_Return);
    EXPECT_FALSE(document_.Modified());

    Type(QStringLiteral("14pt"));
    QTest::keyClick(&Editor(), Qt::Key_Up);
    QCoreApplication::processEvents();
    EXPECT_EQ(document_.GetString(siFontSize), "14pt");
    EXPECT_EQ(Tree().currentIndex(), Row(QStringLiteral("Schrift(en)"), QStringLiteral("Menüpunkt")));
    EXPECT_EQ(Info(), QStringLiteral("$Font$"));
    EXPECT_TRUE(Editor().hasFocus());
}

TEST_F(InspectorTest, ColourChooserStartsFromTheStoredColour)
{
    document_.SetColor(ciLink, 0x0000FF);
    Select(QStringLiteral("Link"), QStringLiteral("Farben"));
    Type(QStringLiteral("123456"));
    dialogs_.colorAnswers = {0x00CC8844u, std::nullopt, std::nullopt};
    Button().Click();
    EXPECT_EQ(dialogs_.CallsOf(DialogCall::Color).back().initialColor, 0x0000FFu);
    EXPECT_EQ(Editor().text(), QStringLiteral("4488CC"));
    Button().Click(); // cancelled
    EXPECT_EQ(Editor().text(), QStringLiteral("4488CC"));
    // F4 in the editor opens the chooser as well.
    QTest::keyClick(&Editor(), Qt::Key_F4);
    EXPECT_EQ(dialogs_.CallsOf(DialogCall::Color).size(), 3u);
    EXPECT_EQ(document_.GetColor(ciLink), 0x0000FFu); // the chooser commits nothing
}

TEST_F(InspectorTest, OpeningTheFontListAgainClosesTheOneOpen)
{
    Select(QStringLiteral("Schrift(en)"), QStringLiteral("Menüpunkt"));
    const auto openLists = [] {
        QList<Tddlist*> lists;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* list = qobject_cast<Tddlist*>(widget); list && list->isVisible())
                lists.append(list);
        }
        return lists;
    };
    QTest::keyClick(&Editor(), Qt::Key_F4);
    ASSERT_EQ(openLists().size(), 1);
    const QPointer<Tddlist> first = openLists().front();
    QTest::keyClick(&Editor(), Qt::Key_F4);
    ASSERT_EQ(openLists().size(), 1);
    EXPECT_TRUE(first.isNull() || !first->isVisible());
    EXPECT_FALSE(Button().isEnabled());
    openLists().front()->close();
    EXPECT_TRUE(Button().isEnabled());
}

TEST_F(InspectorTest, PictureChooserGivesPathsRelativeToTheOutputFile)
{
    Select(QStringLiteral("Hintergrundbild"));
    EXPECT_EQ(Button().Caption(), QStringLiteral("···"));
    const struct {
        const char* output;
        QString chosen;
        QString expected;
    } cases[] = {
        {"C:\\web\\menu.html", QStringLiteral("C:\\web\\img\\bg.gif"), QStringLiteral("img/bg.gif")},
        {"", QStringLiteral("C:\\web\\img\\bg.gif"), QStringLiteral("bg.gif")},
        {"D:\\web\\menu.html", QStringLiteral("C:\\web\\img\\bg.gif"), QStringLiteral("C:/web/img/bg.gif")},
        {"/srv/web/menu/index.htm", QStringLiteral("/srv/web/img/bg.png"), QStringLiteral("../img/bg.png")},
    };
    for (const auto& c : cases) {
        document_.SetFileSetting(fsFilename, c.output);
        dialogs_.openAnswers = {c.chosen};
        Button().Click();
        EXPECT_EQ(Editor().text(), c.expected) << c.output;
    }
    EXPECT_EQ(dialogs_.CallsOf(DialogCall::Open).back().initialDir, QStringLiteral("/srv/web/menu/"));
    // GIF and JPEG first, then the other pictures browsers show.
    EXPECT_TRUE(dialogs_.CallsOf(DialogCall::Open)
                    .back()
                    .filter.startsWith(QStringLiteral(
                        "GIF (*.gif)|*.gif|JPEG (*.jpg, *.jpeg)|*.jpg;*.jpeg|PNG (*.png)|*.png|WebP (*.webp)|*.webp|"
                        "SVG (*.svg)|*.svg|")));
}

TEST_F(InspectorTest, DividerStopsAtThirtyPixelsFromEitherSideAndTheEditorFollows)
{
    Select(QStringLiteral("Titel"));
    TMyPanel& divider = *page_.Controls().divider;
    const int width = Tree().width();
    // Moves the pointer in steps of 5 pixels.
    const auto drag = [&divider](int dx) {
        const QPoint grab(1, 5);
        QTest::mousePress(&divider, Qt::LeftButton, {}, grab);
        for (int step = 0; step < std::abs(dx) / 5; ++step)
            QTest::mouseMove(&divider, grab + QPoint(dx < 0 ? -5 : 5, 0));
        QTest::mouseRelease(&divider, Qt::LeftButton, {}, grab);
    };
    drag(-400);
    EXPECT_GE(divider.x(), tOIC::MinColWidth);
    EXPECT_LT(divider.x(), tOIC::MinColWidth + 5);
    EXPECT_EQ(inspector_->SplitPos(), divider.x() - 1);
    EXPECT_EQ(Editor().x(), inspector_->SplitPos() + 4);
    drag(800);
    EXPECT_LE(divider.x(), width - tOIC::MinColWidth);
    EXPECT_GT(divider.x(), width - tOIC::MinColWidth - 5);
    EXPECT_EQ(Editor().x(), inspector_->SplitPos() + 4);
}

} // namespace
} // namespace tw::shelltest
