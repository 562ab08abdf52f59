#include "game/effects/JumpingRowNode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/core/PropertyDataScalars.h"
#include "tests/game/effects/EffectFixture.h"

namespace {

class JumpingRowNodeTest : public EffectTest {
protected:
    // A row of figures (each with a part below it) with the properties `configure` sets, its
    // records built as loading builds them.
    template <typename Configure>
    void makeRow(int figures, Configure configure) {
        row = make<GJumpingRowNode>();
        for (int i = 0; i < figures; ++i) {
            const CRefPointer<StateLogNode> figure = logChild(*row);
            logChild(*figure, "Part");
        }
        configure(*row);
        row->OnLoaded();
        draw();
    }
    void makeRow(int figures) {
        makeRow(figures, [](GJumpingRowNode&) {});
    }
    StateLogNode& figure(uint32_t index) {
        return static_cast<StateLogNode&>(*row->getChild(index));
    }
    StateLogNode& part(uint32_t index) {
        return static_cast<StateLogNode&>(*figure(index).getChild(0));
    }
    // Ticks of 30 ms until the figure's height meets the test, or 60 s; the milliseconds.
    template <typename Test>
    int until(uint32_t index, Test test) {
        int ms = 0;
        while (!test(figure(index).getPosition().y) && ms < 60000) {
            tick(30);
            ms += 30;
        }
        return ms;
    }

    CRefPointer<GJumpingRowNode> row;
};

TEST_F(JumpingRowNodeTest, WithTheDefaultsAFigureRestsOneToFiveSecondsAndFloatsTwentyToThirty) {
    makeRow(1);
    const int rest = until(0, [](float y) { return y < 0; });
    EXPECT_GE(rest, 1000);
    EXPECT_LE(rest, 5060) << "drawn, then off on the next tick";
    float highest = 0;
    const int air = until(0, [&](float y) {
        highest = std::min(highest, y);
        return y == 0;
    });
    EXPECT_GE(air, 20000);
    EXPECT_LE(air, 30060);
    EXPECT_LT(highest, -500) << "a velocity of 100 to 150 up, slowed by 10";
    EXPECT_GT(highest, -1130);
}

TEST_F(JumpingRowNodeTest, FiguresBelowTheLineAreSetOnItAndPlayActionThroughTheirParts) {
    makeRow(2, [](GJumpingRowNode& node) {
        set(node, "AccelYRange", makeVector2dProperty({1000, 1000}));
        set(node, "ActionTimeRange", makeVector2dProperty({300, 300}));
    });
    figure(1).setPosition({0, 20, 0});
    tick(30, 200);
    EXPECT_EQ(figure(1).getPosition().y, 0) << "past its line at the first jump";
    const auto actions = std::count(part(0).states.begin(), part(0).states.end(), "Action");
    EXPECT_GE(actions, 19);
    EXPECT_LE(actions, 20) << "every 300 ms";
    EXPECT_TRUE(figure(0).states.empty()) << "the figure itself gets no state";
}

TEST_F(JumpingRowNodeTest, WithoutAnAccelerationFiguresStayOnTheGround) {
    makeRow(1, [](GJumpingRowNode& node) {
        set(node, "AccelYRange", makeVector2dProperty({0, 0}));
    });
    tick(30, 400);
    EXPECT_EQ(figure(0).getPosition().y, 0);
}

TEST_F(JumpingRowNodeTest, RecordsAreRebuiltOnLoadAndLetGoOfFiguresThatLeft) {
    makeRow(3, [](GJumpingRowNode& node) {
        set(node, "JumpTimeRange", makeVector2dProperty({0, 0}));
        set(node, "AccelYRange", makeVector2dProperty({100, 100}));
    });
    row->OnLoaded();
    EXPECT_EQ(row->getJumperCount(), 3u) << "one record a figure, however often loaded";
    tick(30, 2);
    const CRefPointer<BaseNode> gone = CRefPointer<BaseNode>::share(&figure(1));
    row->removeChild(gone.get());
    const float height = gone->getPosition().y;
    EXPECT_LT(height, 0) << "in the air when it left";
    tick(30);
    EXPECT_EQ(row->getJumperCount(), 2u);
    EXPECT_EQ(gone->getPosition().y, height) << "no longer moved";

    // A figure removed and destroyed at once: the row runs on.
    row->removeChild(&figure(0));
    tick(30, 10);
    EXPECT_EQ(row->getJumperCount(), 1u);
}

} // namespace
