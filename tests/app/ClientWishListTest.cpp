#include "game/app/ClientWishList.h"

#include <string>

#include <gtest/gtest.h>

#include "app/ConfigFixtures.h"
#include "engine/core/StringFunctions.h"
#include "engine/io/VirtualFile.h"
#include "engine/io/XmlTextWriter.h"
#include "game/app/ObjectConfigurations.h"

using namespace config_fixtures;

namespace {

// The whole tree on one line: name, kind, items and children.
std::string describe(const GClientWishList& node) {
    std::string out = text(node.name) + "/" + std::to_string(node.filterKind);
    for (const GAdditionalItem& item : node.additionalItems) {
        out += " {" + text(item.name) + " m" + joinIntList(item.modifications).c_str() + " t" +
               std::to_string(item.timeRange.from) + ";" + std::to_string(item.timeRange.to) +
               " p" + std::to_string(item.probability) + "}";
    }
    if (node.getChildren().size() > 0) {
        out += " [";
        for (const CRefPointer<GClientWishList>& child : node.getChildren())
            out += describe(*child) + ",";
        out += "]";
    }
    return out;
}

std::u16string saved(const GClientWishList& list) {
    CRefPointer<CVirtualFile> file(new CVirtualFile(u"list.xml", 256));
    {
        CRefPointer<CXmlTextWriter> writer(
            new CXmlTextWriter(CRefPointer<IOutputFile>::share(file.get())));
        list.save(*writer);
    }
    std::u16string out(size_t(file->getLength()) / 2, u'\0');
    file->seekTo(0, false);
    file->readBytes(out.data(), file->getLength());
    return out;
}

CRefPointer<GClientWishList> readBack(const std::u16string& written) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : written) {
        bytes += char(unit & 0xFF);
        bytes += char(unit >> 8);
    }
    const CRefPointer<CXmlTextReader> reader = readerOver(bytes);
    moveToElement(*reader, u"ClientWishList");
    CRefPointer<GClientWishList> list(new GClientWishList(nullptr));
    list->load(*reader);
    return list;
}

CRefPointer<ObjectConfigurations> loadWishLists() {
    CRefPointer<ObjectConfigurations> configurations(new ObjectConfigurations);
    configurations->load(
        *fixtureFiles("content")->openXmlReader(u"levels/common/ClientWishListConfigs.xml"));
    return configurations;
}

TEST(ClientWishListTest, ReadsNestedWishesWithFiltersAndItems) {
    const CRefPointer<ObjectConfigurations> configurations = loadWishLists();
    const GClientWishList* workout = configurations->getWishList(name("Workout"));
    ASSERT_NE(workout, nullptr);
    EXPECT_EQ(describe(*workout), "Workout/1 {Juice m t300;0 p0.000000} "
                                  "[Fitness/3 [Pad/0,Towel/0 {Drink m1;2 t10;20 p0.500000},],/0,]");
    EXPECT_EQ(workout->getParent(), nullptr);
    EXPECT_EQ(workout->getChildren()[0]->getParent(), workout);
    EXPECT_EQ(describe(*configurations->getWishList(name("JustJuice"))), "JustJuice/0");
    EXPECT_EQ(describe(*configurations->getWishList(name("Thirsty"))), "Thirsty/0 [Juice/0,]")
        << "filter names are case-sensitive";
}

TEST(ClientWishListTest, WritesEachNodeAsAnElementDepthFirst) {
    const CRefPointer<ObjectConfigurations> configurations = loadWishLists();
    EXPECT_EQ(saved(*configurations->getWishList(name("Workout"))),
              u"<ClientWishList Name=\"Workout\" Filter=\"Any\">\r\n"
              u"\t<Resource Name=\"Fitness\" Filter=\"Any2\">\r\n"
              u"\t\t<Resource Name=\"Pad\" />\r\n"
              u"\t\t<Resource Name=\"Towel\">\r\n"
              u"\t\t\t<AdditionalItems>\r\n"
              u"\t\t\t\t<I Name=\"Drink\" Modifications=\"1;2\" TimeRange=\"10;20\" "
              u"Probability=\"0.500000\" />\r\n"
              u"\t\t\t</AdditionalItems>\r\n"
              u"\t\t</Resource>\r\n"
              u"\t</Resource>\r\n"
              u"\t<Resource />\r\n"
              u"\t<AdditionalItems>\r\n"
              u"\t\t<I Name=\"Juice\" Modifications=\"\" TimeRange=\"300;0\" "
              u"Probability=\"0.000000\" />\r\n"
              u"\t</AdditionalItems>\r\n"
              u"</ClientWishList>\r\n");
    EXPECT_EQ(saved(*configurations->getWishList(name("JustJuice"))),
              u"<ClientWishList Name=\"JustJuice\" />\r\n");
}

// A client's list as the level builds it: unnamed root and groups, every filter kind, items
// with and without modifications.
TEST(ClientWishListTest, ReadsBackWhatItWrote) {
    CRefPointer<GClientWishList> root(new GClientWishList(nullptr));
    for (int32_t kind = 0; kind < 5; ++kind) {
        CRefPointer<GClientWishList> group(new GClientWishList(root.get()));
        group->filterKind = kind;
        CRefPointer<GClientWishList> leaf(new GClientWishList(group.get()));
        leaf->name = name(("Wish" + std::to_string(kind)).c_str());
        GAdditionalItem item;
        item.name = name("Towel");
        if (kind % 2 == 1) {
            item.modifications.append(kind);
            item.modifications.append(-7);
        }
        item.timeRange = {-kind, 1000 * kind};
        item.probability = kind == 4 ? 1.0f : 0.25f * float(kind);
        leaf->additionalItems.append(item);
        group->appendChild(leaf);
        root->appendChild(group);
    }
    CRefPointer<GClientWishList> checkOut(new GClientWishList(root.get()));
    checkOut->name = name("CheckOut");
    root->appendChild(checkOut);

    const std::u16string written = saved(*root);
    EXPECT_NE(written.find(u"Probability=\"1.000000\""), std::u16string::npos);
    const CRefPointer<GClientWishList> copy = readBack(written);
    EXPECT_EQ(describe(*copy), describe(*root));
    EXPECT_EQ(saved(*copy), written);
}

TEST(ClientWishListTest, NamesFilterKindsAndColors) {
    struct Kind {
        const char16_t* text;
        int32_t kind;
    };
    const Kind kinds[] = {{u"Sequental", 0}, {u"Any", 1},  {u"Any1", 2},
                          {u"Any2", 3},      {u"Any3", 4}, {u"any", 0},
                          {u"Any4", 0},      {u"", 0},     {u"Sequential", 0}};
    for (const Kind& k : kinds)
        EXPECT_EQ(getWishFilterKind(k.text), k.kind);
    EXPECT_EQ(getWishFilterName(3), u"Any2");
    EXPECT_EQ(getWishFilterName(0), u"Sequental");
    EXPECT_TRUE(getWishFilterName(5).isEmpty());
    EXPECT_TRUE(getWishFilterName(-1).isEmpty());

    const char* const colors[] = {"Neutral", "Blue", "Red", "Green", "Magenta", "Yellow"};
    for (int32_t index = 0; index < 6; ++index)
        EXPECT_STREQ(getColorName(index).c_str(), colors[index]);
    EXPECT_TRUE(getColorName(6).isEmpty());
    EXPECT_TRUE(getColorName(-1).isEmpty());
}

// Nodes past the depth limit are dropped with their content; the rest of the list still reads.
TEST(ClientWishListTest, DeepNestingIsCutAtTheDepthLimit) {
    const int depth = 100000;
    std::string document = "<ClientWishList Name=\"Deep\">";
    for (int i = 0; i < depth; ++i)
        document += "<Resource Name=\"Down\"><AdditionalItems><I Name=\"X\"/></AdditionalItems>";
    for (int i = 0; i < depth; ++i)
        document += "</Resource>";
    document += "<Resource Name=\"After\"/></ClientWishList><Resource Name=\"Outside\"/>";
    const CRefPointer<CXmlTextReader> reader = readerOver(document);
    moveToElement(*reader, u"ClientWishList");
    CRefPointer<GClientWishList> list(new GClientWishList(nullptr));
    list->load(*reader);

    ASSERT_EQ(list->getChildren().size(), 2u);
    EXPECT_EQ(text(list->getChildren()[1]->name), "After");
    int32_t levels = 0;
    for (const GClientWishList* node = list.get(); node->getChildren().size() > 0;
         node = node->getChildren()[0].get()) {
        ++levels;
        EXPECT_EQ(node->getChildren()[0]->additionalItems.size(), 1u);
    }
    EXPECT_EQ(levels, GClientWishList::kMaxDepth);
    ASSERT_TRUE(reader->readNext());
    EXPECT_EQ(reader->nodeName(), u"Resource") << "the reader stops at the list's end tag";
    EXPECT_FALSE(saved(*list).empty());
}

} // namespace
