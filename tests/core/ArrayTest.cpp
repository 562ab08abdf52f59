#include "engine/core/Array.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Counts lives and remembers its own address, so a byte copy or a missed destructor shows.
struct Tracked {
    static inline int constructed = 0;
    static inline int destroyed = 0;

    explicit Tracked(int v = 0) : value(v), self(this) { ++constructed; }
    Tracked(const Tracked& other) : value(other.value), self(this) { ++constructed; }
    Tracked(Tracked&& other) noexcept : value(other.value), self(this) { ++constructed; }
    Tracked& operator=(const Tracked& other) {
        EXPECT_EQ(self, this);
        value = other.value;
        return *this;
    }
    Tracked& operator=(Tracked&& other) noexcept {
        EXPECT_EQ(self, this);
        value = other.value;
        return *this;
    }
    ~Tracked() {
        EXPECT_EQ(self, this) << "element was moved as bytes";
        ++destroyed;
    }
    bool operator==(const Tracked& other) const { return value == other.value; }

    int value;
    Tracked* self;
};

template <typename T>
std::vector<int> valuesOf(const CArray<T>& array) {
    std::vector<int> values;
    for (const T& element : array)
        values.push_back(element.value);
    return values;
}

std::vector<std::string> stringsOf(const CArray<std::string>& array) {
    return std::vector<std::string>(array.begin(), array.end());
}

// Long enough to live on the heap, so the sanitizer sees a dangling copy.
std::string longText(int i) {
    return "element number " + std::to_string(i) + " with a heap-allocated text";
}

TEST(ArrayTest, NewArrayIsEmptySortedAndOwnsNothing) {
    CArray<int> array;
    EXPECT_EQ(array.data(), nullptr);
    EXPECT_EQ(array.size(), 0u);
    EXPECT_EQ(array.allocated(), 0u);
    EXPECT_FALSE(array.ownsData());
    EXPECT_TRUE(array.isSorted());
}

TEST(ArrayTest, AppendingGrowsByTheFixedSequence) {
    CArray<int> array;
    std::vector<uint32_t> allocations;
    for (int i = 0; i < 1119; ++i) {
        array.append(i);
        if (allocations.empty() || allocations.back() != array.allocated())
            allocations.push_back(array.allocated());
    }
    EXPECT_EQ(allocations, (std::vector<uint32_t>{6, 13, 27, 55, 111, 223, 447, 895, 1119}));
    for (int i = 0; i < 1119; ++i)
        ASSERT_EQ(array[i], i);
}

TEST(ArrayTest, InsertMovesTheTailAndClearsSorted) {
    CArray<std::string> array;
    array.append("b");
    array.insert("a", 0);
    array.insert("c", 2);
    array.insert("x", 1);
    EXPECT_EQ(stringsOf(array), (std::vector<std::string>{"a", "x", "b", "c"}));
    EXPECT_FALSE(array.isSorted());
    array.clear();
    EXPECT_TRUE(array.isSorted());
}

TEST(ArrayTest, InsertingOwnElementIntoFullArrayIsSafe) {
    struct Case {
        uint32_t from;
        uint32_t at;
    };
    const Case cases[] = {{0, 0}, {0, 6}, {5, 0}, {5, 6}, {2, 3}};
    for (const Case& c : cases) {
        CArray<std::string> strings;
        CArray<int> ints;
        for (int i = 0; i < 6; ++i) {
            strings.append(longText(i));
            ints.append(i);
        }
        ASSERT_EQ(strings.size(), strings.allocated());
        ASSERT_EQ(ints.size(), ints.allocated());

        strings.insert(strings[c.from], c.at);
        ints.insert(ints[c.from], c.at);

        EXPECT_EQ(strings[c.at], longText(c.from)) << c.from << " -> " << c.at;
        EXPECT_EQ(ints[c.at], int(c.from)) << c.from << " -> " << c.at;
        EXPECT_EQ(strings.size(), 7u);
        EXPECT_EQ(strings.allocated(), 13u);
    }
}

TEST(ArrayTest, EveryElementConstructedIsDestroyedOnce) {
    Tracked::constructed = 0;
    Tracked::destroyed = 0;
    {
        CArray<Tracked> array;
        for (int i = 0; i < 40; ++i)
            array.append(Tracked(i));
        array.insert(Tracked(-1), 0);
        array.insert(array[10], 3);
        array.eraseAt(5);
        array.eraseAtUnordered(0);
        array.eraseValue(Tracked(20));
        array.reallocate(30);
        EXPECT_EQ(array.size(), 30u);

        CArray<Tracked> copy(array);
        CArray<Tracked> assigned;
        assigned.append(Tracked(7));
        assigned = copy;
        EXPECT_EQ(valuesOf(assigned), valuesOf(array));

        CArray<Tracked> moved(std::move(copy));
        EXPECT_EQ(copy.size(), 0u);
        assigned = std::move(moved);
        array.reallocate(50);
        array.appendAll(assigned);
        EXPECT_EQ(array.size(), 60u);
        assigned.clear();
    }
    EXPECT_GT(Tracked::constructed, 0);
    EXPECT_EQ(Tracked::constructed, Tracked::destroyed);
}

TEST(ArrayTest, ClearLeavesBorrowedStorageAlone) {
    int buffer[4] = {4, 3, 2, 1};
    CArray<int> array;
    array.borrow(buffer, 4);
    EXPECT_FALSE(array.ownsData());
    EXPECT_EQ(array.data(), buffer);

    array.clear();
    EXPECT_EQ(array.data(), nullptr);
    EXPECT_EQ(array.size(), 0u);
    EXPECT_EQ(array.allocated(), 0u);
    EXPECT_TRUE(array.isSorted());
    EXPECT_EQ(buffer[0], 4);
    EXPECT_EQ(buffer[3], 1);
}

TEST(ArrayTest, GrowingBorrowedStorageCopiesIntoOwnStorage) {
    int buffer[3] = {1, 2, 3};
    CArray<int> array;
    array.borrow(buffer, 3);
    array.append(4);
    EXPECT_TRUE(array.ownsData());
    EXPECT_NE(array.data(), buffer);
    EXPECT_EQ(std::vector<int>(array.begin(), array.end()), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(buffer[2], 3);
}

TEST(ArrayTest, EraseEdgeCases) {
    enum class Erase { Ordered, Unordered, Value };
    struct Case {
        const char* name;
        Erase how;
        int arg;
        bool erased;
        std::vector<int> after;
    };
    const Case cases[] = {
        {"ordered middle", Erase::Ordered, 1, true, {10, 30, 40}},
        {"ordered last", Erase::Ordered, 3, true, {10, 20, 30}},
        {"ordered past end", Erase::Ordered, 4, false, {10, 20, 30, 40}},
        {"ordered far past end", Erase::Ordered, -1, false, {10, 20, 30, 40}},
        {"unordered first", Erase::Unordered, 0, true, {40, 20, 30}},
        {"unordered last", Erase::Unordered, 3, true, {10, 20, 30}},
        {"unordered past end", Erase::Unordered, 4, false, {10, 20, 30, 40}},
        {"value present", Erase::Value, 30, true, {10, 20, 40}},
        {"value absent", Erase::Value, 99, false, {10, 20, 30, 40}},
    };
    for (const Case& c : cases) {
        CArray<std::string> array;
        for (int v : {10, 20, 30, 40})
            array.append(std::to_string(v));
        bool erased = false;
        switch (c.how) {
        case Erase::Ordered:
            erased = array.eraseAt(uint32_t(c.arg));
            break;
        case Erase::Unordered:
            erased = array.eraseAtUnordered(uint32_t(c.arg));
            break;
        case Erase::Value:
            erased = array.eraseValue(std::to_string(c.arg));
            break;
        }
        std::vector<std::string> expected;
        for (int v : c.after)
            expected.push_back(std::to_string(v));
        EXPECT_EQ(erased, c.erased) << c.name;
        EXPECT_EQ(stringsOf(array), expected) << c.name;
        EXPECT_EQ(array.allocated(), 6u) << c.name;
    }
}

TEST(ArrayTest, AssignmentCopiesStateAndSelfAssignmentChangesNothing) {
    CArray<std::string> source;
    for (int i = 0; i < 7; ++i)
        source.append(longText(i));
    source.eraseAt(6);
    source.clear();
    source.reallocate(9);
    EXPECT_TRUE(source.isSorted());
    for (int i = 0; i < 3; ++i)
        source.append(longText(i));

    CArray<std::string> target;
    target.append("old");
    target = source;
    EXPECT_EQ(stringsOf(target), stringsOf(source));
    EXPECT_EQ(target.allocated(), 9u);
    EXPECT_FALSE(target.isSorted());
    EXPECT_TRUE(target.ownsData());
    EXPECT_NE(target.data(), source.data());

    CArray<std::string> sorted;
    target = sorted;
    EXPECT_TRUE(target.isSorted());
    EXPECT_EQ(target.size(), 0u);

    CArray<std::string>& alias = source;
    source = alias;
    EXPECT_EQ(stringsOf(source), (std::vector<std::string>{longText(0), longText(1), longText(2)}));
    EXPECT_EQ(source.allocated(), 9u);
}

TEST(ArrayTest, ReallocateKeepsThePrefixAndOwnsTheBuffer) {
    CArray<std::string> array;
    for (int i = 0; i < 5; ++i)
        array.append(longText(i));
    array.reallocate(2);
    EXPECT_EQ(stringsOf(array), (std::vector<std::string>{longText(0), longText(1)}));
    EXPECT_EQ(array.allocated(), 2u);
    array.reallocate(0);
    EXPECT_EQ(array.size(), 0u);
    EXPECT_EQ(array.data(), nullptr);
}

TEST(ArrayTest, TruncateDestroysTheTailAndKeepsTheBuffer) {
    Tracked::constructed = 0;
    Tracked::destroyed = 0;
    CArray<Tracked> array;
    for (int i = 0; i < 8; ++i)
        array.append(Tracked(i));
    const Tracked* buffer = array.data();
    const uint32_t allocated = array.allocated();
    const int destroyedBefore = Tracked::destroyed;

    array.truncate(3);
    EXPECT_EQ(valuesOf(array), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(Tracked::destroyed - destroyedBefore, 5);
    array.truncate(5);
    EXPECT_EQ(array.size(), 3u);
    array.append(Tracked(9));
    EXPECT_EQ(array.data(), buffer);
    EXPECT_EQ(array.allocated(), allocated);
}

} // namespace
