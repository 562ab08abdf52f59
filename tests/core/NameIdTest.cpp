#include "engine/core/NameId.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/core/Map.h"

TEST(NameIdTest, TableGivesIdsInOrderOfFirstUse) {
    CNameTable table;
    EXPECT_EQ(table.intern(""), -1);
    EXPECT_EQ(table.intern("alpha"), 1);
    EXPECT_EQ(table.intern("beta"), 2);
    EXPECT_EQ(table.intern("alpha"), 1);
    EXPECT_EQ(table.intern("Alpha"), 3);
    EXPECT_EQ(table.intern(""), -1);
    EXPECT_EQ(table.intern("gamma"), 4);

    EXPECT_STREQ(table.getText(2).c_str(), "beta");
    EXPECT_STREQ(table.getText(-1).c_str(), "");
    EXPECT_EQ(&table.getText(0), &CString::emptyString());
    EXPECT_EQ(&table.getText(5), &CString::emptyString());
}

// The table grows as names come; ids and the texts handed out stay put.
TEST(NameIdTest, ManyNamesKeepTheirIdsAndTexts) {
    CNameTable table;
    EXPECT_EQ(table.intern("n0"), 1);
    const CString& first = table.getText(1);
    for (int i = 1; i < 3000; ++i)
        ASSERT_EQ(table.intern(CString(("n" + std::to_string(i)).c_str())), i + 1);
    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ(table.intern(CString(("n" + std::to_string(i)).c_str())), i + 1);
    EXPECT_EQ(&table.getText(1), &first);
    EXPECT_STREQ(first.c_str(), "n0");
    EXPECT_STREQ(table.getText(3000).c_str(), "n2999");
}

TEST(NameIdTest, NarrowAndWideTablesAreIndependent) {
    CNameTable narrow;
    CNameTableW wide;
    narrow.intern("first");
    EXPECT_EQ(narrow.intern("shared"), 2);
    EXPECT_EQ(wide.intern(u"shared"), 1);
    EXPECT_EQ(wide.intern(u""), -1);
    EXPECT_TRUE(wide.getText(1) == u"shared");
}

TEST(NameIdTest, NamesCompareAsIdsWithTheEmptyNameLast) {
    const CNameId empty;
    const CNameId node(CString("NameIdTest.Node"));
    const CNameId again(CString("NameIdTest.Node"));
    const CNameId other(CString("NameIdTest.Other"));
    EXPECT_EQ(empty.getId(), -1);
    EXPECT_EQ(CNameId(CString("")), empty);
    EXPECT_EQ(node, again);
    EXPECT_FALSE(node == other);
    EXPECT_STREQ(node.toString().c_str(), "NameIdTest.Node");
    EXPECT_STREQ(empty.toString().c_str(), "");

    CMap<CNameId, int> byName;
    byName.insert(empty, 0);
    byName.insert(other, 2);
    byName.insert(node, 1);
    std::vector<int> order;
    for (const auto& entry : byName)
        order.push_back(entry.value);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 0}));
}
