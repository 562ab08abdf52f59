#include "engine/ui/SoundNode.h"

#include <gtest/gtest.h>

#include "engine/audio/SoundPlayer.h"
#include "tests/audio/SoundContentFixture.h"
#include "tests/ui/ControlSceneFixture.h"

namespace {

const CNameId kShort(CString("Short"));
const CNameId kLong(CString("Long"));

// "Sounds.qscn" in a scene manager whose engine's sound player has the cues "Short" (50 ms)
// and "Long" (1 s), on OpenAL's loopback device.
class SoundNodeTest : public SoundContentFixture, public StubEngine, public ControlScene {
protected:
    SoundNodeTest() {
        writeLevel("sounds/short.wav", 2205, 8000);
        writeLevel("sounds/long.wav", 44100, 8000);
        readPack(R"(<SoundPack>
  <SoundCue Name="Short"><Sound Filename="short.wav"/></SoundCue>
  <SoundCue Name="Long"><Sound Filename="long.wav"/></SoundCue>
</SoundPack>)")
            ->addCuesTo(*player);
        device->m_soundPlayer =
            CServiceReference<CSoundPlayer>::adopt(CRefPointer<CSoundPlayer>(player).detach());
        ControlScene::manager->setEngine(device.get());
        open(u"Sounds.qscn");
    }

    // A frame: the scene gathers what it draws.
    void draw() {
        RenderList list;
        scene->collectDrawables(list);
    }
    // The mix moves on, and the player notices the sounds that ended.
    void play(uint32_t ms) {
        loopback::play(*driver, loopback::kRate * ms / 1000);
        CEventSystemFlowUpdate update(ms);
        player->deliver(CEventReceiver::RouteSelf, update);
    }
    std::vector<std::string> playing() const {
        std::vector<std::string> names;
        for (const CRefPointer<SoundCue>& cue : player->getPlayingInstances()) {
            if (cue->getState() == 2)
                names.push_back(cue->getName().toString().c_str());
        }
        return names;
    }

    CRefPointer<CSoundPlayer> player{new CSoundPlayer(driver)};
};

TEST_F(SoundNodeTest, ACueSetToPlayStartsOnTheFirstFrameAndIsNotRepeatedAfterItEnds) {
    EXPECT_TRUE(playing().empty()) << "opening the scene draws nothing yet";
    draw();
    EXPECT_EQ(playing(), std::vector<std::string>{"Short"});
    draw();
    EXPECT_EQ(player->getPlayingInstances().size(), 1u);
    play(100);
    EXPECT_TRUE(playing().empty());
    draw();
    EXPECT_TRUE(playing().empty()) << "an ended cue stays ended";

    find<SoundNode>("Jingle").setPlay(true);
    EXPECT_EQ(playing(), std::vector<std::string>{"Short"}) << "setting Play again restarts it";
}

TEST_F(SoundNodeTest, AHiddenNodePlaysOnlyOnceItsStateShowsItAndStopsAtOnceWhenHidden) {
    SoundNode& chime = find<SoundNode>("Chime");
    draw();
    EXPECT_EQ(playing(), std::vector<std::string>{"Short"}) << "the hidden chime starts nothing";
    chime.setState(nameId("Show"), nullptr, CNameId());
    EXPECT_EQ(playing(), (std::vector<std::string>{"Short", "Long"}));
    ASSERT_NE(chime.getInstance(), nullptr);
    const CRefPointer<SoundCue> instance = CRefPointer<SoundCue>::share(chime.getInstance());
    chime.setState(nameId("Hide"), nullptr, CNameId());
    EXPECT_EQ(instance->getState(), 0) << "stopped, without a fade";
    EXPECT_FALSE(chime.isVisible());
    draw();
    EXPECT_EQ(instance->getState(), 0);
}

TEST_F(SoundNodeTest, AnotherCueStopsTheOneThatPlaysAndStartsItself) {
    SoundNode& jingle = find<SoundNode>("Jingle");
    draw();
    const CRefPointer<SoundCue> first = CRefPointer<SoundCue>::share(jingle.getInstance());
    jingle.setSoundCueName(kLong);
    EXPECT_EQ(first->getState(), 0);
    EXPECT_EQ(playing(), std::vector<std::string>{"Long"});
    jingle.setSoundCueName(kLong);
    EXPECT_EQ(playing(), std::vector<std::string>{"Long"}) << "the same name changes nothing";
    jingle.setPlay(false);
    EXPECT_TRUE(playing().empty());
    jingle.setSoundCueName(kShort);
    draw();
    EXPECT_TRUE(playing().empty()) << "without Play nothing starts";
}

TEST_F(SoundNodeTest, DestroyingTheNodeStopsItsCue) {
    draw();
    const CRefPointer<SoundCue> instance =
        CRefPointer<SoundCue>::share(find<SoundNode>("Jingle").getInstance());
    scene->removeChild(&find<SoundNode>("Jingle"));
    EXPECT_EQ(instance->getState(), 0);
}

} // namespace
