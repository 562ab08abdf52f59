#include "engine/scene/BaseProgressBarNode.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/core/Properties.h"
#include "engine/core/PropertyDataScalars.h"

namespace {

// Counts its visual updates.
class CountingBar : public NodeClass<CountingBar, BaseProgressBarNode> {
public:
    static constexpr uint32_t kTypeId = 9014;
    static constexpr const char16_t* kTypeName = u"CountingBar";
    using NodeClass::NodeClass;
    void updateVisual() override { ++updates; }
    int updates = 0;
};

CRefPointer<CountingBar> makeBar() {
    return CRefPointer<CountingBar>(new CountingBar(CContentKey(), nullptr, nullptr));
}

TEST(BaseProgressBarNodeTest, SettersKeepTheValueWithinTheRangeAndUpdateOnlyWhenTheyAct) {
    struct Case {
        const char* what;
        char setter;
        float argument;
        float minimum;
        float maximum;
        float value;
        int updates;
    };
    // From the defaults 0, 100 and 50.
    const Case cases[] = {
        {"minimum at the maximum", 'n', 100, 0, 100, 50, 0},
        {"minimum above the value", 'n', 60, 60, 100, 60, 1},
        {"minimum below the value", 'n', 10, 10, 100, 50, 1},
        {"maximum at the minimum", 'x', 0, 0, 100, 50, 0},
        {"maximum below the value", 'x', 40, 0, 40, 40, 1},
        {"value below the minimum", 'v', -5, 0, 100, 0, 1},
        {"value above the maximum", 'v', 1000, 0, 100, 100, 1},
        {"value within", 'v', 25, 0, 100, 25, 1},
    };
    for (const Case& c : cases) {
        const CRefPointer<CountingBar> bar = makeBar();
        if (c.setter == 'n')
            bar->setMinValue(c.argument);
        else if (c.setter == 'x')
            bar->setMaxValue(c.argument);
        else
            bar->setValue(c.argument);
        EXPECT_EQ(bar->getMinValue(), c.minimum) << c.what;
        EXPECT_EQ(bar->getMaxValue(), c.maximum) << c.what;
        EXPECT_EQ(bar->getValue(), c.value) << c.what;
        EXPECT_EQ(bar->updates, c.updates) << c.what;
    }
}

TEST(BaseProgressBarNodeTest, LoadingStoresTheValuesUncheckedAndSavingWritesOnlyChangedOnes) {
    const CRefPointer<CountingBar> bar = makeBar();
    CRefPointer<CProperties> values(new CProperties());
    values->addFloat("MinValue", 80);
    values->addFloat("MaxValue", 20);
    values->addInt("Value", 7);
    bar->loadProperties(*values);
    EXPECT_EQ(bar->getMinValue(), 80);
    EXPECT_EQ(bar->getMaxValue(), 20);
    EXPECT_EQ(bar->getValue(), 0);
    EXPECT_EQ(bar->updates, 0);
    bar->setValue(50);
    EXPECT_EQ(bar->getValue(), 20);

    CRefPointer<CProperties> saved(new CProperties());
    makeBar()->saveProperties(*saved);
    for (const char* name : {"MinValue", "MaxValue", "Value"})
        EXPECT_EQ(saved->indexOf(name), -1) << name;
    saved->clear();
    bar->saveProperties(*saved);
    EXPECT_EQ(saved->getFloat("MinValue"), 80);
    EXPECT_EQ(saved->getFloat("MaxValue"), 20);
    EXPECT_EQ(saved->getFloat("Value"), 20);
}

TEST(BaseProgressBarNodeTest, PropertiesFollowTheControlsAndGoThroughTheSetters) {
    const CRefPointer<CountingBar> bar = makeBar();
    const CRefPointer<ControlNode> control(new ControlNode(CContentKey(), nullptr, nullptr));
    const uint32_t controlEntries = control->getPropertyTable().size();
    ASSERT_EQ(bar->getPropertyTable().size(), controlEntries + 3);
    EXPECT_EQ(bar->findProperty("MinValue"), int32_t(controlEntries));
    EXPECT_EQ(bar->findProperty("Value"), int32_t(controlEntries + 2));

    bar->setPropertyByIndex(bar->findProperty("MinValue"), makeFloatProperty(30));
    bar->setPropertyByIndex(bar->findProperty("Value"), makeIntProperty(90));
    EXPECT_EQ(bar->getMinValue(), 30);
    EXPECT_EQ(bar->getValue(), 30);
    EXPECT_EQ(bar->updates, 2);
    EXPECT_EQ(bar->getPropertyByIndex(bar->findProperty("MaxValue"))->toString(),
              CString("100.000000"));
}

TEST(BaseProgressBarNodeTest, OnlyDerivedBarsAreCloned) {
    const CRefPointer<BaseProgressBarNode> base(
        new BaseProgressBarNode(CContentKey(), nullptr, nullptr));
    EXPECT_EQ(base->clone(nullptr, nullptr), nullptr);
    EXPECT_TRUE(base->isKindOf(14) && base->isKindOf(5) && base->isKindOf(0));

    const CRefPointer<CountingBar> bar = makeBar();
    bar->setMaxValue(60);
    bar->setMinValue(10);
    bar->setValue(42);
    const CRefPointer<BaseNode> copy = bar->clone(nullptr, nullptr);
    ASSERT_TRUE(copy && copy->isKindOf(CountingBar::kTypeId));
    const auto& cloned = static_cast<const CountingBar&>(*copy);
    EXPECT_EQ(cloned.getMinValue(), 10);
    EXPECT_EQ(cloned.getMaxValue(), 60);
    EXPECT_EQ(cloned.getValue(), 42);
    EXPECT_EQ(cloned.updates, 0);
}

} // namespace
