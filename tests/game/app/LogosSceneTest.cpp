#include "game/app/LogosScene.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "engine/core/Engine.h"
#include "engine/core/Properties.h"
#include "engine/io/ContentManager.h"
#include "engine/io/ProfileManager.h"
#include "engine/scene/SceneManager.h"
#include "engine/video/AtlasTexture.h"
#include "game/app/AwardTracker.h"
#include "game/app/LogoList.h"
#include "tests/game/app/GameHarness.h"
#include "tests/game/app/ScreenInput.h"

namespace {

class LogosSceneTest : public ::testing::Test {
protected:
    // A file of the extra content folder, which lies over the content set.
    void write(const std::string& file, const std::string& text) {
        const std::filesystem::path path = game.contentBase() / "extra" / file;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    // Starts the game with that file over the content set.
    void startWith(const std::string& file, const std::string& text) {
        write(file, text);
        ASSERT_TRUE(game.start(u"extra"));
    }

    SceneNode* current() const { return game.application().getSceneManager()->getCurrentScene(); }
    SpriteNode* sprite(const char* name) const {
        BaseNode* scene = current()->findChild(CNameId(CString("Scene")), 1);
        return static_cast<SpriteNode*>(scene->findChild(CNameId(CString(name)), 1));
    }
    CAtlasTexture* image(const char16_t* name) const {
        const CRefPointer<CContent> loaded =
            game.application().getContentManager()->loadAtlasTexture(name, true);
        return static_cast<CAtlasTexture*>(loaded.get());
    }
    void click() { screen_input::click(game, screen_input::centreOf(*current())); }

    GameHarness game;
};

TEST_F(LogosSceneTest, LogosFollowEachOtherAndOnlySkippableOnesGiveWayToAClick) {
    startWith("logos/Logos.xml", R"(<Logos>
  <Logo Image="logos/Publisher.png" Time="300" Skippable="false"/>
  <Logo Image="logos/Engine.png" Time="5000" Skippable="true"/>
  <MMLogo Image="logos/Engine.png" Pos="10;20" URL="https://example.org"/>
  <Logo Image="logos/Publisher.png"/>
</Logos>)");
    ASSERT_TRUE(current()->isKindOf(GLogosScene::kTypeId));
    game.advance(20);
    CAtlasTexture* publisher = image(u"logos/Publisher.png");
    CAtlasTexture* engine = image(u"logos/Engine.png");
    ASSERT_TRUE(publisher && engine);
    EXPECT_EQ(sprite("Logo2")->getImage(), publisher);
    EXPECT_EQ(sprite("Logo1")->getImage(), nullptr);

    click();
    game.advance(240);
    EXPECT_EQ(sprite("Logo2")->getImage(), publisher) << "not skippable";
    game.advance(120);
    EXPECT_EQ(sprite("Logo2")->getImage(), engine) << "after its 300 ms";
    EXPECT_EQ(sprite("Logo1")->getImage(), publisher) << "fading out behind";

    game.advance(1000);
    click();
    game.advance(40);
    EXPECT_EQ(sprite("Logo2")->getImage(), publisher) << "skipped at the next tick";

    // The last logo has no time: one tick, then it moves behind for a second.
    game.advance(40);
    EXPECT_EQ(sprite("Logo2")->getImage(), nullptr);
    EXPECT_EQ(sprite("Logo1")->getImage(), publisher);
    EXPECT_EQ(game.application().getLogoList()->getLogos().size(), 0u);
    EXPECT_EQ(game.application().getLogoList()->getMenuLogos().size(), 1u);
    game.advance(960);
    EXPECT_TRUE(current()->isKindOf(GLogosScene::kTypeId));
    game.advance(80);
    EXPECT_EQ(current()->getTypeName(), CStringW(u"GIntroScene"));
}

// A scene file may hold only one of the two sprites: the logos still follow each other on
// the one there is, and the one missing is never read.
TEST_F(LogosSceneTest, OneSpriteAloneIsEnough) {
    struct Case {
        const char* sprite;
        bool showsLogos;
    };
    const Case cases[] = {{"Logo2", true}, {"Logo1", false}};
    for (const Case& c : cases) {
        write("logos/Logos.xml", R"(<Logos><Logo Image="logos/Engine.png" Time="100"/></Logos>)");
        startWith("scenes/LogosScene.qscn",
                  std::string(R"(<SceneNode Type="SceneNode" ClassOverride="GLogosScene">)") +
                      R"(<SceneNode Type="BaseNode"><Properties><string Name="Name" )"
                      R"(Value="Scene"/></Properties><SceneNode Type="SpriteNode"><Properties>)"
                      R"(<string Name="Name" Value=")" +
                      c.sprite + R"("/></Properties></SceneNode></SceneNode></SceneNode>)");
        game.advance(20);
        CAtlasTexture* engine = image(u"logos/Engine.png");
        ASSERT_NE(engine, nullptr);
        EXPECT_EQ(sprite(c.sprite)->getImage(), c.showsLogos ? engine : nullptr) << c.sprite;
        game.advance(200);
        EXPECT_EQ(sprite(c.sprite)->getImage(), nullptr) << c.sprite;
        game.advance(1100);
        EXPECT_EQ(current()->getTypeName(), CStringW(u"GIntroScene")) << c.sprite;
    }
}

TEST_F(LogosSceneTest, WithoutLogosTheIntroFollowsAfterASecond) {
    startWith("logos/Logos.xml", "<Logos/>");
    game.advance(1000);
    EXPECT_TRUE(current()->isKindOf(GLogosScene::kTypeId));
    game.advance(80);
    EXPECT_EQ(current()->getTypeName(), CStringW(u"GIntroScene"));
}

TEST_F(LogosSceneTest, ArrivalSetsTheCaptionAndThousandsDelimiterFromTheDictionary) {
    struct Case {
        const char* entries;
        const char16_t* caption;
        char16_t delimiter;
    };
    const Case cases[] = {
        {R"(<s n="TitleName">Club Nights</s><s n="ThousandsDelimiter">.5</s>)", u"Club Nights",
         u'.'},
        {R"(<s n="TitleName"></s><s n="ThousandsDelimiter"></s>)", u"Velmora", u' '},
        {R"(<s n="Other">x</s>)", u"%TitleName%", u' '},
    };
    for (const Case& c : cases) {
        thousandsDelimiter = u',';
        startWith("strings/Dictionary.xml",
                  std::string("<Dictionary>") + c.entries + "</Dictionary>");
        EXPECT_EQ(game.host.window(game.window())->title, CStringW(c.caption)) << c.entries;
        EXPECT_EQ(game.engine().getGlobalProperties()->getStringW("TitleCaption"),
                  CStringW(c.caption));
        EXPECT_EQ(thousandsDelimiter, c.delimiter) << c.entries;
    }
}

TEST_F(LogosSceneTest, ArrivalLoadsTheActivePlayersAwards) {
    ASSERT_TRUE(game.start());
    game.player().setString("AchievementsProgress", "0;29;0;8");
    game.player().setString("AchievementsViewState", "0;0;0;2");
    game.profiles().saveUserProfiles();

    ASSERT_TRUE(game.start());
    GAwardTracker& awards = *game.application().getAwardTracker();
    EXPECT_EQ(awards.isAchieved(3), 2);
    EXPECT_TRUE(awards.reportProgress(1, 1)) << "29 of 30 read";
}

} // namespace
