#include "engine/ui/SliderNode.h"

#include <gtest/gtest.h>

#include "engine/ui/ControlKeys.h"
#include "tests/ui/ControlSceneFixture.h"

namespace {

// "Sliders.qscn": sliders 200 units long (the area starts 10 units into the slider) with
// 20-unit knobs: "Sliding" (knob type 0) at y 0, "Filling" (1) at y 100, "Thumb" (2) at y 200,
// "Upright" (vertical, 0 to 10) at x 400 and "Upside" (range 10 to 5, step 0) at y 300.
class SliderNodeTest : public ControlSceneTest {
protected:
    SliderNodeTest() { open(u"Sliders.qscn"); }

    SliderNode& slider(const char* name) { return find<SliderNode>(name); }
    static BaseNode& knobOf(SliderNode& slider) { return templateChild(slider, "Knob"); }
};

TEST_F(SliderNodeTest, EachKnobTypeShowsTheValue) {
    struct Case {
        const char* slider;
        float x, y, width, height;
    };
    const Case cases[] = {
        {"Sliding", 100, 0, 20, 20}, // 10 + (200 - 20) x 0.5
        {"Filling", 10, 0, 100, 20}, // 200 x 0.5 wide
        {"Thumb", 110, 0, 25, 20},   // no page: the shortest thumb at 10 + 200 x 0.5
        {"Upright", 0, 100, 20, 20}, // 10 + 180 x 5 / 10 downwards
        {"Upside", 10, 0, 20, 20},   // an upside-down range sits at the start
    };
    for (const Case& c : cases) {
        BaseNode& knob = knobOf(slider(c.slider));
        EXPECT_EQ(knob.getPosition(), CVector3d(c.x, c.y, 0)) << c.slider;
        EXPECT_EQ(knob.getBounds(), CVector3d(c.width, c.height, 0)) << c.slider;
    }

    SliderNode& thumb = slider("Thumb");
    thumb.setPageSize(50);
    EXPECT_EQ(knobOf(thumb).getBounds().x, 100) << "half the range shows: half the area";
    EXPECT_EQ(knobOf(thumb).getPosition().x, 110);
    thumb.setValue(100);
    EXPECT_EQ(knobOf(thumb).getPosition().x, 110) << "the thumb stays inside its area";
    thumb.setPageSize(0);
    EXPECT_EQ(knobOf(thumb).getPosition().x, 185);

    SliderNode& sliding = slider("Sliding");
    sliding.setPageSize(50);
    sliding.setValue(75);
    EXPECT_EQ(knobOf(sliding).getPosition().x, 190) << "half a range in view: at the end";
    sliding.setValue(100);
    EXPECT_EQ(knobOf(sliding).getPosition().x, 190) << "and no further";
}

TEST_F(SliderNodeTest, PressingAndDraggingSetTheValueAndReportEachChange) {
    struct Case {
        const char* slider;
        int32_t y;
        int32_t pressX;
        float pressed;
        int32_t dragX;
        float dragged;
    };
    const Case cases[] = {
        // The knob's middle comes under the pointer: (x - 10 - 10) / 180 of the range.
        {"Sliding", 10, 65, 25, 155, 75},
        // The bar ends at the pointer: (x - 10) / 200.
        {"Filling", 110, 60, 25, 160, 75},
        // The 25-unit thumb's middle: (x - 10 - 12.5) / 175.
        {"Thumb", 210, 40, 10, 110, 50},
    };
    for (const Case& c : cases) {
        SliderNode& s = slider(c.slider);
        move(c.pressX, c.y);
        drain();
        EXPECT_EQ(s.getValue(), 50) << c.slider << ": hovering changes nothing";
        down(c.pressX, c.y);
        drain();
        EXPECT_EQ(s.getValue(), c.pressed) << c.slider;
        move(c.dragX, c.y);
        drain();
        EXPECT_EQ(s.getValue(), c.dragged) << c.slider;
        up(c.dragX, c.y);
        drain();
        const std::string name = c.slider;
        EXPECT_EQ(events->take(), (std::vector<std::string>{name + ":65", name + ":65",
                                                            name + ":62", name + ":64"}))
            << c.slider;
        move(c.pressX, c.y);
        drain();
        EXPECT_EQ(s.getValue(), c.dragged) << c.slider << ": released, the slider stays";
    }
}

// A quick pull past an end leaves the slider before a move lands on its end: the drag follows
// the pointer outside, held to the area, until the button goes up.
TEST_F(SliderNodeTest, ADragPastAnEndReachesItAlsoOutsideTheSlider) {
    struct Case {
        const char* slider;
        int32_t y;
        float left;
        float right;
    };
    const Case cases[] = {{"Sliding", 10, 0, 100}, {"Filling", 110, 0, 100}};
    for (const Case& c : cases) {
        SliderNode& s = slider(c.slider);
        down(110, c.y);
        move(-60, c.y + 45);
        drain();
        EXPECT_EQ(s.getValue(), c.left) << c.slider;
        move(500, c.y - 30);
        drain();
        EXPECT_EQ(s.getValue(), c.right) << c.slider;
        up(500, c.y - 30);
        move(-60, c.y);
        drain();
        EXPECT_EQ(s.getValue(), c.right) << c.slider << ": released, the slider stays";
    }
}

TEST_F(SliderNodeTest, PressesNearTheAreasEndsGiveTheRangesEnds) {
    struct Case {
        const char* slider;
        float pageSize;
        int32_t x, y;
        float value;
    };
    const Case cases[] = {
        {"Sliding", 0, 209, 10, 100},  // the knob's middle past the last place it can take
        {"Sliding", 0, 15, 10, 0},     // left of the knob's half width
        {"Filling", 10, 209, 110, 90}, // a full page must still fit after the value
    };
    for (const Case& c : cases) {
        SliderNode& s = slider(c.slider);
        s.setValue(50);
        s.setPageSize(c.pageSize);
        down(c.x, c.y);
        up(c.x, c.y);
        drain();
        EXPECT_EQ(s.getValue(), c.value) << c.slider << " " << c.x;
    }
}

TEST_F(SliderNodeTest, AKnobThatTakesPressesStillLetsTheSliderJump) {
    down(410, 119); // on the knob, 9 units below its middle
    drain();
    EXPECT_EQ(slider("Upright").getValue(), 5.5f);
}

TEST_F(SliderNodeTest, KeysStepAlongTheSlidersAxisAndOtherwiseMoveTheFocus) {
    struct Case {
        const char* slider;
        float start;
        float delta;
        uint32_t key;
        float value;
        bool reported;
        const char* focused;
    };
    const Case cases[] = {
        {"Sliding", 50, 10, kKeyEnd, 100, true, "Sliding"},
        {"Sliding", 50, 10, kKeyHome, 0, true, "Sliding"},
        {"Sliding", 0, 10, kKeyHome, 0, false, "Sliding"},
        {"Sliding", 50, 10, kKeyLeft, 40, true, "Sliding"},
        {"Sliding", 50, 10, kKeyRight, 60, true, "Sliding"},
        {"Sliding", 95, 10, kKeyRight, 100, true, "Sliding"},
        {"Sliding", 100, 10, kKeyRight, 100, false, "Sliding"},
        {"Sliding", 50, 0, kKeyLeft, 50, false, "Sliding"},
        {"Sliding", 50, 10, kKeyDown, 50, false, "Sliding"},
        {"Sliding", 50, 10, kKeyUp, 50, false, "Thumb"}, // its NavUpObjectName
        {"Upright", 5, 1, kKeyUp, 6, true, "Upright"},
        {"Upright", 5, 1, kKeyDown, 4, true, "Upright"},
        {"Upright", 0, 1, kKeyDown, 0, false, "Upright"},
        {"Upright", 5, 1, kKeyRight, 5, false, "Upright"},
    };
    for (const Case& c : cases) {
        SliderNode& s = slider(c.slider);
        s.setValue(c.start);
        s.setDeltaValue(c.delta);
        s.setFocused(true);
        drain();
        EXPECT_TRUE(events->take().empty()) << "a value set from code is not reported";
        key(c.key);
        EXPECT_EQ(s.getValue(), c.value) << c.slider << " " << c.key;
        EXPECT_EQ(events->take(), c.reported
                                      ? std::vector<std::string>{std::string(c.slider) + ":65"}
                                      : std::vector<std::string>{})
            << c.slider << " " << c.key;
        EXPECT_EQ(scene->getFocusedChild(), &find<BaseNode>(c.focused)) << c.slider << " " << c.key;
    }
}

TEST_F(SliderNodeTest, ThePreviousAndNextButtonsStepTheValueOnceTheirClickEnds) {
    SliderNode& s = slider("Sliding");
    s.setDeltaValue(10);
    down(230, 10);
    drain();
    EXPECT_EQ(s.getValue(), 50) << "the button takes the press";
    up(230, 10);
    drain();
    EXPECT_EQ(events->take(), std::vector<std::string>{"PrevButton:62"});
    EXPECT_EQ(s.getValue(), 50) << "its Press state still plays";
    tick(100);
    EXPECT_EQ(s.getValue(), 40);
    EXPECT_EQ(events->take(), (std::vector<std::string>{"PrevButton:64", "Sliding:65"}));

    click(260, 10);
    EXPECT_EQ(s.getValue(), 50);
    EXPECT_EQ(events->take(),
              (std::vector<std::string>{"NextButton:62", "NextButton:64", "Sliding:65"}));
    s.setValue(100);
    click(260, 10);
    EXPECT_EQ(events->take(), (std::vector<std::string>{"NextButton:62", "NextButton:64"}))
        << "at the maximum the value stays and nothing is reported";
}

TEST_F(SliderNodeTest, AnUpsideDownRangeHoldsItsMinimumWhateverTheInput) {
    SliderNode& s = slider("Upside");
    EXPECT_EQ(s.getValue(), 20) << "loading stores the values as they are";
    click(150, 310);
    EXPECT_EQ(s.getValue(), 10);
    for (const uint32_t k : {kKeyEnd, kKeyHome, kKeyLeft, kKeyRight}) {
        key(k);
        EXPECT_EQ(s.getValue(), 10) << k;
    }
    EXPECT_EQ(knobOf(s).getPosition().x, 10);
}

TEST(SliderNodeRangeTest, SettersKeepTheValueInTheRangeAndRefuseAnEmptyRange) {
    struct Case {
        const char* what;
        void (*change)(SliderNode&);
        float min, max, value;
    };
    const Case cases[] = {
        {"minimum at the maximum", [](SliderNode& s) { s.setMinValue(100); }, 0, 100, 50},
        {"maximum at the minimum", [](SliderNode& s) { s.setMaxValue(0); }, 0, 100, 50},
        {"minimum past the value", [](SliderNode& s) { s.setMinValue(60); }, 60, 100, 60},
        {"maximum below the value", [](SliderNode& s) { s.setMaxValue(40); }, 0, 40, 40},
        {"value above", [](SliderNode& s) { s.setValue(150); }, 0, 100, 100},
        {"value below", [](SliderNode& s) { s.setValue(-5); }, 0, 100, 0},
    };
    for (const Case& c : cases) {
        const CRefPointer<SliderNode> s(new SliderNode(CContentKey(), nullptr, nullptr));
        c.change(*s);
        EXPECT_EQ(s->getMinValue(), c.min) << c.what;
        EXPECT_EQ(s->getMaxValue(), c.max) << c.what;
        EXPECT_EQ(s->getValue(), c.value) << c.what;
    }
}

} // namespace
