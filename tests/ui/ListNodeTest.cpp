#include "engine/ui/ListNode.h"

#include <gtest/gtest.h>

#include "engine/core/Properties.h"
#include "engine/core/Utf.h"
#include "engine/scene/TextNode.h"
#include "engine/ui/CheckBoxNode.h"
#include "engine/ui/ControlKeys.h"
#include "engine/ui/TabSceneNode.h"
#include "tests/ui/ControlSceneFixture.h"

namespace {

// "Lists.qscn": "Column" at (0, 50) shows its elements 20 high from there, its check boxes
// from x 70, its paging buttons above it (previous at x 0, next at x 120, y 10 to 40) and its
// scroll bar at x 110 to 130, y 60 to 260.
class ListNodeTest : public ControlSceneTest {
protected:
    ListNodeTest() { open(u"Lists.qscn"); }

    ListNode& list(const char* name) { return find<ListNode>(name); }
    // What each element shows: its first text, or "-" when it is hidden.
    static std::vector<std::string> shown(const ListNode& list) {
        std::vector<std::string> texts;
        for (uint32_t i = 0; i < list.getElementCount(); ++i) {
            const BaseNode* element = list.getElement(i);
            const auto* text = static_cast<const TextNode*>(element->findChild(nameId("Text"), 1));
            texts.push_back(element->isVisible() ? utf16ToUtf8(text->getText().c_str()).c_str()
                                                 : "-");
        }
        return texts;
    }
    static CArray<CStringW> items(int count) {
        CArray<CStringW> strings;
        for (int i = 0; i < count; ++i)
            strings.append(utf8ToUtf16(("i" + std::to_string(i)).c_str()));
        return strings;
    }
};

TEST_F(ListNodeTest, TheElementsAreLaidOutAsAColumnARowOrAGrid) {
    struct Case {
        const char* list;
        std::vector<CVector3d> positions;
    };
    const Case cases[] = {
        {"Column", {{0, 0, 0}, {0, 20, 0}, {0, 40, 0}, {0, 60, 0}}},
        {"Row", {{0, 0, 0}, {100, 0, 0}, {200, 0, 0}, {300, 0, 0}}},
        // Column by column, then row by row.
        {"Grid", {{0, 0, 0}, {0, 20, 0}, {0, 40, 0}, {100, 0, 0}, {100, 20, 0}, {100, 40, 0}}},
        {"Table", {{0, 0, 0}, {100, 0, 0}, {0, 20, 0}, {100, 20, 0}, {0, 40, 0}, {100, 40, 0}}},
        {"Tiny", {}},
    };
    for (const Case& c : cases) {
        ListNode& l = list(c.list);
        ASSERT_EQ(l.getElementCount(), c.positions.size()) << c.list;
        for (uint32_t i = 0; i < c.positions.size(); ++i) {
            EXPECT_EQ(l.getElementPosition(int32_t(i)), c.positions[i]) << c.list << " " << i;
            EXPECT_EQ(l.getElement(i)->getName(), nameId(("Element" + std::to_string(i)).c_str()));
        }
    }
    EXPECT_EQ(shown(list("Grid")), (std::vector<std::string>{"i0", "i1", "i2", "i3", "i4", "i5"}));
    list("Tiny").setTopItem(3);
    EXPECT_EQ(list("Tiny").getTopItem(), 0) << "no lines to scroll";
    list("Column").setItemsCount(1000);
    EXPECT_EQ(list("Column").getElementCount(), 4u) << "the elements do not follow the items";
}

TEST_F(ListNodeTest, TheTopItemChoosesTheWindowOfItemsTheElementsShow) {
    struct Case {
        int items;
        bool circular;
        int32_t top;
        int32_t expectedTop;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {10, true, 8, 8, {"i8", "i9", "i0", "i1"}},
        {10, true, -1, 9, {"i9", "i0", "i1", "i2"}},
        {10, false, 8, 6, {"i6", "i7", "i8", "i9"}}, // the last line ends the window
        {10, false, -3, 0, {"i0", "i1", "i2", "i3"}},
        {3, true, 2, 0, {"i0", "i1", "i2", "-"}}, // no wrap while the elements show all
        {0, true, 2, 0, {"-", "-", "-", "-"}},
    };
    ListNode& column = list("Column");
    for (const Case& c : cases) {
        column.setCircular(c.circular);
        column.setStrings(items(c.items));
        column.setTopItem(c.top);
        EXPECT_EQ(column.getTopItem(), c.expectedTop) << c.items << " " << c.top;
        EXPECT_EQ(shown(column), c.shown) << c.items << " " << c.top;
    }
    column.setCircular(true);
    column.setStrings(items(10));
    column.setTopItem(8);
    EXPECT_EQ(column.elementIndexOf(0), 2);
    EXPECT_EQ(column.elementIndexOf(5), -1) << "not shown";
}

TEST_F(ListNodeTest, SelectionWrapsWhenCircularAndIsHeldOtherwise) {
    struct Case {
        int32_t index;
        bool circular;
        int32_t selected;
    };
    const Case cases[] = {
        {-1, true, 4}, {-1, false, 0}, {5, true, 0}, {5, false, 4}, {-5, true, 0}, {-6, true, 4},
    };
    ListNode& column = list("Column");
    for (const Case& c : cases) {
        column.setCircular(c.circular);
        column.setStrings(items(5));
        column.selectItem(2, false);
        column.selectItem(c.index, false);
        EXPECT_EQ(column.getSelectedItem(), c.selected) << c.index << " " << c.circular;
    }
    column.setStrings(items(0));
    column.selectItem(3, true);
    EXPECT_EQ(column.getSelectedItem(), 0) << "an empty list selects nothing else";
}

TEST_F(ListNodeTest, ArrowKeysMoveTheSelectionAlongTheLayout) {
    struct Case {
        const char* list;
        int32_t from;
        int32_t fromTop;
        uint32_t key;
        int32_t selected;
        int32_t top;
        const char* focused;
    };
    const Case cases[] = {
        {"Column", 3, 0, kKeyDown, 4, 4, "Column"}, // scrolled into view
        {"Column", 9, 6, kKeyDown, 0, 0, "Column"}, // wrapped and scrolled
        {"Column", 9, 8, kKeyDown, 0, 8, "Column"}, // wrapped, shown after 9 already
        {"Column", 0, 0, kKeyUp, 9, 9, "Column"},
        {"Column", 4, 4, kKeyRight, 4, 4, "Column"},
        {"Plain", 9, 6, kKeyDown, 9, 6, "Row"}, // the end: the focus moves on
        {"Row", 1, 0, kKeyRight, 2, 0, "Row"},
        {"Row", 1, 0, kKeyUp, 1, 0, "Row"},
        {"Grid", 1, 0, kKeyRight, 4, 0, "Grid"}, // a column of 3 further
        {"Grid", 1, 0, kKeyDown, 2, 0, "Grid"},
        {"Table", 1, 0, kKeyDown, 3, 0, "Table"}, // a row of 2 further
        {"Table", 1, 0, kKeyLeft, 0, 0, "Table"},
    };
    for (const Case& c : cases) {
        ListNode& l = list(c.list);
        l.setTopItem(c.fromTop);
        l.selectItem(c.from, false);
        l.setFocused(true);
        drain();
        events->take();
        key(c.key);
        const std::string name = c.list;
        EXPECT_EQ(l.getSelectedItem(), c.selected) << name << " " << c.from << " " << c.key;
        EXPECT_EQ(l.getTopItem(), c.top) << name << " " << c.from << " " << c.key;
        EXPECT_EQ(scene->getFocusedChild(), &find<BaseNode>(c.focused)) << name << " " << c.key;
        EXPECT_EQ(events->take(), c.selected != c.from ? std::vector<std::string>{name + ":66"}
                                                       : std::vector<std::string>{})
            << name << " " << c.key;
    }
}

TEST_F(ListNodeTest, TheSelectedElementTakesTheFocusWithTheList) {
    ListNode& column = list("Column");
    column.selectItem(2, false);
    column.setFocused(true);
    EXPECT_TRUE(asControlNode(column.getElement(2))->isFocused());
    EXPECT_EQ(column.getFocusedChild(), column.getElement(2));
    column.selectItem(7, false);
    EXPECT_FALSE(asControlNode(column.getElement(2))->isFocused())
        << "an item out of view leaves no element focused";
    column.selectItem(7, true);
    EXPECT_EQ(column.getTopItem(), 7);
    EXPECT_TRUE(asControlNode(column.getElement(0))->isFocused());

    // A selection moved while the list has no focus (a screen coming back from another)
    // takes the old row's focus; the list's focus then lands on the selected row.
    column.setFocused(false);
    column.selectItem(9, false);
    EXPECT_FALSE(asControlNode(column.getElement(0))->isFocused());
    column.setFocused(true);
    EXPECT_EQ(column.getFocusedChild(), column.getElement(2));
}

TEST_F(ListNodeTest, ThePagingButtonsMoveTheWindowAndMaySelectItsTop) {
    ListNode& column = list("Column");
    click(170, 25);
    tick(100);
    EXPECT_EQ(column.getTopItem(), 1);
    EXPECT_EQ(column.getSelectedItem(), 0);
    click(50, 25);
    tick(100);
    EXPECT_EQ(column.getTopItem(), 0);
    click(50, 25);
    tick(100);
    EXPECT_EQ(column.getTopItem(), 9) << "a circular list pages round";

    ListNode& plain = list("Plain");
    plain.setSelectWhileListingOn(true);
    plain.selectItem(5, true);
    plain.setTopItem(0);
    click(350, 25);
    tick(100);
    EXPECT_EQ(plain.getTopItem(), 0) << "held at the top";
    EXPECT_EQ(plain.getSelectedItem(), 0);
    click(470, 25);
    tick(100);
    EXPECT_EQ(plain.getTopItem(), 1);
    EXPECT_EQ(plain.getSelectedItem(), 1);
    drain();
    events->take();
    click(470, 25);
    tick(100);
    EXPECT_EQ(plain.getSelectedItem(), 2);
    // Posted while the click is delivered, the events come in the reverse order of posting.
    EXPECT_EQ(events->take(), (std::vector<std::string>{"NextButton:62", "Plain:65", "Plain:66"}))
        << "the paging moved the selection";
}

TEST_F(ListNodeTest, TheScrollBarShowsTheWindowAndScrollsByWholeLines) {
    ListNode& column = list("Column");
    SliderNode& bar = templateChild<SliderNode>(column, "Slider");
    EXPECT_EQ(bar.getMaxValue(), 10);
    EXPECT_EQ(bar.getPageSize(), 4);
    EXPECT_EQ(bar.getValue(), 0);
    column.setTopItem(6);
    EXPECT_EQ(bar.getValue(), 6);
    // The thumb's middle 100 units down the area: (100 - 10) x 0.6 / 180 of 10 lines.
    column.setSelectWhileListingOn(true);
    down(120, 160);
    drain();
    EXPECT_EQ(column.getTopItem(), 3);
    EXPECT_EQ(column.getSelectedItem(), 3);
    EXPECT_EQ(bar.getValue(), 3);
    move(120, 175);
    drain();
    EXPECT_EQ(column.getTopItem(), 3) << "3.5 lines: the window keeps to whole lines";
    up(120, 175);
    drain();
    const std::vector<std::string> seen = events->take();
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "Slider:65"), 0)
        << "the list takes its slider's changes";

    column.setFocused(true);
    bar.setFocused(false);
    key(kKeyDown);
    EXPECT_EQ(bar.getValue(), 3) << "keys go to the list, never to its slider";
}

TEST_F(ListNodeTest, AClickOnAnElementSelectsItsItemAndOneOnItsCheckBoxChecksIt) {
    ListNode& column = list("Column");
    column.selectItem(5, false);
    column.setTopItem(8);
    drain();
    events->take();
    click(30, 95); // the third element: item 0
    EXPECT_EQ(column.getSelectedItem(), 0);
    // 67, then 65, posted while the click is delivered: they come in the reverse order.
    EXPECT_EQ(events->take(), (std::vector<std::string>{"Column:65", "Column:67"}));
    click(30, 95);
    EXPECT_EQ(events->take(), std::vector<std::string>{"Column:67"});

    click(85, 85); // the second element's check box: item 9
    EXPECT_EQ(events->take(), (std::vector<std::string>{"CheckBox:62", "CheckBox:65"}));
    tick(100);
    EXPECT_EQ(events->take(), std::vector<std::string>{"Column:68"});
    EXPECT_TRUE(column.getItem(9)->checked);
    EXPECT_EQ(column.getSelectedItem(), 0);
    column.setTopItem(9);
    const auto& box =
        static_cast<const CheckBoxNode&>(*column.getElement(0)->findChild(nameId("CheckBox"), 1));
    EXPECT_TRUE(box.isChecked()) << "the item's element shows it";
    EXPECT_FALSE(
        static_cast<const CheckBoxNode&>(*column.getElement(1)->findChild(nameId("CheckBox"), 1))
            .isChecked());
}

TEST_F(ListNodeTest, AnItemsTemplateDressesTheElementThatShowsItAndOnlyWhileItDoes) {
    ListNode& column = list("Column");
    asControlNode(&templateChild(column, "Element"))->setTemplateName(nameId("BareButton"));
    column.setOrientation(0); // the elements are made again from the dressed model
    column.getItem(1)->templateName = nameId("Button");
    column.setTopItem(0);
    const auto templates = [&column] {
        std::vector<std::string> names;
        for (uint32_t i = 0; i < 3; ++i)
            names.push_back(
                asControlNode(column.getElement(i))->getTemplateName().toString().c_str());
        return names;
    };
    // Items without a template of their own keep the element's.
    EXPECT_EQ(templates(), (std::vector<std::string>{"BareButton", "Button", "BareButton"}));
    column.setTopItem(1);
    EXPECT_EQ(templates(), (std::vector<std::string>{"Button", "BareButton", "BareButton"}));
}

TEST_F(ListNodeTest, AHoveredElementReportsItsItem) {
    list("Column").setTopItem(8);
    move(30, 75);
    drain();
    EXPECT_EQ(events->take(), std::vector<std::string>{"Column:69"});
    EXPECT_EQ(list("Column").elementIndexOf(9), 1);
}

TEST_F(ListNodeTest, ItemsComeAndGoWhileTheyAreShown) {
    ListNode& column = list("Column");
    column.selectItem(5, false);
    column.setTopItem(4);
    drain();
    events->take();
    column.setItemsCount(12);
    EXPECT_EQ(shown(column), (std::vector<std::string>{"i4", "i5", "i6", "i7"}));
    column.setItemText(11, 1, u"second");
    column.setItemText(12, 0, u"none");
    EXPECT_EQ(column.getItem(11)->texts.size(), 2u);
    EXPECT_EQ(column.getItem(12), nullptr);
    column.setTopItem(10);
    EXPECT_EQ(shown(column), (std::vector<std::string>{"", "", "i0", "i1"}));
    const auto& secondColumn = static_cast<const TextNode&>(*column.getElement(1)->getChild(3));
    EXPECT_EQ(secondColumn.getText(), CStringW(u"second"));
    drain();
    EXPECT_TRUE(events->take().empty());

    column.setItemsCount(3);
    EXPECT_EQ(column.getSelectedItem(), 2) << "5 wrapped into 3 items";
    EXPECT_EQ(shown(column), (std::vector<std::string>{"i0", "i1", "i2", "-"}));
    drain();
    EXPECT_EQ(events->take(), std::vector<std::string>{"Column:66"});

    ListNode& plain = list("Plain");
    plain.selectItem(8, true);
    plain.setItemsCount(4);
    EXPECT_EQ(plain.getSelectedItem(), 3) << "held at the new last item";
}

TEST_F(ListNodeTest, ASelectionSavedWithoutAWindowComesBack) {
    ListNode& column = list("Column");
    column.setStrings(items(6));
    column.setTopItem(0);
    column.selectItem(3, false);
    ASSERT_EQ(column.getTopItem(), 0) << "so the count is not written";
    const CRefPointer<CProperties> saved(new CProperties());
    column.saveProperties(*saved);
    const CRefPointer<ListNode> loaded(new ListNode(CContentKey(), nullptr, nullptr));
    loaded->loadProperties(*saved);
    EXPECT_EQ(loaded->getItemsCount(), 6);
    EXPECT_EQ(loaded->getSelectedItem(), 3);
}

TEST_F(ListNodeTest, SizesFromAFileAreHeldToSaneBounds) {
    scenes.files->add(u"huge.qscn", R"(<SceneNode Type="SceneNode">
<SceneNode Type="ListNode"><Properties><string Name="Name" Value="Huge"/>
<int Name="ItemsCount" Value="2000000000"/><vector3d Name="Bounds" Value="100;1000000;0"/>
<int Name="Orientation" Value="7"/>
<string Name="TemplateName" Value="PlainList"/></Properties></SceneNode>
<SceneNode Type="TabSceneNode"><Properties><string Name="Name" Value="Tabs"/>
<int Name="TabsCount" Value="2000000000"/></Properties></SceneNode>
</SceneNode>)");
    open(u"huge.qscn");
    EXPECT_EQ(list("Huge").getItemsCount(), ListNode::kMaxItems);
    EXPECT_EQ(list("Huge").getOrientation(), 0) << "no such layout: a column";
    EXPECT_EQ(int32_t(list("Huge").getElementCount()), ListNode::kMaxLinesShown);
    EXPECT_EQ(find<TabSceneNode>("Tabs").getTabsCount(), TabSceneNode::kMaxTabs);
}

} // namespace
