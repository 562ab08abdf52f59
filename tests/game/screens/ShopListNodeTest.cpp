#include "game/screens/ShopListNode.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/core/EventReceiver.h"
#include "engine/core/Properties.h"
#include "engine/core/PropertyDataScalars.h"
#include "engine/core/PropertyDataStrings.h"
#include "engine/platform/InputEvents.h"
#include "engine/scene/SpriteNode.h"
#include "engine/scene/TextNode.h"
#include "game/app/GameEvents.h"
#include "tests/scene/SpriteFixtures.h"
#include "tests/screens/WidgetFixtures.h"

namespace {

// The shop's item events that reach the node it is a pre-receiver of, as (id, item index), and
// the clicks of the strip itself, as (64, -1).
class ShopItemEvents : public CEventReceiver {
public:
    bool OnEvent(CEvent& event) override {
        if (event.isKindOf(GShopListItemPressedEvent::Id) ||
            event.isKindOf(GShopListItemHoveredEvent::Id))
            seen.emplace_back(event.getTypeId(),
                              static_cast<GShopListItemEvent&>(event).getIndex());
        if (event.isKindOf(CEventControlClicked::Id) &&
            static_cast<CEventNode&>(event).getNode()->isKindOf(GShopListNode::kTypeId))
            seen.emplace_back(event.getTypeId(), -1);
        return false;
    }
    std::vector<std::pair<uint32_t, int32_t>> take() { return std::exchange(seen, {}); }

    std::vector<std::pair<uint32_t, int32_t>> seen;
};

// Strips read from a scene file with templates of their own: "Strip" is 600 wide with elements
// of 100 x 50 (hit over their whole area; a "Text", an "Image" and a second "Text"), its
// previous button at (0, 100) and its next button at (50, 100), 20 x 20 each; "Wide" has an
// element wider than the list placed at x 5, "Flat" one without width, "Back" one of negative
// width; the look "Look" greys its "Caption" while disabled.
class ShopListNodeTest : public WidgetTest {
protected:
    ShopListNodeTest() {
        writeText("ShopTemplates.qscn", R"(<SceneNode Type="TemplateCollectionNode">
<SceneNode Type="BaseNode"><Properties><string Name="Name" Value="Strip"/></Properties>
  <SceneNode Type="ControlNode"><Properties><string Name="Name" Value="Element"/>
  <vector3d Name="Bounds" Value="100;50;0"/></Properties>
    <SceneNode Type="TextNode"><Properties><string Name="Name" Value="Text"/>
    <vector3d Name="Bounds" Value="100;50;0"/></Properties></SceneNode>
    <SceneNode Type="SpriteNode"><Properties><string Name="Name" Value="Image"/></Properties>
    </SceneNode>
    <SceneNode Type="TextNode"><Properties><string Name="Name" Value="Text"/>
    <bool Name="CanBeHit" Value="false"/></Properties></SceneNode>
  </SceneNode>
  <SceneNode Type="ControlNode"><Properties><string Name="Name" Value="PrevButton"/>
  <vector3d Name="Position" Value="0;100;0"/></Properties>
    <SceneNode Type="TextNode"><Properties><vector3d Name="Bounds" Value="20;20;0"/>
    </Properties></SceneNode>
  </SceneNode>
  <SceneNode Type="ControlNode"><Properties><string Name="Name" Value="NextButton"/>
  <vector3d Name="Position" Value="50;100;0"/></Properties>
    <SceneNode Type="TextNode"><Properties><vector3d Name="Bounds" Value="20;20;0"/>
    </Properties></SceneNode>
  </SceneNode>
</SceneNode>
<SceneNode Type="BaseNode"><Properties><string Name="Name" Value="Wide"/></Properties>
  <SceneNode Type="ControlNode"><Properties><string Name="Name" Value="Element"/>
  <vector3d Name="Position" Value="5;0;0"/><vector3d Name="Bounds" Value="700;50;0"/>
  </Properties></SceneNode>
</SceneNode>
<SceneNode Type="BaseNode"><Properties><string Name="Name" Value="Flat"/></Properties>
  <SceneNode Type="ControlNode"><Properties><string Name="Name" Value="Element"/>
  <vector3d Name="Bounds" Value="0;50;0"/></Properties></SceneNode>
</SceneNode>
<SceneNode Type="BaseNode"><Properties><string Name="Name" Value="Back"/></Properties>
  <SceneNode Type="ControlNode"><Properties><string Name="Name" Value="Element"/>
  <vector3d Name="Bounds" Value="-100;50;0"/></Properties></SceneNode>
</SceneNode>
<SceneNode Type="BaseNode"><Properties><string Name="Name" Value="Thin"/></Properties>
  <SceneNode Type="ControlNode"><Properties><string Name="Name" Value="Element"/>
  <vector3d Name="Bounds" Value="1;50;0"/></Properties></SceneNode>
</SceneNode>
<SceneNode Type="BaseNode"><Properties><string Name="Name" Value="Look"/></Properties>
  <SceneNode Type="TextNode"><Properties><string Name="Name" Value="Caption"/></Properties>
  <States><State Name="NormalDisable"><StartAnimator Type="SetProps">
  <color Name="TintColor" Value="ff808080"/></StartAnimator></State></States></SceneNode>
</SceneNode>
</SceneNode>)");
        shopTemplates = load<TemplateCollectionNode>("snod", "ShopTemplates.qscn");
        sceneManager->setTemplateCollection(shopTemplates.get());
        scene = openScene(strip("Strip", "Strip") + strip("Wide", "Wide") + strip("Flat", "Flat") +
                          strip("Back", "Back"));
        scene->addPreReceiver(events.get());
        scene->updateAbsoluteTransform();
    }
    ~ShopListNodeTest() override { scene->getPreReceivers().clear(); }

    // A strip 600 wide at the origin with the template.
    static std::string strip(const char* name, const char* look) {
        return std::string(
                   R"(<SceneNode Type="GShopListNode"><Properties><string Name="Name" Value=")") +
               name + R"("/><vector3d Name="Bounds" Value="600;50;0"/>
<string Name="TemplateName" Value=")" +
               look + R"("/></Properties></SceneNode>)";
    }

    GShopListNode& list(const char* name = "Strip") { return find<GShopListNode>(*scene, name); }

    static CArray<CStringW> items(int count) {
        CArray<CStringW> strings;
        for (int i = 0; i < count; ++i)
            strings.append(utf8ToUtf16(std::to_string(i).c_str()));
        return strings;
    }
    // What each element shows: its first text, or "-" while hidden.
    static std::vector<std::string> shown(const GShopListNode& strip) {
        std::vector<std::string> texts;
        for (uint32_t i = 0; i < strip.getElementCount(); ++i) {
            const BaseNode* element = strip.getElement(int32_t(i));
            const auto* text = static_cast<const TextNode*>(element->findChild(nameId("Text"), 1));
            texts.push_back(element->isVisible() ? utf16ToUtf8(text->getText().c_str()).c_str()
                                                 : "-");
        }
        return texts;
    }

    void click(int32_t x, int32_t y) {
        deliver(new CEventInputMouseLeftDown(x, y));
        deliver(new CEventInputMouseLeftUp(x, y));
        sceneManager->OnUpdate(20);
    }
    void move(int32_t x, int32_t y) {
        deliver(new CEventInputMouseMove(x, y));
        sceneManager->OnUpdate(20);
    }
    void deliver(CEvent* event) {
        sceneManager->deliver(CEventReceiver::RouteSelfThenChildren, *CRefPointer<CEvent>(event));
    }

    CRefPointer<TemplateCollectionNode> shopTemplates;
    CRefPointer<SceneNode> scene;
    CRefPointer<ShopItemEvents> events{new ShopItemEvents()};
};

TEST_F(ShopListNodeTest, ElementsFillTheWidthInARowFromTheTemplatesPlace) {
    struct Case {
        const char* list;
        std::vector<float> x;
    };
    const Case cases[] = {
        {"Strip", {0, 100, 200, 300, 400, 500}},
        {"Wide", {5}}, // wider than the list: still one
        {"Flat", {0}}, // no width to divide by: one
        {"Back", {0}},
    };
    for (const Case& c : cases) {
        const GShopListNode& strip = list(c.list);
        ASSERT_EQ(strip.getElementCount(), c.x.size()) << c.list;
        for (uint32_t i = 0; i < c.x.size(); ++i) {
            EXPECT_EQ(strip.getElementPosition(int32_t(i)), CVector3d(c.x[i], 0, 0)) << c.list;
            EXPECT_EQ(strip.getElement(int32_t(i))->getName(),
                      nameId(("Element" + std::to_string(i)).c_str()));
        }
    }
    EXPECT_EQ(list().getElementSize(), CVector2d(100, 50));
    EXPECT_EQ(list().getElement(6), nullptr);
    EXPECT_EQ(list().getElementPosition(-1), CVector3d(0, 0, 0));
    list().setItemsCount(40);
    EXPECT_EQ(list().getElementCount(), 6u) << "the elements do not follow the items";
    EXPECT_EQ(list().getScheduler(), nullptr);
    collect(*scene);
    EXPECT_EQ(list().getScheduler(), scene->getClock()) << "drawn, it runs on its scene's clock";
}

TEST_F(ShopListNodeTest, ATemplateOfHairWidthMakesAtMostSixtyFourElementsWithOneWarning) {
    ::testing::internal::CaptureStdout();
    const CRefPointer<SceneNode> thin = openScene(strip("Thin", "Thin"));
    const std::string log = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(find<GShopListNode>(*thin, "Thin").getElementCount(), 64u);
    const std::string warning = "WRN: GShopListNode \"Thin\": too many elements, 64 made";
    const size_t first = log.find(warning);
    EXPECT_NE(first, std::string::npos) << log;
    EXPECT_EQ(log.find(warning, first + 1), std::string::npos) << log;
}

TEST_F(ShopListNodeTest, TheElementsShowTheItemsFromTheTopItemRoundTheEnd) {
    struct Case {
        int items;
        int32_t top;
        int32_t expectedTop;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {8, 5, 5, {"5", "6", "7", "0", "1", "2"}},  {3, 0, 0, {"0", "1", "2", "-", "-", "-"}},
        {3, 2, 2, {"2", "0", "1", "-", "-", "-"}},  {8, -8, 0, {"0", "1", "2", "3", "4", "5"}},
        {8, -1, 7, {"7", "0", "1", "2", "3", "4"}}, {8, 13, 5, {"5", "6", "7", "0", "1", "2"}},
        {0, 4, 0, {"-", "-", "-", "-", "-", "-"}},
    };
    GShopListNode& strip = list();
    for (const Case& c : cases) {
        strip.setStrings(items(c.items));
        strip.setTopItem(c.top);
        EXPECT_EQ(strip.getTopItem(), c.expectedTop) << c.items << " " << c.top;
        EXPECT_EQ(shown(strip), c.shown) << c.items << " " << c.top;
    }
    strip.setStrings(items(8));
    strip.setTopItem(5);
    const std::pair<int32_t, int32_t> elementOf[] = {{5, 0},  {7, 2},  {0, 3},  {1, 4},
                                                     {3, -1}, {4, -1}, {8, -1}, {-1, -1}};
    for (const auto& [item, element] : elementOf)
        EXPECT_EQ(strip.elementIndexOfItem(item), element) << item;
    strip.setItemsCount(2);
    EXPECT_EQ(strip.getTopItem(), 1) << "held to the fewer items";
}

TEST_F(ShopListNodeTest, TheButtonsScrollRoundAndElementsReportTheirItems) {
    GShopListNode& strip = list();
    strip.setStrings(items(8));
    strip.setTopItem(7);
    click(60, 110); // next
    EXPECT_EQ(strip.getTopItem(), 0);
    click(10, 110); // previous
    EXPECT_EQ(strip.getTopItem(), 7);
    EXPECT_TRUE(events->take().empty());

    click(250, 25); // element 2
    move(350, 25);  // element 3
    const std::vector<std::pair<uint32_t, int32_t>> expected = {{4101, 1}, {4102, 2}};
    EXPECT_EQ(events->take(), expected);

    // A disabled element takes no click: the strip's own click goes on to the shop.
    strip.setItemEnabled(1, false);
    strip.refreshElements();
    click(250, 25);
    EXPECT_EQ(events->take(), (std::vector<std::pair<uint32_t, int32_t>>{{64, -1}}));

    strip.setStrings(items(0));
    click(50, 25);
    EXPECT_TRUE(events->take().empty()) << "an empty strip has nothing to report";
}

TEST_F(ShopListNodeTest, ItemsKeepTheirColumnsTemplateStateAndData) {
    GShopListNode& strip = list();
    strip.setStrings(items(3));
    strip.setItemText(2, 3, u"fourth");
    const CRefPointer<CAtlasTexture> icon = makeWholeImage(4, 4);
    strip.setItemImage(1, 0, icon.get());
    strip.setItemEnabled(1, false);
    strip.refreshElements();
    strip.setItemTemplate(1, nameId("Look"));
    const CRefPointer<CRefCounted> offer(new CRefCounted());
    strip.setItemData(0, offer.get());
    strip.setItemData(0, offer.get());
    // Beyond the items, nothing happens.
    strip.setItemText(3, 0, u"x");
    strip.setItemData(-1, offer.get());
    EXPECT_EQ(offer->getRefCount(), 2);
    EXPECT_EQ(strip.getItemData(0), offer.get());
    EXPECT_EQ(strip.getItemData(3), nullptr);

    const ShopListItem& third = *strip.getItem(2);
    ASSERT_EQ(third.texts.size(), 4u);
    EXPECT_EQ(third.texts[1], CStringW());
    EXPECT_EQ(third.texts[2], CStringW());
    EXPECT_EQ(third.texts[3], CStringW(u"fourth"));

    strip.refreshElements();
    const auto* element = static_cast<const ControlNode*>(strip.getElement(1));
    EXPECT_EQ(element->getTemplateName(), nameId("Look"));
    EXPECT_FALSE(element->isEnabled());
    const BaseNode* caption = element->getTemplateRoot()->findChild(nameId("Caption"), 1);
    EXPECT_EQ(caption->getTintColor().value, 0xff808080u) << "a new look shows it is disabled";
    const auto* image = static_cast<const SpriteNode*>(element->findChild(nameId("Image"), 1));
    EXPECT_EQ(image->getImage(), icon.get());
    EXPECT_TRUE(static_cast<const ControlNode*>(strip.getElement(0))->isEnabled());

    const CRefPointer<BaseNode> copy = strip.clone(nullptr, sceneManager.get());
    EXPECT_EQ(offer->getRefCount(), 3) << "the copy's item holds the data too";
    EXPECT_EQ(static_cast<GShopListNode&>(*copy).getItemData(0), offer.get());
    strip.setItemsCount(0);
    EXPECT_EQ(offer->getRefCount(), 2) << "a removed item lets go of its data";
}

TEST_F(ShopListNodeTest, TheTopItemAndTheFirstTextsAreSavedWhenThereIsSomethingToKeep) {
    GShopListNode& strip = list();
    const CRefPointer<CProperties> empty(new CProperties());
    strip.saveProperties(*empty);
    EXPECT_LT(empty->indexOf("TopItem"), 0);
    EXPECT_LT(empty->indexOf("Strings"), 0);

    strip.setStrings(items(8));
    strip.setItemsCount(9); // an item without a text saves an empty one
    strip.setTopItem(5);
    const CRefPointer<CProperties> saved(new CProperties());
    strip.saveProperties(*saved);
    const CArray<CStringW> strings =
        getPropertyStringArray(saved->getValueAt(saved->indexOf("Strings")));
    ASSERT_EQ(strings.size(), 9u);
    EXPECT_EQ(strings[7], CStringW(u"7"));
    EXPECT_EQ(strings[8], CStringW());
    const auto* top =
        castPropertyData<CPropertyDataInt>(saved->getValueAt(saved->indexOf("TopItem")).get());
    ASSERT_TRUE(top);
    EXPECT_EQ(top->getValue(), 5);

    // Read back by a fresh strip, the window keeps its place among the items it reads.
    GShopListNode& other = list("Flat");
    other.loadProperties(*saved);
    EXPECT_EQ(other.getItemCount(), 9);
    EXPECT_EQ(other.getTopItem(), 5);
    const CRefPointer<CProperties> odd(new CProperties());
    odd->addFloat("TopItem", 3.f);
    other.loadProperties(*odd);
    EXPECT_EQ(other.getTopItem(), 0) << "a value that is no int";
}

} // namespace
