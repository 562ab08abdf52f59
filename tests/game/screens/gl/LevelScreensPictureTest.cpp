#include <gtest/gtest.h>

#include "engine/core/Engine.h"
#include "engine/core/Random.h"
#include "engine/io/ProfileManager.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/ui/RangeDraw.h"
#include "engine/video/IRenderDriver.h"
#include "engine/video/QuadBatcher.h"
#include "engine/video/SoftwareImage.h"
#include "support/GoldenImage.h"
#include "tests/game/app/GameOnSdl.h"
#include "tests/game/level/gl/LevelOnSdl.h"
#include "tests/game/screens/LevelResults.h"
#include "tests/game/screens/gl/HalfSizePicture.h"

// The screens over a level as a player sees them, over level 1 of the content stopped seven
// seconds into its day: the game in the test process on SDL's offscreen windows on Mesa, drawn by
// the OpenGL driver at half size, compared with golden pictures.
namespace {

class LevelScreensPictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(startLevelOnSdl(level));
        ASSERT_NE(level.loadLevel(1), nullptr);
        // The screens' controls take their looks from the templates the intro loads.
        const CRefPointer<CContent> templates =
            level.content().load(contentType("snod"), u"scenes/TemplateCollection.qscn", true);
        auto* collection = static_cast<BaseNode*>(templates.get());
        ASSERT_TRUE(collection && collection->isKindOf(TemplateCollectionNode::kTypeId));
        level.game.application().getSceneManager()->setTemplateCollection(
            static_cast<TemplateCollectionNode*>(collection));
        CEngine& engine = level.game.engine();
        CreationParameters parameters = engine.getCreationParameters();
        parameters.driverType = 3;
        engine.setParameters(parameters);
    }
    void TearDown() override {
        level.stop();
        gameOnSdl() = nullptr;
    }

    ::testing::AssertionResult halfLooksLike(const char* golden) {
        IRenderDriver& driver = *level.game.engine().getVideoDriver();
        driver.startFrame(true, true, CColor(0), nullptr, nullptr);
        level.game.application().getSceneManager()->renderScenes(&driver);
        driver.getQuadBatcher()->flush();
        const CRefPointer<CSoftwareImage> picture = driver.captureScreen();
        driver.presentFrame();
        if (!picture)
            return ::testing::AssertionFailure() << "nothing captured";
        return matchesGolden(*halfSizeOf(*picture), golden, 4);
    }

    // The results, with the same greeting each time, once their counters have counted.
    void showResults() {
        engineRandom().seed(7);
        ASSERT_TRUE(level_results::openResults(level));
        level.advance(100);
    }

    LevelHarness level;
};

TEST_F(LevelScreensPictureTest, ResultsOfAMissedGoal) {
    level_results::playAndEarn(level, {60, 0, 0, 0, -4, 0});
    ASSERT_TRUE(level_results::clientsLeave(level, 0, 1));
    showResults();
    EXPECT_TRUE(halfLooksLike("screens-results-missed"));
}

TEST_F(LevelScreensPictureTest, ResultsOfAnExpertDay) {
    level_results::playAndEarn(level, {180, 40, 24, 12, -8, 30});
    ASSERT_TRUE(level_results::clientsLeave(level, 1, 1));
    showResults();
    EXPECT_TRUE(halfLooksLike("screens-results-expert"));
}

// The help's first page over the pause menu.
TEST_F(LevelScreensPictureTest, HelpOverThePauseMenu) {
    level.level().setClientGenerationPaused(true);
    SceneNode* menu =
        level.screen().openSceneFile(u"scenes/InGameMenuScene.qscn", true,
                                     CNameId(CString("NavFrom")), CNameId(CString("NavTo")));
    ASSERT_NE(menu, nullptr);
    level.advance(20);
    ASSERT_NE(menu->openSceneFile(u"scenes/HelpScene.qscn", true, CNameId(), CNameId()), nullptr);
    level.advance(30);
    EXPECT_TRUE(halfLooksLike("screens-help"));
}

} // namespace
