#include <gtest/gtest.h>

#include "engine/core/PropertyDataScalars.h"
#include "game/effects/WaveNode.h"
#include "tests/game/effects/EffectFixture.h"

// Waves drifting and fading on the map's sea.
namespace {

class WaveNodeTest : public EffectTest {
protected:
    CRefPointer<GWaveNode> makeWave(int32_t lifeTime) {
        CRefPointer<GWaveNode> wave = make<GWaveNode>();
        set(*wave, "LifeTime", makeIntProperty(lifeTime));
        return wave;
    }
};

// The alpha after each 20 ms tick at the given ages: in over the first 1300 ms, held where the
// fade-in left it, out over the last 1300 ms.
TEST_F(WaveNodeTest, FadesInAndOutOverItsLife) {
    struct Case {
        int32_t lifeTime;
        int32_t age;
        uint32_t alpha;
    };
    const Case cases[] = {
        {5000, 0, 0},
        {5000, 20, 3},
        {5000, 660, 129},
        {5000, 1280, 251},
        {5000, 1300, 251},
        {5000, 3700, 251},
        {5000, 3720, 251},
        {5000, 4340, 129},
        {5000, 4980, 3},
        // Too short for both: the fade-in goes first, then the fade-out from its own value.
        {2000, 1280, 251},
        {2000, 1300, 137},
        {2000, 1640, 70},
        {2000, 1980, 3},
    };
    int32_t lifeTime = -1;
    int32_t age = 0;
    CRefPointer<GWaveNode> wave;
    for (const Case& c : cases) {
        if (c.lifeTime != lifeTime) {
            lifeTime = c.lifeTime;
            age = 0;
            wave = makeWave(lifeTime);
            draw();
        }
        for (; age < c.age; age += 20)
            tick(20);
        EXPECT_EQ(wave->getTintColor().getAlpha(), c.alpha) << c.lifeTime << " at " << c.age;
        EXPECT_EQ(wave->getTintColor().value & 0xFFFFFF, 0xFFFFFFu);
    }
}

TEST_F(WaveNodeTest, StartsTransparentPlaysNormalDriftsAndGoesAtTheEndOfItsLife) {
    const CRefPointer<BaseNode> loaded =
        load(u"<SceneNode Type=\"BaseNode\" ClassOverride=\"GWaveNode\"><Properties>"
             u"<color Name=\"TintColor\" Value=\"FF102030\"/>"
             u"<vector3d Name=\"Velocity\" Value=\"10;-5;0\"/><int Name=\"LifeTime\" "
             u"Value=\"1500\"/></Properties><SceneNode Type=\"BaseNode\"><Properties><string "
             u"Name=\"Name\" Value=\"Wave\"/></Properties><States><State Name=\"Normal\"/>"
             u"</States></SceneNode></SceneNode>");
    auto* wave = static_cast<GWaveNode*>(loaded.get());
    ASSERT_NE(wave->getWave(), nullptr);
    wave->setPosition({100, 50, 0});
    scene->appendChild(wave);
    draw();
    EXPECT_EQ(wave->getTintColor().value, 0x00FFFFFFu) << "whatever its file said";
    EXPECT_EQ(stateOf(wave->getWave()), "Normal");

    tick(20, 50);
    EXPECT_NEAR(wave->getPosition().x, 110, 1e-3);
    EXPECT_NEAR(wave->getPosition().y, 45, 1e-3);
    tick(20, 24);
    EXPECT_EQ(wave->getParent(), scene.get()) << "20 ms left";
    tick(20);
    EXPECT_EQ(wave->getParent(), nullptr) << "the tick that reaches the end";
    EXPECT_EQ(wave->getScheduler(), nullptr);
}

TEST_F(WaveNodeTest, WithoutALifeItDriftsForEverUnseen) {
    const CRefPointer<GWaveNode> wave = make<GWaveNode>();
    set(*wave, "Velocity", makeVector3dProperty({0, 10, 0}));
    draw();
    tick(20, 500);
    EXPECT_EQ(wave->getTintColor().value, 0x00FFFFFFu);
    EXPECT_NEAR(wave->getPosition().y, 100, 1e-2);
    EXPECT_NE(wave->getScheduler(), nullptr);
}

} // namespace
