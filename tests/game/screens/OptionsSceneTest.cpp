#include "game/screens/OptionsScene.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/audio/SoundPlayer.h"
#include "engine/ui/MessageBoxNode.h"
#include "engine/video/IRenderDriver.h"
#include "tests/game/screens/ScreenFixture.h"

namespace {

// The options over the main menu, for the player "Ann".
class OptionsSceneTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        addPlayer(u"Ann", 0);
        game.profiles().setActiveProfile(0);
        game.profiles().saveUserProfiles();
    }

    void openOptions() {
        openMenu();
        click("Scene/Menu/OptionsButton");
        ASSERT_EQ(currentName(), "OptionsScene");
    }

    ButtonNode* toggle(const char* name) const {
        return findAs<ButtonNode>((std::string("Scene/") + name).c_str());
    }
    bool isOn(const char* name) const { return GOptionsScene::isToggleOn(toggle(name)); }
    std::string caption(const char* name) const {
        return CString(toggle(name)->getText().c_str()).c_str();
    }
    SliderNode& slider(const char* name) const {
        return *findAs<SliderNode>((std::string("Scene/") + name).c_str());
    }
    CProfileParameters& player() const { return *game.profiles().getActiveProfile(); }
    CSoundPlayer& sound() const { return *game.engine().getSoundPlayer(); }
    uint32_t playing(const char* cue) const {
        uint32_t count = 0;
        for (const CRefPointer<SoundCue>& instance : sound().getPlayingInstances())
            count += instance->getName() == name(cue) ? 1 : 0;
        return count;
    }
    const FakeHostWindowSystem::Window& window() { return *game.host.window(game.window()); }
};

TEST_F(OptionsSceneTest, ArrivalShowsThePlayersSettings) {
    struct Case {
        bool on;
        float sound;
        float music;
    };
    for (const Case& c : {Case{true, 70, 20}, Case{false, 0, 100}}) {
        player().setBool("FullScreen", c.on);
        player().setBool("WindowsCursor", c.on);
        player().setBool("SoundOn", !c.on);
        player().setBool("DragViaClick", c.on);
        player().setFloat("SoundVolume", c.sound);
        player().setFloat("MusicVolume", c.music);
        openOptions();
        for (const char* name :
             {"FullscreenButton", "CursorButton", "MuteButton", "DragViaClickButton"}) {
            EXPECT_EQ(isOn(name), c.on) << name;
            EXPECT_EQ(caption(name), c.on ? "%Options_On%" : "%Options_Off%") << name;
        }
        EXPECT_EQ(slider("SoundSlider").getValue(), c.sound);
        EXPECT_EQ(slider("MusicSlider").getValue(), c.music);
    }
}

TEST_F(OptionsSceneTest, WithoutACurrentPlayerNothingIsShownOrChanged) {
    player().setFloat("SoundVolume", 70);
    game.profiles().addProfile(u"Bea");
    game.profiles().removeProfile(1);
    game.profiles().saveUserProfiles();
    ASSERT_EQ(game.profiles().getActiveProfile(), nullptr);
    const CRefPointer<SceneNode> below = plainScene();
    manager().openScene(below.get(), CNameId());
    open(u"scenes/OptionsScene.qscn");
    EXPECT_EQ(slider("SoundSlider").getValue(), 50.0f) << "as the scene file has it";
    for (const char* name :
         {"FullscreenButton", "CursorButton", "MuteButton", "DragViaClickButton"}) {
        click(toggle(name));
        EXPECT_FALSE(isOn(name)) << name;
    }
    clickAt(slider("SoundSlider"), 0.9f, 0.5f);
    EXPECT_EQ(stored(u"Ann")->getFloat("SoundVolume"), 70.0f);
    EXPECT_EQ(stored(u"Ann")->getBool("SoundOn"), true);
    EXPECT_TRUE(game.engine().getCreationParameters().fullScreen);
}

// Each slider stores, saves and applies its volume; the sound's sample plays once at a time.
TEST_F(OptionsSceneTest, SlidersStoreSaveAndApplyTheVolumes) {
    openOptions();
    clickAt(slider("SoundSlider"), 0.8f, 0.5f);
    EXPECT_NEAR(stored(u"Ann")->getFloat("SoundVolume"), 80.0f, 1.0f);
    EXPECT_NEAR(sound().getGroupVolume(0), 0.8f, 0.01f);
    EXPECT_NEAR(sound().getGroupVolume(3), 0.8f, 0.01f);
    EXPECT_EQ(playing("SoundVolumeChange"), 1u);
    clickAt(slider("SoundSlider"), 0.3f, 0.5f);
    EXPECT_NEAR(stored(u"Ann")->getFloat("SoundVolume"), 30.0f, 1.0f);
    EXPECT_EQ(playing("SoundVolumeChange"), 1u) << "while the sample lasts";

    clickAt(slider("MusicSlider"), 0.25f, 0.5f);
    EXPECT_NEAR(stored(u"Ann")->getFloat("MusicVolume"), 25.0f, 1.0f);
    EXPECT_NEAR(sound().getGroupVolume(1), 0.25f, 0.01f);
}

// A player pulls the volume quickly down past the bar's left end: the pointer leaves the slider
// before any move lands on the end, and the volume still reaches 0.
TEST_F(OptionsSceneTest, DraggingPastTheLeftEndSilencesTheMusic) {
    openOptions();
    const SliderNode& music = slider("MusicSlider");
    CVector3d middle(music.getBounds().x / 2, music.getBounds().y / 2, 0);
    music.getAbsoluteMatrix().transformPoint(middle);
    const CVector3d farLeft(middle.x - 400, middle.y + 30, 0);
    screen_input::moveTo(game, middle);
    screen_input::post(game, WM_LBUTTONDOWN, middle);
    screen_input::moveTo(game, CVector3d(middle.x - 90, middle.y, 0));
    screen_input::moveTo(game, farLeft);
    screen_input::post(game, WM_LBUTTONUP, farLeft);
    settle();
    EXPECT_EQ(music.getValue(), 0.0f);
    EXPECT_EQ(stored(u"Ann")->getFloat("MusicVolume"), 0.0f);
    EXPECT_EQ(sound().getGroupVolume(1), 0.0f);
}

// The click of the toggle that mutes is stopped with the other sounds; the sound switched back
// on plays a click of its own, as a sample.
TEST_F(OptionsSceneTest, MuteSwitchesSoundAndMusicTogether) {
    openOptions();
    for (bool muted : {true, false}) {
        sound().stopGroup(-1);
        screen_input::clickNode(game, *toggle("MuteButton"));
        for (int ms = 0; ms < 400 && isOn("MuteButton") != muted; ms += 20)
            game.advance(20);
        game.advance(20);
        EXPECT_EQ(sound().isCuePlaying(name("ButtonClick")), !muted);
        EXPECT_EQ(isOn("MuteButton"), muted);
        EXPECT_EQ(stored(u"Ann")->getBool("SoundOn"), !muted);
        EXPECT_EQ(stored(u"Ann")->getBool("MusicOn"), !muted);
        EXPECT_EQ(sound().getGroupVolume(0), muted ? 0.0f : 0.5f);
        EXPECT_EQ(sound().getGroupVolume(1), muted ? 0.0f : 0.5f);
    }
}

TEST_F(OptionsSceneTest, CursorAndDragToggleTheirSettings) {
    openOptions();
    click(toggle("CursorButton"));
    EXPECT_TRUE(stored(u"Ann")->getBool("WindowsCursor"));
    EXPECT_EQ(window().cursor, kSystemArrowCursor);
    click(toggle("CursorButton"));
    EXPECT_FALSE(stored(u"Ann")->getBool("WindowsCursor"));
    const FakeHostWindowSystem::Cursor* own = game.host.cursor(window().cursor);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->width, 32);
    EXPECT_EQ(own->hotSpot.x, 3);
    EXPECT_EQ(own->hotSpot.y, 2);

    ASSERT_TRUE(isOn("DragViaClickButton"));
    click(toggle("DragViaClickButton"));
    EXPECT_FALSE(stored(u"Ann")->getBool("DragViaClick"));
    click(toggle("DragViaClickButton"));
    EXPECT_TRUE(stored(u"Ann")->getBool("DragViaClick"));
}

// A window of 768 lines with its frame needs a desktop of 788.
TEST_F(OptionsSceneTest, AWindowNeedsADesktopOf788) {
    struct Case {
        int32_t desktopHeight;
        bool windowed;
    };
    for (const Case& c : {Case{768, false}, Case{787, false}, Case{788, true}, Case{789, true}}) {
        player().setBool("FullScreen", true);
        game.profiles().saveUserProfiles();
        game.host.desktopMode = {1024, c.desktopHeight, 32, 60};
        start();
        openOptions();
        ASSERT_TRUE(isOn("FullscreenButton"));
        click(toggle("FullscreenButton"));
        EXPECT_EQ(game.engine().getCreationParameters().fullScreen, !c.windowed);
        EXPECT_EQ(stored(u"Ann")->getBool("FullScreen"), !c.windowed) << c.desktopHeight;
        if (c.windowed) {
            EXPECT_FALSE(isOn("FullscreenButton"));
            EXPECT_FALSE(window().fullScreen);
            continue;
        }
        ASSERT_EQ(current()->getTypeName(), CStringW(u"MessageBoxNode")) << c.desktopHeight;
        click(static_cast<MessageBoxNode*>(current())->getButtons()[0].get());
        EXPECT_EQ(currentName(), "OptionsScene");
        EXPECT_TRUE(isOn("FullscreenButton"));
        EXPECT_TRUE(window().fullScreen);
    }
}

// The device makes its window and driver again; the menu and the options go on being drawn,
// their textures made anew on the new driver.
TEST_F(OptionsSceneTest, SwitchingFullScreenKeepsTheGameDrawing) {
    openOptions();
    for (bool fullScreen : {false, true}) {
        const uint32_t created = game.direct3D().createCalls;
        const size_t textures = game.direct3D().count("CreateTexture(");
        click(toggle("FullscreenButton"));
        EXPECT_EQ(game.engine().getCreationParameters().fullScreen, fullScreen);
        EXPECT_EQ(game.engine().getVideoDriver()->getBackBufferSize().width,
                  fullScreen ? 1920u : 1024u);
        EXPECT_GT(game.direct3D().createCalls, created);
        EXPECT_GT(game.direct3D().count("CreateTexture("), textures);
        const size_t presented = game.direct3D().count("Present(");
        const size_t drawn = game.direct3D().count("DrawIndexedPrimitiveUP(");
        game.advance(200);
        EXPECT_EQ(game.direct3D().count("Present(") - presented, 10u);
        EXPECT_GT(game.direct3D().count("DrawIndexedPrimitiveUP("), drawn);
    }
}

// Esc slides back to the main menu, where the back button fades; over another screen (the
// pause menu) the back button uses the second fade.
TEST_F(OptionsSceneTest, LeavingPicksItsTransitionByKeyAndByOpener) {
    struct Case {
        bool overMenu;
        bool escape;
        const char* leave;
    };
    const Case cases[] = {{true, false, "NavBackFrom"},
                          {true, true, "NavBackFromSlide"},
                          {false, false, "NavBackFrom2"},
                          {false, true, "NavBackFrom"}};
    for (const Case& c : cases) {
        openMenu();
        SceneNode* opener = current();
        if (!c.overMenu) {
            const CRefPointer<SceneNode> pause = plainScene();
            opener->openScene(pause.get(), false, CNameId(), CNameId());
            settle();
            opener = pause.get();
        }
        SceneNode* options = open(u"scenes/OptionsScene.qscn");
        BaseNode* shown = findIn(options, "Scene");
        if (c.escape) {
            game.typeKey(kKeyEscape, 0);
            game.advance(20);
        } else {
            screen_input::clickNode(game, *findIn(options, "Scene/BackButton"));
            game.advance(160);
        }
        EXPECT_EQ(stateOf(shown), c.leave) << c.overMenu << c.escape;
        settle();
        EXPECT_EQ(current(), opener);
    }
}

TEST_F(OptionsSceneTest, AToggleWearingNeitherTemplateCountsAsOff) {
    openOptions();
    toggle("DragViaClickButton")->setTemplateName(name("Button"));
    EXPECT_FALSE(isOn("DragViaClickButton"));
    click(toggle("DragViaClickButton"));
    EXPECT_TRUE(isOn("DragViaClickButton"));
    EXPECT_TRUE(stored(u"Ann")->getBool("DragViaClick"));
}

} // namespace
