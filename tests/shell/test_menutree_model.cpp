#include "document/qzhtml.h"
#include "shell/menutreemodel.h"
#include "test_menutree_support.h"

#include <QAbstractItemModelTester>
#include <gtest/gtest.h>

namespace tw {
namespace {

using shelltest::ChildCaptions;

// Carries out an accepted drop as the page does; returns the receiving node.
MenuNode* DropNode(MenuTree& tree, DragMode mode, MenuNode& dragged, MenuNode* target)
{
    const std::optional<DropPlace> place = DropDestination(tree, mode, dragged, target);
    if (!place)
        return nullptr;
    tree.Move(dragged, *place->parent, place->row);
    return place->parent;
}

class MenuTreeModelTest : public ::testing::Test {
protected:
    MenuNode& AddItem(MenuNode& parent, const std::string& caption)
    {
        MenuNode& node = document.Tree().AddChild(parent, caption);
        document.CreateItemData(node);
        node.Item()->Link = caption + ".htm";
        return node;
    }
    // A, B (with B1, B2 (with B21), B3), C
    void BuildTree()
    {
        MenuNode& root = document.Tree().Root();
        a = &AddItem(root, "A");
        b = &AddItem(root, "B");
        b1 = &AddItem(*b, "B1");
        b2 = &AddItem(*b, "B2");
        b21 = &AddItem(*b2, "B21");
        b3 = &AddItem(*b, "B3");
        c = &AddItem(root, "C");
        document.SetModified(false);
    }

    TqzHTML document;
    MenuTreeModel model{document};
    MenuNode* a = nullptr;
    MenuNode* b = nullptr;
    MenuNode* b1 = nullptr;
    MenuNode* b2 = nullptr;
    MenuNode* b21 = nullptr;
    MenuNode* b3 = nullptr;
    MenuNode* c = nullptr;
};

// Collects what QAbstractItemModelTester finds wrong instead of aborting.
class ModelWarnings {
public:
    ModelWarnings() { previous_ = qInstallMessageHandler(&ModelWarnings::Record); }
    ~ModelWarnings() { qInstallMessageHandler(previous_); }
    static std::vector<QString>& Messages()
    {
        static std::vector<QString> messages;
        return messages;
    }

private:
    static void Record(QtMsgType type, const QMessageLogContext&, const QString& text)
    {
        if (type != QtDebugMsg && type != QtInfoMsg)
            Messages().push_back(text);
    }
    QtMessageHandler previous_;
};

TEST_F(MenuTreeModelTest, ShowsTheRootAsTheOneTopRowAndNodesByPosition)
{
    BuildTree();
    ASSERT_EQ(model.rowCount(), 1);
    const QModelIndex root = model.index(0, 0);
    EXPECT_EQ(model.data(root).toString(), QStringLiteral("Unbenannt"));
    EXPECT_EQ(model.rowCount(root), 3);
    const QModelIndex bIndex = model.index(1, 0, root);
    EXPECT_EQ(MenuTreeModel::nodeOf(bIndex), b);
    EXPECT_EQ(MenuTreeModel::nodeOf(model.index(1, 0, bIndex)), b2);
    EXPECT_EQ(model.parent(model.index(1, 0, bIndex)), bIndex);
    EXPECT_FALSE(model.parent(root).isValid());
    EXPECT_EQ(model.indexOf(b21), model.index(0, 0, model.index(1, 0, bIndex)));
}

TEST_F(MenuTreeModelTest, MirrorsEveryTreeChangeConsistently)
{
    ModelWarnings::Messages().clear();
    ModelWarnings warnings;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    BuildTree();
    MenuTree& tree = document.Tree();
    tree.SetCaption(*b1, "renamed");
    tree.Move(*b2, tree.Root(), 0);
    tree.Move(*a, *c, 0);
    tree.Move(*b3, *b, 0);
    tree.Delete(*b);
    tree.InsertChild(tree.Root(), 1, "inserted");
    document.Reset();
    EXPECT_TRUE(ModelWarnings::Messages().empty()) << ModelWarnings::Messages().front().toStdString();
    EXPECT_EQ(model.rowCount(model.index(0, 0)), 0);
}

// Every caption goes through the owner's handler (its history); without
// one, none is taken.
TEST_F(MenuTreeModelTest, RenamingGoesOnlyThroughTheOwnersHandler)
{
    BuildTree();
    const QModelIndex index = model.indexOf(a);
    ASSERT_TRUE(model.flags(index) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(index, QStringLiteral("B")));
    EXPECT_EQ(a->Caption(), "A");
    QStringList renamed;
    model.setRenameHandler([&renamed](MenuNode&, const QString& caption) { renamed << caption; });
    EXPECT_TRUE(model.setData(index, QStringLiteral("Über")));
    EXPECT_EQ(renamed, QStringList{QStringLiteral("Über")});
    EXPECT_EQ(a->Caption(), "A");
}

TEST_F(MenuTreeModelTest, TheRootCanBeNeitherRenamedNorDragged)
{
    const QModelIndex root = model.index(0, 0);
    EXPECT_FALSE(model.flags(root) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.flags(root) & Qt::ItemIsDragEnabled);
    EXPECT_FALSE(model.setData(root, QStringLiteral("Projekt")));
    EXPECT_EQ(document.Tree().Root().Caption(), "Unbenannt");
    EXPECT_FALSE(document.Modified());
    EXPECT_FALSE(DropAccepted(DragMode::Move, &document.Tree().Root(), nullptr));
    EXPECT_FALSE(DropAccepted(DragMode::Sort, &document.Tree().Root(), nullptr));
    EXPECT_FALSE(DropAccepted(DragMode::Move, nullptr, nullptr));
}

TEST_F(MenuTreeModelTest, MoveModeDrops)
{
    BuildTree();
    MenuTree& tree = document.Tree();
    MenuNode& root = tree.Root();
    TMTItem* record = b2->Item();

    // into its own subtree: refused, nothing happens
    EXPECT_FALSE(DropAccepted(DragMode::Move, b, b21));
    EXPECT_FALSE(DropAccepted(DragMode::Move, b, b1));
    EXPECT_EQ(DropNode(tree, DragMode::Move, *b, b21), nullptr);
    EXPECT_EQ(ChildCaptions(*b), (std::vector<std::string>{"B1", "B2", "B3"}));

    // onto itself: accepted, nothing changes
    EXPECT_TRUE(DropAccepted(DragMode::Move, b2, b2));
    EXPECT_EQ(DropNode(tree, DragMode::Move, *b2, b2), nullptr);
    EXPECT_EQ(ChildCaptions(*b), (std::vector<std::string>{"B1", "B2", "B3"}));

    // onto its own parent: last of its siblings
    EXPECT_EQ(DropNode(tree, DragMode::Move, *b2, b), b);
    EXPECT_EQ(ChildCaptions(*b), (std::vector<std::string>{"B1", "B3", "B2"}));

    // onto another node: its last child, with subtree and record
    EXPECT_EQ(DropNode(tree, DragMode::Move, *b2, a), a);
    EXPECT_EQ(ChildCaptions(*a), (std::vector<std::string>{"B2"}));
    EXPECT_EQ(ChildCaptions(*b2), (std::vector<std::string>{"B21"}));
    EXPECT_EQ(b2->Item(), record);
    EXPECT_EQ(b2->Item()->Link, "B2.htm");

    // onto the root and onto empty space: last top-level item
    EXPECT_EQ(DropNode(tree, DragMode::Move, *b21, &root), &root);
    EXPECT_EQ(ChildCaptions(root), (std::vector<std::string>{"A", "B", "C", "B21"}));
    EXPECT_EQ(DropNode(tree, DragMode::Move, *b1, nullptr), &root);
    EXPECT_EQ(ChildCaptions(root), (std::vector<std::string>{"A", "B", "C", "B21", "B1"}));

    EXPECT_FALSE(document.Modified());
}

TEST_F(MenuTreeModelTest, SortModeDrops)
{
    BuildTree();
    MenuTree& tree = document.Tree();

    // another parent: refused, the root too
    EXPECT_FALSE(DropAccepted(DragMode::Sort, b3, a));
    EXPECT_FALSE(DropAccepted(DragMode::Sort, b3, b21));
    EXPECT_FALSE(DropAccepted(DragMode::Sort, b3, b));
    EXPECT_FALSE(DropAccepted(DragMode::Sort, a, &tree.Root()));
    EXPECT_EQ(DropNode(tree, DragMode::Sort, *b3, a), nullptr);

    // onto itself and onto the following sibling: order unchanged
    EXPECT_EQ(DropNode(tree, DragMode::Sort, *b2, b2), nullptr);
    DropNode(tree, DragMode::Sort, *b1, b2);
    EXPECT_EQ(ChildCaptions(*b), (std::vector<std::string>{"B1", "B2", "B3"}));

    // onto the first sibling: first
    EXPECT_EQ(DropNode(tree, DragMode::Sort, *b3, b1), b);
    EXPECT_EQ(ChildCaptions(*b), (std::vector<std::string>{"B3", "B1", "B2"}));

    // onto a sibling after it: directly before that sibling
    DropNode(tree, DragMode::Sort, *b3, b2);
    EXPECT_EQ(ChildCaptions(*b), (std::vector<std::string>{"B1", "B3", "B2"}));

    // onto empty space: last of its own siblings, subtree kept
    EXPECT_EQ(DropNode(tree, DragMode::Sort, *b2, nullptr), b);
    DropNode(tree, DragMode::Sort, *b1, nullptr);
    EXPECT_EQ(ChildCaptions(*b), (std::vector<std::string>{"B3", "B2", "B1"}));
    EXPECT_EQ(ChildCaptions(*b2), (std::vector<std::string>{"B21"}));

    EXPECT_FALSE(document.Modified());
}

} // namespace
} // namespace tw
