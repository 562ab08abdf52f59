#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "app/ConfigFixtures.h"
#include "engine/core/StringFunctions.h"
#include "game/app/ClientQueue.h"
#include "game/level/GameLevelScene.h"

using namespace config_fixtures;

namespace {

// Resources of the waves 0, 1, 2 and -1; "Dance" brings its own "Water" item.
const char* const kResources =
    "<ObjectConfigurations>"
    "<Resource><Name Value='Dance'/><WaveIndex Value='0'/><AdditionalItems>"
    "<Item Name='Water' TimeRange='20;60'/><Item Name='Towel' TimeRange='90;30'/>"
    "</AdditionalItems></Resource>"
    "<Resource><Name Value='Stretch'/><WaveIndex Value='0'/></Resource>"
    "<Resource><Name Value='Fitness'/><WaveIndex Value='1'/></Resource>"
    "<Resource><Name Value='Pad'/><WaveIndex Value='1'/></Resource>"
    "<Resource><Name Value='Massage'/><WaveIndex Value='2'/></Resource>"
    "<Resource><Name Value='Sauna'/><WaveIndex Value='-1'/></Resource>"
    "</ObjectConfigurations>";

class WishListTest : public testing::Test {
protected:
    WishListTest() {
        configs->load(*readerOver(kResources));
        level->setObjectConfigurations(configs.get());
    }

    // The wish list of a queued client written as a "Pair" client of a level file.
    CRefPointer<GClientWishList> build(const std::string& clientOrders) const {
        CRefPointer<CXmlTextReader> reader = readerOver("<Client>" + clientOrders + "</Client>");
        moveToElement(*reader, u"Client");
        CRefPointer<GClientOrderList> orders(new GClientOrderList);
        parseClientOrders(*orders, *reader);
        return level->buildWishList(orders->orders);
    }

    CRefPointer<ObjectConfigurations> configs{new ObjectConfigurations};
    CRefPointer<GGameLevelScene> level{new GGameLevelScene(CContentKey(), nullptr, nullptr)};
};

// The tree on one line: a group in parentheses, leaves by name; every node of kind 0 and linked
// to its parent.
std::string shape(const GClientWishList& node) {
    std::string out;
    for (const CRefPointer<GClientWishList>& child : node.getChildren()) {
        EXPECT_EQ(child->getParent(), &node);
        EXPECT_EQ(child->filterKind, 0);
        if (!out.empty())
            out += " ";
        out += child->getChildren().size() > 0 ? "(" + shape(*child) + ")" : text(child->name);
    }
    return out;
}

std::string items(const GClientWishList& leaf) {
    std::string out;
    for (const GAdditionalItem& item : leaf.additionalItems) {
        out += text(item.name) + " m" + joinIntList(item.modifications).c_str() + " t" +
               std::to_string(item.timeRange.from) + ";" + std::to_string(item.timeRange.to) +
               " p" + std::to_string(item.probability) + ", ";
    }
    return out;
}

// One order per name of the blank-separated list.
std::string orders(const char* resources) {
    std::istringstream names(resources);
    std::string out;
    for (std::string name; names >> name;)
        out += "<Order Res='" + name + "'/>";
    return out;
}

TEST_F(WishListTest, GroupsOrdersByWaveAndClosesWithTheCheckOut) {
    struct Case {
        const char* orders;
        const char* shape;
    };
    const Case cases[] = {
        {"Massage Dance Fitness", "(Dance) (Fitness) (Massage) CheckOut"},
        {"Fitness Stretch Dance", "(Stretch Dance) (Fitness) CheckOut"},
        {"Fitness Pad Dance", "(Dance) (Fitness Pad) CheckOut"},
        {"Sauna", "(Sauna) CheckOut"},
        {"Sauna Massage Dance", "(Dance) (Massage) (Sauna) CheckOut"},
        {"Nowhere Fitness Nowhere", "(Fitness) CheckOut"},
        {"Nowhere", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        const CRefPointer<GClientWishList> root = build(orders(c.orders));
        EXPECT_EQ(root->getParent(), nullptr);
        EXPECT_EQ(root->name, CNameId());
        EXPECT_EQ(root->filterKind, 0);
        EXPECT_EQ(shape(*root), c.shape) << c.orders;
    }
}

TEST_F(WishListTest, LeavesCarryTheEnabledItemsWithTheirTimeRanges) {
    const std::string danceItems = "<Item R='Water' A='1' D='1' T='1;2'/>"
                                   "<Item R='Towel' A='1' D='1'/>"
                                   "<Item R='Juice' A='1' D='1'/>"
                                   "<Item R='Juice' A='0' T='5;10'/>"
                                   "<Item R='Juice' RM='2;3' A='1' T='70;40'/>"
                                   "<Item R='Water' A='1' T='-1;-1'/>";
    const CRefPointer<GClientWishList> root =
        build("<Order Res='Dance'>" + danceItems + "</Order>");
    ASSERT_EQ(shape(*root), "(Dance) CheckOut");
    const std::string expected = "Water m t20;60 p1.000000, "
                                 "Towel m t30;90 p1.000000, "
                                 "Juice m t0;0 p1.000000, "
                                 "Juice m2;3 t40;70 p1.000000, "
                                 "Water m t-1;-1 p1.000000, ";
    EXPECT_EQ(items(*root->getChildren()[0]->getChildren()[0]), expected)
        << "the resource's own range, ends low to high, 0 to 0 when the resource has no such "
           "item, the disabled item left out";
    EXPECT_EQ(root->getChildren()[1]->additionalItems.size(), 0u);
}

} // namespace
