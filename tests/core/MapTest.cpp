#include "engine/core/Map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

template <typename K, typename V>
struct TreeCheck {
    using Node = CMapNode<K, V>;

    uint32_t nodes = 0;
    int height = 0;
    std::vector<std::string> faults;

    // Returns the black height of the subtree, tallying faults on the way.
    int walk(const Node* node, const Node* parent, int depth) {
        if (!node)
            return 1;
        ++nodes;
        height = std::max(height, depth);
        if (node->parent() != parent)
            faults.push_back("broken parent link");
        if (node->isRed() && parent && parent->isRed())
            faults.push_back("red node with red parent");
        if (node->left() && !CMapKeyOrder<K>::less(node->left()->key, node->key))
            faults.push_back("left child not smaller");
        if (node->right() && !CMapKeyOrder<K>::less(node->key, node->right()->key))
            faults.push_back("right child not greater");
        const int left = walk(node->left(), node, depth + 1);
        const int right = walk(node->right(), node, depth + 1);
        if (left != right)
            faults.push_back("unequal black heights");
        return left + (node->isRed() ? 0 : 1);
    }
};

template <typename K, typename V>
::testing::AssertionResult isValidRedBlackTree(const CMap<K, V>& map) {
    TreeCheck<K, V> check;
    if (map.root() && map.root()->isRed())
        check.faults.push_back("red root");
    check.walk(map.root(), nullptr, 1);
    if (check.nodes != map.size())
        check.faults.push_back("size differs from node count");
    const K* previous = nullptr;
    uint32_t visited = 0;
    for (const auto& node : map) {
        if (previous && !CMapKeyOrder<K>::less(*previous, node.key))
            check.faults.push_back("iteration out of order");
        previous = &node.key;
        ++visited;
    }
    if (visited != map.size())
        check.faults.push_back("iteration count differs from size");
    if (check.height > 2 * std::log2(double(map.size()) + 1) + 1e-9)
        check.faults.push_back("tree too tall");
    if (check.faults.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << check.faults.front();
}

template <typename K, typename V>
std::vector<std::pair<K, V>> pairsOf(const CMap<K, V>& map) {
    std::vector<std::pair<K, V>> pairs;
    for (const auto& node : map)
        pairs.emplace_back(node.key, node.value);
    return pairs;
}

TEST(MapTest, MatchesStdMapUnderRandomOperations) {
    CMap<int, std::string> map;
    std::map<int, std::string> oracle;
    std::mt19937 random(2024);
    for (int step = 0; step < 4000; ++step) {
        const int key = int(random() % 300);
        const std::string value = "value " + std::to_string(random() % 1000) + " on the heap!";
        switch (random() % 4) {
        case 0: {
            const auto result = map.insert(key, value);
            const auto expected = oracle.insert({key, value});
            ASSERT_EQ(result.inserted, expected.second) << step;
            ASSERT_EQ(result.position->key, key);
            ASSERT_EQ(result.position->value, expected.first->second);
            break;
        }
        case 1:
            ASSERT_EQ(map.erase(key), oracle.erase(key) == 1) << step;
            break;
        case 2: {
            const auto found = map.find(key);
            const auto expected = oracle.find(key);
            ASSERT_EQ(found == map.end(), expected == oracle.end()) << step;
            if (found != map.end()) {
                ASSERT_EQ(found->value, expected->second);
            }
            break;
        }
        case 3:
            map[key] += "+";
            oracle[key] += "+";
            break;
        }
        ASSERT_TRUE(isValidRedBlackTree(map)) << "after step " << step;
        ASSERT_EQ(map.size(), oracle.size());
    }
    const std::vector<std::pair<int, std::string>> expected(oracle.begin(), oracle.end());
    EXPECT_EQ(pairsOf(map), expected);

    // Emptying the map exercises every removal shape down to the last node.
    for (const auto& [key, value] : oracle) {
        ASSERT_TRUE(map.erase(key));
        ASSERT_TRUE(isValidRedBlackTree(map));
    }
    EXPECT_EQ(map.root(), nullptr);
    EXPECT_FALSE(map.erase(1));
}

TEST(MapTest, AscendingAndDescendingInsertsStayBalanced) {
    CMap<int, int> ascending;
    CMap<int, int> descending;
    for (int i = 1; i <= 1000; ++i) {
        ascending.insert(i, i);
        descending.insert(1001 - i, i);
        ASSERT_TRUE(isValidRedBlackTree(ascending)) << i;
        ASSERT_TRUE(isValidRedBlackTree(descending)) << i;
    }
}

TEST(MapTest, InsertingAnExistingKeyKeepsTheEntry) {
    CMap<int, std::string> map;
    const auto first = map.insert(5, "first");
    const auto again = map.insert(5, "second");
    EXPECT_TRUE(first.inserted);
    EXPECT_FALSE(again.inserted);
    EXPECT_EQ(again.position, first.position);
    EXPECT_EQ(again.position->value, "first");
    EXPECT_EQ(map.size(), 1u);

    again.position->value = "assigned";
    EXPECT_EQ(map.find(5)->value, "assigned");
}

TEST(MapTest, IndexInsertsDefaultValueOnlyWhenMissing) {
    CMap<int, int> map;
    EXPECT_EQ(map[3], 0);
    map[3] = 7;
    EXPECT_EQ(map[3], 7);
    EXPECT_EQ(map.size(), 1u);
}

TEST(MapTest, IntegerKeysOrderAsUnsigned) {
    CMap<int32_t, int> map;
    for (int32_t key : {-1, 5, 0, INT_MIN, INT_MAX, -2})
        map.insert(key, 0);
    std::vector<int32_t> order;
    for (const auto& node : map)
        order.push_back(node.key);
    EXPECT_EQ(order, (std::vector<int32_t>{0, 5, INT_MAX, INT_MIN, -2, -1}));
    EXPECT_TRUE(isValidRedBlackTree(map));
}

TEST(MapTest, PostOrderVisitsChildrenBeforeParents) {
    CMap<int, int> map;
    for (int i = 0; i < 100; ++i)
        map.insert((i * 37) % 100, i);
    std::vector<const CMapNode<int, int>*> visited;
    for (auto it = map.postOrderBegin(); it != map.postOrderEnd(); ++it) {
        for (const CMapNode<int, int>* child : {it->left(), it->right()}) {
            if (child) {
                EXPECT_NE(std::find(visited.begin(), visited.end(), child), visited.end());
            }
        }
        visited.push_back(it.node());
    }
    EXPECT_EQ(visited.size(), 100u);
    EXPECT_EQ(visited.back(), map.root());
}

TEST(MapTest, CopiesAreIndependentAndCopyFromKeepsExistingValues) {
    CMap<int, std::string> source;
    for (int i = 0; i < 20; ++i)
        source.insert(i, "source " + std::to_string(i));

    CMap<int, std::string> target;
    target.insert(3, "kept");
    target.insert(100, "own");
    target.copyFrom(source);
    EXPECT_EQ(target.size(), 21u);
    EXPECT_EQ(target.find(3)->value, "kept");
    EXPECT_EQ(target.find(4)->value, "source 4");
    EXPECT_TRUE(isValidRedBlackTree(target));

    CMap<int, std::string> copy(source);
    copy.erase(0);
    copy[1] = "changed";
    EXPECT_EQ(source.size(), 20u);
    EXPECT_EQ(source.find(1)->value, "source 1");

    target = source;
    EXPECT_EQ(pairsOf(target), pairsOf(source));
    CMap<int, std::string>& alias = target;
    target = alias;
    target.copyFrom(alias);
    EXPECT_EQ(pairsOf(target), pairsOf(source));

    CMap<int, std::string> moved(std::move(copy));
    EXPECT_EQ(copy.size(), 0u);
    EXPECT_EQ(moved.size(), 19u);
    moved.clear();
    EXPECT_EQ(moved.size(), 0u);
    EXPECT_EQ(moved.begin(), moved.end());
}

} // namespace
