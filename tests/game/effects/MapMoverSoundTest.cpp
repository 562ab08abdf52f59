#include <gtest/gtest.h>

#include "engine/audio/SoundCue.h"
#include "engine/audio/SoundPlayer.h"
#include "game/effects/PlaneNode.h"
#include "game/effects/ScooterNode.h"
#include "tests/game/screens/ScreenFixture.h"

namespace {

// The engine sounds of planes and scooters, in the game with its sound pack.
class MapMoverSoundTest : public ScreenTest {
protected:
    CSoundPlayer& sounds() { return *game.engine().getSoundPlayer(); }
    // The playing copy of the cue, or none.
    const SoundCue* playing(const char* cue) {
        for (const CRefPointer<SoundCue>& copy : sounds().getPlayingInstances()) {
            if (copy->getName() == name(cue))
                return copy.get();
        }
        return nullptr;
    }

    // The mover on a short path in the current scene: its sound starts with the first frame
    // that draws it and fades out over 500 ms once it has removed itself.
    template <typename Mover>
    void expectEngineSound(const char* cue) {
        const CRefPointer<Mover> mover(new Mover(CContentKey(), current(), nullptr));
        const CRefPointer<GPath> path(new GPath());
        path->points.append(PathPoint{0, 0});
        path->points.append(PathPoint{30, 0});
        mover->startPath(path.get(), -1, false, false);
        EXPECT_EQ(playing(cue), nullptr);
        game.advance(20);
        ASSERT_NE(playing(cue), nullptr) << cue;
        EXPECT_EQ(playing(cue)->getFadeState(), SoundCue::kNoFade);
        for (int ms = 0; ms < 2000 && mover->getParent() != nullptr; ms += 20)
            game.advance(20);
        ASSERT_EQ(mover->getParent(), nullptr) << cue;
        ASSERT_NE(playing(cue), nullptr) << cue;
        EXPECT_EQ(playing(cue)->getFadeState(), SoundCue::kFadingOut) << cue;
        EXPECT_EQ(playing(cue)->getFadeDuration(), 500) << cue;
        game.advance(600);
        EXPECT_EQ(playing(cue), nullptr) << cue;
    }
};

TEST_F(MapMoverSoundTest, PlanesAndScootersSoundFromTheirFirstFrameAndFadeOutAtTheEnd) {
    expectEngineSound<GPlaneNode>("MapPlain");
    expectEngineSound<GScooterNode>("MapSkuter");
}

} // namespace
