#include "engine/audio/SoundPlayer.h"

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/audio/SoundPack.h"
#include "tests/audio/SoundContentFixture.h"

namespace {

const CNameId kLong(CString("Long"));
const CNameId kMusic(CString("Music"));
const CNameId kShort(CString("Short"));
const CNameId kRound(CString("Round"));

constexpr int16_t kLevel = 8000;

// Cues of group 0 over sounds of one level: "Long" (1 s), "Music" (looping, 1 s),
// "Short" (50 ms) and "Round", which loops over three 50 ms sounds of different levels.
class SoundPlayerTest : public SoundContentFixture {
protected:
    SoundPlayerTest() {
        writeLevel("sounds/long.wav", 44100, kLevel);
        writeLevel("sounds/short.wav", 2205, kLevel);
        for (int i = 1; i <= 3; ++i)
            writeLevel("sounds/round" + std::to_string(i) + ".wav", 2205, int16_t(1000 * i));
        const CRefPointer<SoundPack> pack = readPack(R"(<SoundPack>
  <SoundCue Name="Long" GroupID="0"><Sound Filename="long.wav"/></SoundCue>
  <SoundCue Name="Music" GroupID="0" Loop="true"><Sound Filename="long.wav"/></SoundCue>
  <SoundCue Name="Short" GroupID="0"><Sound Filename="short.wav"/></SoundCue>
  <SoundCue Name="Round" GroupID="0" Loop="true">
    <Sound Filename="round1.wav"/><Sound Filename="round2.wav"/><Sound Filename="round3.wav"/>
  </SoundCue>
</SoundPack>)");
        pack->addCuesTo(*player);
        gain = loopback::centreGain(*driver);
    }

    ~SoundPlayerTest() override { player->removeAllCues(); }

    void update(uint32_t ms) {
        CEventSystemFlowUpdate event(ms);
        player->deliver(CEventReceiver::RouteSelf, event);
    }

    // The level heard now, as a fraction of a kLevel sound at full volume. OpenAL glides to a
    // changed gain over the next mix it is asked for, so a short mix goes first.
    float heard() {
        loopback::render(*driver, 64);
        return loopback::render(*driver, 1)[0] / (gain * kLevel / 32768.0f);
    }

    SoundGroupSettings& group0() { return player->getGroupSettings(0); }

    CRefPointer<CSoundPlayer> player{new CSoundPlayer(driver)};
    float gain = 0.0f;
};

} // namespace

TEST_F(SoundPlayerTest, GroupAdmitsByLimitPolicyAndVolume) {
    struct Case {
        const char* what;
        int32_t maxPlaying;
        int32_t policy;
        float volume;
        int playing;
        bool oldestFadingOut;
        bool admitted;
        bool oldestFadedByAdmission;
    };
    const Case cases[] = {
        {"no limit", 0, 0, 1.0f, 3, false, true, false},
        {"below the limit", 2, 0, 1.0f, 1, false, true, false},
        {"full, refuse", 2, 0, 1.0f, 2, false, false, false},
        {"full, replace the oldest", 2, 1, 1.0f, 2, false, true, true},
        {"full, play anyway", 2, 7, 1.0f, 2, false, true, false},
        {"a fading-out instance does not count", 2, 0, 1.0f, 2, true, true, false},
        {"muted group", 0, 0, 0.0f, 0, false, false, false},
    };
    for (const Case& c : cases) {
        player->stopGroup(-1);
        update(1);
        ASSERT_EQ(player->getPlayingInstances().size(), 0u) << c.what;
        group0() = SoundGroupSettings();
        std::vector<CRefPointer<SoundCue>> started;
        for (int i = 0; i < c.playing; ++i)
            started.push_back(player->playCue(kLong));
        update(100);
        if (c.oldestFadingOut)
            player->stopCue(kLong, 500);
        group0().maxPlaying = c.maxPlaying;
        group0().overflowPolicy = c.policy;
        group0().fadeOutMs = 1000;
        group0().volume = c.volume;
        EXPECT_EQ(bool(player->playCue(kLong)), c.admitted) << c.what;
        if (!started.empty() && !c.oldestFadingOut) {
            EXPECT_EQ(started[0]->getFadeState() == SoundCue::kFadingOut, c.oldestFadedByAdmission)
                << c.what;
            if (c.oldestFadedByAdmission) {
                EXPECT_EQ(started[0]->getFadeDuration(), 1000) << c.what;
            }
        }
    }
}

TEST_F(SoundPlayerTest, VolumesMultiplyAndAreHeardAtOnce) {
    const CRefPointer<SoundCue> instance = player->playCue(kLong);
    ASSERT_TRUE(instance);
    EXPECT_NEAR(heard(), 1.0f, 1e-3f);
    player->setGroupVolume(0.5f, -1);
    EXPECT_NEAR(heard(), 0.5f, 1e-3f);
    player->setGroupVolume(0.5f, 0);
    EXPECT_NEAR(heard(), 0.25f, 1e-3f);
    player->setGroupVolume(0.0f, 0);
    EXPECT_EQ(heard(), 0.0f);
    EXPECT_FALSE(player->playCue(kShort)) << "a muted group starts nothing";
}

TEST_F(SoundPlayerTest, FadesAreHeard) {
    ASSERT_TRUE(player->playCue(kMusic, false, 1000));
    EXPECT_EQ(heard(), 0.0f);
    const float expected[] = {0.25f, 0.5f, 0.75f, 1.0f, 1.0f};
    for (const float level : expected) {
        update(250);
        EXPECT_NEAR(heard(), level, 1e-3f);
    }
    player->stopCue(kMusic, 400);
    update(100);
    EXPECT_NEAR(heard(), 0.75f, 1e-3f);
    update(300);
    EXPECT_EQ(heard(), 0.0f);
    EXPECT_EQ(player->getPlayingInstances().size(), 0u);
}

// The game sets the music group's volume on every frame, fades or not.
TEST_F(SoundPlayerTest, AVolumeChangeDuringAFadeKeepsThePlaceInTheFade) {
    ASSERT_TRUE(player->playCue(kMusic, false, 1000));
    update(250);
    player->setGroupVolume(0.5f, 0);
    EXPECT_NEAR(heard(), 0.125f, 1e-3f);
    update(250);
    EXPECT_NEAR(heard(), 0.25f, 1e-3f);
    update(500);
    EXPECT_NEAR(heard(), 0.5f, 1e-3f);
    player->stopCue(kMusic, 1000);
    update(500);
    player->setGroupVolume(1.0f, 0);
    EXPECT_NEAR(heard(), 0.5f, 1e-3f);
}

TEST_F(SoundPlayerTest, StopDuringAFadeInFadesOutFromTheLevelReached) {
    const CRefPointer<SoundCue> instance = player->playCue(kMusic, false, 1000);
    update(300);
    player->stopCue(kMusic, 2000);
    EXPECT_EQ(instance->getFadeState(), SoundCue::kFadingOut);
    EXPECT_EQ(instance->getFadeDuration(), 2000);
    EXPECT_EQ(instance->getFadePosition(), 600);
    update(300);
    EXPECT_NEAR(heard(), 0.15f, 1e-3f);
    update(300);
    EXPECT_EQ(heard(), 0.0f);
}

TEST_F(SoundPlayerTest, FadeOutNeedsFiftyMillisecondsPlayedAndASoundNotPaused) {
    struct Case {
        uint32_t played;
        bool paused;
        bool fades;
    };
    const Case cases[] = {
        {0, false, false}, {49, false, false}, {50, false, true}, {200, true, false}};
    for (const Case& c : cases) {
        const CRefPointer<SoundCue> instance = player->playCue(kMusic);
        update(c.played);
        instance->setPaused(c.paused);
        player->stopCue(kMusic, 300);
        EXPECT_EQ(instance->hasCurrentSound(), c.fades) << c.played;
        EXPECT_EQ(instance->getFadeState() == SoundCue::kFadingOut, c.fades) << c.played;
        player->stopGroup(-1);
        update(1);
    }
}

TEST_F(SoundPlayerTest, StopsUseGroupDefaultsAndTheOldestInstanceFirst) {
    group0().fadeOutMs = 700;
    const CRefPointer<SoundCue> older = player->playCue(kMusic);
    const CRefPointer<SoundCue> newer = player->playCue(kMusic);
    update(100);
    player->stopCue(kMusic, 0);
    EXPECT_EQ(older->getFadeState(), SoundCue::kFadingOut);
    EXPECT_EQ(older->getFadeDuration(), 700);
    EXPECT_EQ(newer->getFadeState(), SoundCue::kNoFade);
    player->stopGroup(0);
    EXPECT_FALSE(older->hasCurrentSound());
    EXPECT_FALSE(newer->hasCurrentSound());
    update(1);
    EXPECT_FALSE(player->isCuePlaying(kMusic));
}

TEST_F(SoundPlayerTest, PausedGroupPausesItsInstancesAndStartsLaterOnesPaused) {
    const CRefPointer<SoundCue> first = player->playCue(kLong);
    player->setGroupPaused(true, 0);
    EXPECT_EQ(first->getState(), 1);
    EXPECT_EQ(heard(), 0.0f);
    const CRefPointer<SoundCue> second = player->playCue(kShort);
    EXPECT_EQ(second->getState(), 1);
    player->setGroupPaused(false, -1);
    EXPECT_NEAR(heard(), 2.0f, 1e-3f);
    EXPECT_TRUE(group0().paused) << "-1 keeps nothing";
}

TEST_F(SoundPlayerTest, ExclusivePlayWaitsForTheCueToFinish) {
    ASSERT_TRUE(player->playCue(kShort, true));
    EXPECT_FALSE(player->playCue(kShort, true));
    EXPECT_TRUE(player->isCuePlaying(kShort));
    loopback::render(*driver, 2205);
    update(50);
    EXPECT_FALSE(player->isCuePlaying(kShort));
    EXPECT_TRUE(player->playCue(kShort, true));
}

TEST_F(SoundPlayerTest, LoopingCueNeverPlaysTheSameSoundTwiceInARow) {
    const CRefPointer<SoundCue> instance = player->playCue(kRound);
    std::vector<int32_t> order;
    std::set<int32_t> seen;
    for (int i = 0; i < 40; ++i) {
        order.push_back(instance->getCurrentSound());
        seen.insert(order.back());
        // Each sound is heard whole, at its own level.
        const std::vector<float> out = loopback::render(*driver, 2205);
        EXPECT_NEAR(out[1000] / (gain / 32768.0f), 1000.0f * float(order.back() + 1), 0.5f);
        update(50);
    }
    for (size_t i = 1; i < order.size(); ++i)
        ASSERT_NE(order[i], order[i - 1]) << i;
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(SoundPlayerTest, SingleSoundLoopsByItselfWithoutAGap) {
    ASSERT_TRUE(player->playCue(kMusic));
    for (int second = 0; second < 3; ++second) {
        const std::vector<float> out = loopback::render(*driver, 44100);
        EXPECT_NEAR(loopback::peak(out, 0, out.size()), gain * kLevel / 32768.0f, 1e-4f);
        for (const float sample : out)
            ASSERT_GT(sample, 0.0f);
        update(1000);
    }
}

TEST_F(SoundPlayerTest, FinishedInstancesLeaveInOrderAndDriverEventsSwapTheDriver) {
    const CRefPointer<SoundCue> shortOne = player->playCue(kShort);
    const CRefPointer<SoundCue> longOne = player->playCue(kLong);
    loopback::render(*driver, 3000);
    update(60);
    ASSERT_EQ(player->getPlayingInstances().size(), 1u);
    EXPECT_EQ(player->getPlayingInstances()[0], longOne);
    EXPECT_EQ(shortOne->getPlayer(), nullptr);

    CEventAudioDriverRemoved removed;
    player->deliver(CEventReceiver::RouteSelf, removed);
    EXPECT_EQ(player->getAudioDriver(), nullptr);
    CEventAudioDriverCreated created(reference(driver));
    player->deliver(CEventReceiver::RouteSelf, created);
    EXPECT_EQ(player->getAudioDriver(), driver.get());

    player->removeAllCues();
    EXPECT_EQ(longOne->getPlayer(), nullptr);
    EXPECT_FALSE(player->playCue(kLong));
}

TEST_F(SoundPlayerTest, RemovingTheCuesSilencesCopiesStillHeldElsewhere) {
    const CRefPointer<SoundCue> music = player->playCue(kMusic);
    ASSERT_TRUE(music);
    EXPECT_NEAR(heard(), 1.0f, 1e-3f);
    player->removeAllCues();
    EXPECT_FALSE(music->hasCurrentSound());
    EXPECT_EQ(heard(), 0.0f);
}
