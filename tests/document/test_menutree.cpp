#include "document/menutree.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

// Records every notification as a line of text.
class Recorder : public MenuTreeObserver {
public:
    std::vector<std::string> log;
    void BeforeInsert(MenuNode& parent, std::size_t row) override
    {
        log.push_back("before insert " + parent.Caption() + " " + std::to_string(row));
    }
    void AfterInsert(MenuNode& node) override { log.push_back("after insert " + node.Caption()); }
    void BeforeRemove(MenuNode& parent, std::size_t first, std::size_t last) override
    {
        log.push_back("before remove " + parent.Caption() + " " + std::to_string(first) + "-" + std::to_string(last));
    }
    void AfterRemove(MenuNode& parent) override { log.push_back("after remove " + parent.Caption()); }
    void BeforeMove(MenuNode& node, MenuNode& dest, std::size_t row) override
    {
        log.push_back("before move " + node.Caption() + " to " + dest.Caption() + " " + std::to_string(row));
    }
    void AfterMove(MenuNode& node) override { log.push_back("after move " + node.Caption()); }
    void CaptionChanged(MenuNode& node) override { log.push_back("caption " + node.Caption()); }
    void RecordChanged(MenuNode& node) override { log.push_back("record " + node.Caption()); }
};

std::vector<std::string> PreOrderCaptions(const MenuTree& tree)
{
    std::vector<std::string> captions;
    for (const MenuNode* n = &tree.Root(); n; n = n->NextPreOrder())
        captions.push_back(n->Caption() + "@" + std::to_string(n->Level()));
    return captions;
}

class MenuTreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.SetCaption(tree.Root(), "R");
        a = &tree.AddChild(tree.Root(), "A");
        a1 = &tree.AddChild(*a, "A1");
        a1a = &tree.AddChild(*a1, "A1a");
        a2 = &tree.AddSibling(*a1, "A2");
        b = &tree.AddChild(tree.Root(), "B");
        tree.AddObserver(&recorder);
    }
    MenuTree tree;
    Recorder recorder;
    MenuNode *a, *a1, *a1a, *a2, *b;
};

TEST_F(MenuTreeTest, PreOrderIndexesLevelsAndAncestors)
{
    EXPECT_EQ(tree.Count(), 6u);
    EXPECT_EQ(PreOrderCaptions(tree), (std::vector<std::string>{"R@0", "A@1", "A1@2", "A1a@3", "A2@2", "B@1"}));
    EXPECT_EQ(tree.NodeAt(3), a1a);
    EXPECT_EQ(tree.NodeAt(5), b);
    EXPECT_EQ(tree.NodeAt(6), nullptr);
    EXPECT_EQ(tree.AbsoluteIndex(*a2), 4u);
    EXPECT_TRUE(a1a->HasAsAncestor(a));
    EXPECT_FALSE(a->HasAsAncestor(a));
    EXPECT_FALSE(b->HasAsAncestor(a));
    EXPECT_EQ(a2->Row(), 1u);
    EXPECT_EQ(a1->NextSkippingChildren(), a2);
}

TEST_F(MenuTreeTest, DeletingASubtreeReportsEveryNodeChildrenFirst)
{
    std::vector<std::string> deleted;
    tree.SetDeletionHandler([&](MenuNode& n) { deleted.push_back(n.Caption()); });
    tree.Delete(*a);
    EXPECT_EQ(deleted, (std::vector<std::string>{"A1a", "A1", "A2", "A"}));
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"before remove R 0-0", "after remove R"}));
    EXPECT_EQ(tree.Count(), 2u);
    EXPECT_EQ(b->Row(), 0u);
}

TEST_F(MenuTreeTest, DeleteChildrenRemovesAllInOneRange)
{
    std::size_t deleted = 0;
    tree.SetDeletionHandler([&](MenuNode&) { ++deleted; });
    tree.DeleteChildren(tree.Root());
    EXPECT_EQ(deleted, 5u);
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"before remove R 0-1", "after remove R"}));
    EXPECT_EQ(tree.Count(), 1u);
}

TEST_F(MenuTreeTest, ClearTellsTheObserversButNotTheDeletionHandler)
{
    std::size_t deleted = 0;
    tree.SetDeletionHandler([&](MenuNode&) { ++deleted; });
    tree.Clear();
    EXPECT_EQ(deleted, 0u);
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"before remove R 0-1", "after remove R"}));
    EXPECT_EQ(tree.Count(), 1u);
    EXPECT_FALSE(tree.Root().HasChildren());
    tree.AddChild(tree.Root(), "C");
    EXPECT_EQ(tree.Count(), 2u);
}

TEST_F(MenuTreeTest, InsertAndCaptionNotifications)
{
    tree.InsertChild(*a, 1, "X");
    tree.SetCaption(*b, "B2");
    tree.SetItem(*b, std::make_unique<TMTItem>());
    EXPECT_EQ(recorder.log,
              (std::vector<std::string>{"before insert A 1", "after insert X", "caption B2", "record B2"}));
    EXPECT_EQ(a2->Row(), 2u);
}

TEST_F(MenuTreeTest, MoveKeepsSubtreeAndRecord)
{
    tree.SetItem(*a1, std::make_unique<TMTItem>(TMTItem{"l.htm", "main", ""}));
    recorder.log.clear();
    tree.Move(*a1, *b, b->ChildCount());
    EXPECT_EQ(PreOrderCaptions(tree), (std::vector<std::string>{"R@0", "A@1", "A2@2", "B@1", "A1@2", "A1a@3"}));
    EXPECT_EQ(a1->Item()->Link, "l.htm");
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"before move A1 to B 0", "after move A1"}));
    EXPECT_EQ(tree.Count(), 6u);
}

TEST_F(MenuTreeTest, MoveWithinTheSameParentCountsRowsBeforeRemoval)
{
    MenuNode& c = tree.AddChild(tree.Root(), "C");
    tree.Move(c, tree.Root(), 0); // to the front
    EXPECT_EQ(tree.Root().Child(0), &c);
    tree.Move(c, tree.Root(), 3); // to the end
    EXPECT_EQ(tree.Root().Child(2), &c);
    EXPECT_EQ(c.Row(), 2u);
    recorder.log.clear();
    tree.Move(*a, tree.Root(), 1); // right before itself's successor: no change
    EXPECT_TRUE(recorder.log.empty());
}

TEST(MenuTree, VeryDeepTreesAreWalkedAndFreedWithoutRecursion)
{
    MenuTree tree;
    MenuNode* node = &tree.Root();
    for (int i = 0; i < 200000; ++i)
        node = &tree.AddChild(*node, "n");
    std::size_t count = 0;
    for (const MenuNode* n = &tree.Root(); n; n = n->NextPreOrder())
        ++count;
    EXPECT_EQ(count, 200001u);
    tree.DeleteChildren(tree.Root());
    EXPECT_EQ(tree.Count(), 1u);
    for (int i = 0; i < 200000; ++i)
        node = &tree.AddChild(i == 0 ? tree.Root() : *node, "n");
    // The destructor frees the chain.
}

} // namespace
} // namespace tw
