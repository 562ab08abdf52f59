#include "engine/ui/ProgressBarNode.h"

#include <gtest/gtest.h>

#include "engine/core/Properties.h"

#include "tests/ui/ControlSceneFixture.h"

namespace {

class ProgressBarNodeTest : public ControlSceneTest {
protected:
    ProgressBarNodeTest() { open(u"Bars.qscn"); }

    ProgressBarNode& bar(const char* name) { return find<ProgressBarNode>(name); }
    static BaseNode& knobOf(ProgressBarNode& bar) { return templateChild(bar, "Knob"); }
};

TEST_F(ProgressBarNodeTest, TheKnobFillsTheAreaByTheValuesShareAlongItsLongerSide) {
    struct Case {
        const char* bar;
        CVector3d position;
        CVector3d bounds;
    };
    const Case cases[] = {
        {"Across", {10, 0, 0}, {50, 20, 0}},  // 200 x 25 / 100 from the area's x
        {"Upright", {0, 10, 0}, {20, 40, 0}}, // 200 x 2 / 10 down from the area's y
        {"Empty", {10, 0, 0}, {0, 20, 0}},    // no range: nothing filled
        {"Still", {0, 0, 0}, {20, 20, 0}},    // knob type 0: the template's knob
    };
    for (const Case& c : cases) {
        EXPECT_EQ(knobOf(bar(c.bar)).getPosition(), c.position) << c.bar;
        EXPECT_EQ(knobOf(bar(c.bar)).getBounds(), c.bounds) << c.bar;
    }

    bar("Across").setValue(62.5f);
    EXPECT_EQ(knobOf(bar("Across")).getBounds().x, 125) << "no rounding";
    bar("Across").setMaxValue(250);
    EXPECT_EQ(knobOf(bar("Across")).getBounds().x, 50);
    bar("Still").setValue(10);
    EXPECT_EQ(knobOf(bar("Still")).getBounds(), CVector3d(20, 20, 0));
}

TEST_F(ProgressBarNodeTest, AValueWrittenOutsideTheRangeFillsNoMoreThanTheArea) {
    ProgressBarNode& across = bar("Across");
    const CRefPointer<CProperties> properties(new CProperties());
    properties->addFloat("Value", 300);
    across.loadProperties(*properties);
    EXPECT_EQ(across.getValue(), 300) << "loading stores the value as written";
    across.setTemplateName(nameId("Slider"));
    EXPECT_EQ(knobOf(across).getBounds().x, 200);
}

} // namespace
