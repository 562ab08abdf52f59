#include "game/screens/DebugStatsScene.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/core/EngineServices.h"
#include "engine/scene/NodeFactory.h"
#include "engine/scene/TextNode.h"
#include "engine/video/IRenderDriver.h"
#include "tests/game/screens/ScreenFixture.h"

namespace {

// The debug statistics made by the node factory, as the start-up registers them, and opened
// in place of the logos; the engine takes steps of any length the test gives it.
class DebugStatsSceneTest : public ScreenTest {
protected:
    void openStats() {
        CNodeFactory& factory = *CEngineServices::instance()->getNodeFactory();
        const CRefPointer<BaseNode> made =
            factory.createNode(u"GDebugStatsScene", CContentKey(&content(), u"DebugStats"));
        ASSERT_TRUE(made && made->isKindOf(GDebugStatsScene::kTypeId));
        stats = CRefPointer<SceneNode>::share(static_cast<SceneNode*>(made.get()));
        manager().openScene(stats.get(), CNameId());
        game.advance(40);
    }
    // One frame after that many milliseconds, with the update step they make.
    void step(uint32_t ms) {
        game.engine().setMinUpdateInterval(ms);
        game.clock.advanceMs(ms);
        game.runMessages();
        game.engine().runOnce();
    }
    TextNode& text() const {
        EXPECT_EQ(stats->getChildCount(), 1u);
        EXPECT_TRUE(stats->getChild(0)->isKindOf(TextNode::kTypeId));
        return *static_cast<TextNode*>(stats->getChild(0));
    }
    std::string shown() const { return CString(text().getText().c_str()).c_str(); }

    CRefPointer<SceneNode> stats;
};

// The frame rate and the last step, right-aligned in three characters. The null video driver
// stands in for Direct3D, as it counts its frames on the game's clock.
TEST_F(DebugStatsSceneTest, ItShowsTheFrameRateAndTheLastUpdateStep) {
    CreationParameters parameters = game.engine().getCreationParameters();
    parameters.driverType = 0;
    ASSERT_TRUE(game.engine().setParameters(parameters));
    openStats();
    EXPECT_NE(text().getFont(), nullptr);
    // The driver counts frames over windows of 1.5 s; the second is all 20 ms frames.
    game.advance(3200);
    ASSERT_EQ(game.engine().getVideoDriver()->getFrameRate(), 50u);
    EXPECT_EQ(shown(), "fps: 50\nms: 20");
    struct Case {
        uint32_t stepMs;
        const char* line;
    };
    const Case cases[] = {
        {5, "ms:  5"}, {10, "ms: 10"}, {99, "ms: 99"}, {100, "ms:100"}, {120, "ms:120"},
    };
    for (const Case& c : cases) {
        step(c.stepMs);
        const std::string fps = std::to_string(game.engine().getVideoDriver()->getFrameRate());
        EXPECT_EQ(shown(), "fps: " + fps + "\n" + c.line) << c.stepMs;
    }
}

TEST_F(DebugStatsSceneTest, WithoutAVideoDriverTheTextStaysZero) {
    game.direct3D().script.createGivesNone = true;
    EXPECT_FALSE(game.engine().setParameters(game.engine().getCreationParameters()));
    ASSERT_EQ(game.engine().getVideoDriver(), nullptr);
    openStats();
    game.advance(200);
    EXPECT_EQ(shown(), "0");
}

// Coming back makes the text anew in place of the old one.
TEST_F(DebugStatsSceneTest, EveryArrivalLeavesOneText) {
    openStats();
    const TextNode* first = &text();
    const CRefPointer<SceneNode> plain = plainScene();
    stats->openScene(plain.get(), false, CNameId(), CNameId());
    settle();
    plain->navigateBack(0, CNameId(), CNameId());
    settle();
    ASSERT_EQ(current(), stats.get());
    EXPECT_NE(&text(), first);
    EXPECT_EQ(shown().substr(0, 5), "fps: ");
}

} // namespace
