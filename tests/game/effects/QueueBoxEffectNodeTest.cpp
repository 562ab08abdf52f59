#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "engine/core/EngineServices.h"
#include "engine/core/PropertyDataScalars.h"
#include "engine/core/Scheduler.h"
#include "engine/core/Utf.h"
#include "engine/io/ContentManager.h"
#include "engine/io/ContentProcessorsManager.h"
#include "engine/io/VirtualFileSystem.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/SpriteNode.h"
#include "engine/video/AtlasTexture.h"
#include "game/app/GameClassRegistration.h"
#include "game/effects/QueueBoxEffectNode.h"
#include "tests/game/app/GameHarness.h"
#include "tests/game/effects/EffectFixture.h"

// Music notes rising from the queue box.
namespace {

class QueueBoxEffectNodeTest : public EffectTest {
protected:
    CRefPointer<GQueueBoxEffectNode> note(int32_t lifeTime, int32_t disappearTime) {
        CRefPointer<GQueueBoxEffectNode> node = make<GQueueBoxEffectNode>();
        make<SpriteNode>(node.get())->setName(name("Note"));
        node->OnLoaded();
        set(*node, "LifeTime", makeIntProperty(lifeTime));
        set(*node, "DisappearTime", makeIntProperty(disappearTime));
        return node;
    }
};

TEST_F(QueueBoxEffectNodeTest, ANoteThatIsHiddenOrHasNoNoteSpriteNeverStarts) {
    const CRefPointer<GQueueBoxEffectNode> bare = make<GQueueBoxEffectNode>();
    const CRefPointer<GQueueBoxEffectNode> plain = make<GQueueBoxEffectNode>();
    make<BaseNode>(plain.get())->setName(name("Note"));
    plain->OnLoaded();
    const CRefPointer<GQueueBoxEffectNode> hidden = note(2000, 1000);
    hidden->setVisible(false);
    draw();
    EXPECT_EQ(bare->getScheduler(), nullptr);
    EXPECT_EQ(plain->getNote(), nullptr) << "not a sprite";
    EXPECT_EQ(plain->getScheduler(), nullptr);
    EXPECT_EQ(hidden->getScheduler(), nullptr);
    hidden->setVisible(true);
    draw();
    EXPECT_NE(hidden->getScheduler(), nullptr) << "shown, it flies at the next drawing pass";

    hidden->removeChild(hidden->getNote());
    tick(30);
    EXPECT_EQ(hidden->getScheduler(), nullptr) << "its note has gone";
}

// With every range at (0, 0) the note stays at the node's origin and fades over the last
// DisappearTime ms; a placed note then hides, one made by code goes.
TEST_F(QueueBoxEffectNodeTest, ItFadesAtTheEndAndHidesOrGoes) {
    struct Case {
        int32_t disappearTime;
        bool internal;
        uint32_t alphaAt1500;
    };
    const Case cases[] = {{1000, false, 128}, {1000, true, 128}, {0, false, 255}};
    for (const Case& c : cases) {
        const CRefPointer<GQueueBoxEffectNode> node = note(2000, c.disappearTime);
        node->setInternal(c.internal);
        draw();
        tick(50, 30);
        EXPECT_EQ(node->getNote()->getPosition(), CVector3d());
        EXPECT_EQ(node->getTintColor().getAlpha(), c.alphaAt1500) << c.disappearTime;
        tick(50, 9);
        EXPECT_EQ(node->getParent() != nullptr, true);
        tick(50);
        EXPECT_EQ(node->getScheduler(), nullptr);
        if (c.internal) {
            EXPECT_EQ(node->getParent(), nullptr) << "made by code, it goes";
            continue;
        }
        EXPECT_EQ(node->getParent(), scene.get());
        EXPECT_FALSE(node->isVisible()) << "placed, it hides";
        EXPECT_EQ(node->getTintColor().getAlpha(), 255u);
        scene->removeChild(node.get());
    }
}

TEST_F(QueueBoxEffectNodeTest, TheNoteDriftsWhileItCirclesOnAGrowingEllipse) {
    const CRefPointer<GQueueBoxEffectNode> node = note(5000, 1000);
    set(*node, "VelocityXRange", makeVector2dProperty({10, 10}));
    set(*node, "AccelYRange", makeVector2dProperty({-20, -20}));
    set(*node, "EllipseSizeXRange", makeVector2dProperty({5, 5}));
    set(*node, "EllipseSizeYRange", makeVector2dProperty({4, 4}));
    set(*node, "EllipseYVelRange", makeVector2dProperty({2, 2}));
    set(*node, "AngularVelocityRange", makeVector2dProperty({90, 90}));
    draw();
    const CVector3d start = node->getNote()->getPosition();
    EXPECT_NEAR(start.x, 0, 1e-5);
    EXPECT_NEAR(start.y, 4, 1e-5) << "at 90 degrees";
    tick(50, 20);
    // 1 s: base (10, -10.5) (the acceleration adds to the speed before the step), angle 180,
    // ellipse (5, 6).
    const CVector3d at = node->getNote()->getPosition();
    EXPECT_NEAR(at.x, 10 - 5, 1e-3);
    EXPECT_NEAR(at.y, -10.5f, 1e-3);
}

TEST_F(QueueBoxEffectNodeTest, APictureThatDoesNotLoadLeavesTheNoteAsItWas) {
    CRefPointer<IVirtualFileSystem> files(new CVirtualFileSystem);
    CRefPointer<CContentProcessorsManager> processors(
        new CContentProcessorsManager({{}, {}, files, {}}));
    CRefPointer<CContentManager> content(new CContentManager({}, files, processors));
    const CRefPointer<GQueueBoxEffectNode> node(
        new GQueueBoxEffectNode(CContentKey(content.get(), u"notes.qscn"), scene.get(), nullptr));
    const CRefPointer<SpriteNode> sprite = make<SpriteNode>(node.get());
    sprite->setName(name("Note"));
    const CRefPointer<CAtlasTexture> image(
        new CAtlasTexture(CContentKey(), nullptr, CRect(0, 0, 1, 1), {}, {}));
    sprite->setImage(image.get());
    node->OnLoaded();
    testing::internal::CaptureStdout();
    draw();
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_NE(node->getScheduler(), nullptr);
    EXPECT_EQ(sprite->getImage(), image.get());
    EXPECT_NE(log.find("WRN: Queue note picture missing: levels/common/Locations/QueueBox/"
                       "MusicParticles/"),
              std::string::npos)
        << log;
}

// The pictures, loaded through the content manager from the built archive: blue or green by
// the generator's first value, one of six by its second.
TEST(QueueBoxNotePictureTest, EachNoteGetsOneOfTheTwelvePicturesTheGeneratorPicks) {
    GameHarness game;
    const std::filesystem::path file = game.contentBase() / "extra" / "scenes" / "Notes.qscn";
    std::filesystem::create_directories(file.parent_path());
    std::string notes;
    for (int i = 0; i < 8; ++i)
        notes += "<SceneNode Type=\"BaseNode\" ClassOverride=\"GQueueBoxEffectNode\">"
                 "<SceneNode Type=\"SpriteNode\"><Properties><string Name=\"Name\" "
                 "Value=\"Note\"/></Properties></SceneNode></SceneNode>";
    std::ofstream(file) << "<SceneNode Type=\"SceneNode\">" << notes << "</SceneNode>";
    ASSERT_TRUE(game.start(u"extra"));
    registerGameClasses();
    const CRefPointer<CContent> loaded = game.application().getContentManager()->load(
        contentType("snod"), u"scenes/Notes.qscn", true);
    auto* scene = static_cast<SceneNode*>(loaded.get());
    ASSERT_TRUE(scene);
    const CRefPointer<CScheduler> clock(new CScheduler());
    scene->setClock(clock.get());
    scene->setScene(nullptr, scene);

    CRandom reference;
    reference.seed(3);
    CEngineServices::instance()->getRandom()->seed(3);
    RenderList list;
    scene->collectDrawables(list);
    std::set<std::string> colours;
    for (uint32_t i = 0; i < scene->getChildCount(); ++i) {
        const auto* node = static_cast<GQueueBoxEffectNode*>(scene->getChild(i));
        const std::string colour = (reference.nextMwc() & 1u) != 0 ? "Blue" : "Green";
        const std::string picture = "levels/common/Locations/QueueBox/MusicParticles/" + colour +
                                    "/Particle0" + std::to_string(reference.nextMwc() % 6 + 1) +
                                    ".png";
        ASSERT_NE(node->getNote()->getImage(), nullptr) << picture;
        EXPECT_EQ(utf16ToUtf8(node->getNote()->getImage()->getContentName().c_str()).c_str(),
                  picture);
        EXPECT_NE(node->getNote()->getImage()->getPage(), nullptr);
        colours.insert(colour);
    }
    EXPECT_EQ(colours.size(), 2u);
    scene->removeAllChildren();
    EXPECT_EQ(game.logProblems(), "");
}

} // namespace
