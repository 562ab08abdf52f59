#include "game/screens/CounterTextNode.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "game/app/LogosScene.h"
#include "tests/screens/WidgetFixtures.h"

namespace {

class CounterTextNodeTest : public WidgetTest {
protected:
    CounterTextNodeTest() { thousandsDelimiter = u','; }

    // A counter "Total" with the properties, under a panel "Panel", in a new scene.
    GCounterTextNode& openCounter(const std::string& properties = "") {
        scene = openScene(R"(<SceneNode Type="BaseNode"><Properties>
<string Name="Name" Value="Panel"/></Properties>
<SceneNode Type="GCounterTextNode"><Properties><string Name="Name" Value="Total"/>)" +
                          properties + "</Properties></SceneNode></SceneNode>");
        return find<GCounterTextNode>(*scene, "Total");
    }

    static void setStartCounting(GCounterTextNode& counter, bool start) {
        counter.setPropertyByIndex(counter.findProperty("StartCounting"),
                                   PropertyTraits<bool>::make(start));
    }

    // A frame drawn, then the scene's clock moved on.
    void frameAndTick(uint32_t ms = 30) {
        collect(*scene);
        scene->getClock()->update(ms);
    }

    static std::string shown(const GCounterTextNode& counter) {
        return utf16ToUtf8(counter.getText().c_str()).c_str();
    }

    CRefPointer<SceneNode> scene;
};

TEST_F(CounterTextNodeTest, CountsFromStartToEndOverTheCountingTimeOnTheScenesClock) {
    GCounterTextNode& total = openCounter();
    setStartCounting(total, true);
    EXPECT_EQ(shown(total), "0");
    std::vector<std::string> ticks;
    for (int i = 0; i < 40; ++i) {
        frameAndTick();
        ticks.push_back(shown(total));
    }
    EXPECT_EQ(ticks[0], "3");
    EXPECT_EQ(ticks[1], "6");
    EXPECT_EQ(ticks[32], "99") << "990 ms";
    EXPECT_EQ(ticks[33], "100") << "the tick that passes 1000 ms";
    EXPECT_EQ(ticks.back(), "100");
    EXPECT_FALSE(total.isCounting());
    EXPECT_EQ(total.getLifeTime(), 1000);
}

TEST_F(CounterTextNodeTest, StartCountingIsALatch) {
    GCounterTextNode& total = openCounter();
    setStartCounting(total, true);
    frameAndTick();
    setStartCounting(total, true);
    EXPECT_EQ(shown(total), "3") << "a second true does nothing";
    frameAndTick();
    EXPECT_EQ(shown(total), "6");

    setStartCounting(total, false);
    frameAndTick();
    EXPECT_EQ(shown(total), "6") << "stopped";
    setStartCounting(total, true);
    EXPECT_EQ(shown(total), "0") << "restarted";
    frameAndTick();
    EXPECT_EQ(shown(total), "3");

    GCounterTextNode& loaded = openCounter(R"(<stringw Name="Text" Value="Ready"/>
<bool Name="StartCounting" Value="true"/>)");
    EXPECT_TRUE(loaded.getStartCounting());
    for (int i = 0; i < 10; ++i)
        frameAndTick();
    EXPECT_EQ(shown(loaded), "Ready") << "a loaded latch never counts";
    setStartCounting(loaded, true);
    EXPECT_EQ(shown(loaded), "Ready");
    setStartCounting(loaded, false);
    setStartCounting(loaded, true);
    frameAndTick();
    EXPECT_EQ(shown(loaded), "3");
}

TEST_F(CounterTextNodeTest, DisplayModes) {
    struct Case {
        const char* properties;
        const char* firstTick;
        const char* end;
    };
    const Case cases[] = {
        {R"(<int Name="ValueDisplayMode" Value="1"/><int Name="EndValue" Value="1234567"/>)",
         "$37,037", "$1,234,567"},
        {R"(<int Name="ValueDisplayMode" Value="2"/><int Name="EndValue" Value="125000"/>)",
         "00:03", "02:05"},
        {R"(<int Name="StartValue" Value="100"/><int Name="EndValue" Value="0"/>)", "97", "0"},
        {R"(<int Name="EndValue" Value="-1234567"/>)", "-37,037", "-1,234,567"},
        {R"(<int Name="ValueDisplayMode" Value="7"/><stringw Name="Text" Value="Ready"/>)", "Ready",
         "Ready"},
    };
    for (const Case& c : cases) {
        GCounterTextNode& counter = openCounter(c.properties);
        setStartCounting(counter, true);
        frameAndTick();
        EXPECT_EQ(shown(counter), c.firstTick) << c.properties;
        frameAndTick(1000);
        EXPECT_EQ(shown(counter), c.end) << c.properties;
    }
}

TEST_F(CounterTextNodeTest, WithoutCountingTimeTheEndValueShowsAtOnce) {
    for (const char* time : {"0", "-5"}) {
        GCounterTextNode& counter =
            openCounter(std::string(R"(<int Name="CountingTime" Value=")") + time + "\"/>");
        setStartCounting(counter, true);
        EXPECT_EQ(shown(counter), "100") << time;
        EXPECT_FALSE(counter.isCounting()) << time;
        frameAndTick();
        EXPECT_EQ(shown(counter), "100") << time;
    }
}

TEST_F(CounterTextNodeTest, CountsOnlyOnceDrawnAndOnTheClockOfItsScene) {
    GCounterTextNode& total = openCounter();
    BaseNode& panel = find<BaseNode>(*scene, "Panel");
    panel.setVisible(false);
    setStartCounting(total, true);
    for (int i = 0; i < 5; ++i)
        frameAndTick();
    EXPECT_EQ(shown(total), "0") << "under a hidden parent";
    panel.setVisible(true);
    frameAndTick();
    EXPECT_EQ(shown(total), "3");

    const CRefPointer<SceneNode> other(new SceneNode(CContentKey(), nullptr, nullptr));
    other->setClock(CRefPointer<CScheduler>(new CScheduler()).get());
    other->setScene(nullptr, other.get());
    const CRefPointer<GCounterTextNode> moved = CRefPointer<GCounterTextNode>::share(&total);
    other->appendChild(moved.get());
    collect(*other);
    scene->getClock()->update(30);
    EXPECT_EQ(shown(*moved), "3") << "the old scene's clock";
    other->getClock()->update(30);
    EXPECT_EQ(shown(*moved), "6");
}

} // namespace
