#include "document/blockpool.h"
#include "document/menutree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define TW_TEST_ADDRESS_SANITIZER 1
#endif

namespace tw {
namespace {

TEST(BlockPool, ReusesReleasedBlocksAndGivesEmptySlabsBack)
{
    BlockPool pool(40);
    const std::size_t perSlab = pool.BlocksPerSlab();
    std::vector<void*> blocks;
    for (std::size_t i = 0; i < 3 * perSlab + 1; ++i)
        blocks.push_back(pool.Allocate());
    EXPECT_EQ(pool.SlabCount(), 4u);
    EXPECT_EQ(std::set<void*>(blocks.begin(), blocks.end()).size(), blocks.size());
    for (void* block : blocks)
        std::fill_n(static_cast<char*>(block), 40, 'x'); // each block holds its full size

    // A released block is the next one handed out.
    void* released = blocks[perSlab + 5];
    pool.Release(released);
#ifdef TW_TEST_ADDRESS_SANITIZER
    EXPECT_TRUE(__asan_address_is_poisoned(released));
#endif
    EXPECT_EQ(pool.Allocate(), released);

    for (void* block : blocks)
        pool.Release(block);
    EXPECT_EQ(pool.SlabCount(), 1u); // one empty slab stays for the next load
    for (std::size_t i = 0; i < perSlab; ++i)
        blocks[i] = pool.Allocate();
    EXPECT_EQ(pool.SlabCount(), 1u);
    blocks.push_back(pool.Allocate());
    EXPECT_EQ(pool.SlabCount(), 2u);
    for (std::size_t i = 0; i < perSlab; ++i)
        pool.Release(blocks[i]);
    pool.Release(blocks.back());
    EXPECT_EQ(pool.SlabCount(), 1u);
}

// Enough nodes to fill several slabs, so that freeing the rest of the tree
// gives slabs back while a detached subtree still lives.
TEST(MenuTree, DetachedSubtreesOutliveTheirTreeMatesAndComeBackWhole)
{
    MenuTree tree;
    MenuNode* kept = nullptr;
    for (int i = 0; i < 3000; ++i) {
        MenuNode& top = tree.AddChild(tree.Root(), "T" + std::to_string(i));
        for (int j = 0; j < 3; ++j) {
            MenuNode& sub = tree.AddChild(top, "S" + std::to_string(i) + "." + std::to_string(j));
            tree.SetItem(sub,
                         std::make_unique<TMTItem>(TMTItem{"seiten/s" + std::to_string(i) + ".htm", "inhalt", ""}));
        }
        if (i == 1500)
            kept = &top;
    }
    std::unique_ptr<MenuNode> detached = tree.Detach(*kept);
    tree.DeleteChildren(tree.Root());
    EXPECT_EQ(tree.Count(), 1u);
    for (int i = 0; i < 5000; ++i)
        tree.AddChild(tree.Root(), "N");

    MenuNode& back = tree.Attach(std::move(detached), tree.Root(), 1);
    EXPECT_EQ(tree.Count(), 5005u);
    EXPECT_EQ(back.Caption(), "T1500");
    ASSERT_EQ(back.ChildCount(), 3u);
    EXPECT_EQ(back.Child(2)->Caption(), "S1500.2");
    EXPECT_EQ(back.Child(2)->Item()->Link, "seiten/s1500.htm");
    EXPECT_EQ(back.Child(2)->Parent(), &back);
    EXPECT_EQ(tree.Root().Child(2)->Caption(), "N");

    // Detached again and dropped without its tree.
    tree.Detach(back).reset();
    EXPECT_EQ(tree.Count(), 5001u);
}

} // namespace
} // namespace tw
