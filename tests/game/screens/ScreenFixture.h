#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "engine/audio/SoundPack.h"
#include "engine/audio/SoundPlayer.h"
#include "engine/core/Engine.h"
#include "engine/core/ScheduledObject.h"
#include "engine/io/ContentManager.h"
#include "engine/io/ProfileManager.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/ui/ControlKeys.h"
#include "game/app/GameClassRegistration.h"
#include "tests/game/app/GameHarness.h"
#include "tests/game/app/ScreenInput.h"
#include "tests/game/app/StoredProfiles.h"

// The game's screens in the harness: the game started with an extra content folder (the
// level lists of both difficulties, told apart by their length), what the intro loads for
// the menus, and a player's mouse and keyboard.
class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override { start(); }

    void start() {
        write("levels/common/LevelConfigs.xml",
              "<LevelsConfiguration><Level/></LevelsConfiguration>");
        write("levels/common/LevelConfigsEasy.xml",
              "<LevelsConfiguration><Level/><Level/></LevelsConfiguration>");
        ASSERT_TRUE(game.start(u"extra"));
        loadWhatTheIntroLoads();
    }

    // The game's classes, the sound pack and the menus' templates.
    void loadWhatTheIntroLoads() {
        registerGameClasses();
        const CRefPointer<CContent> pack =
            content().load(SoundPack::kContentType, u"sounds/SoundPack.xml", true);
        ASSERT_TRUE(pack);
        static_cast<SoundPack*>(pack.get())->addCuesTo(*game.engine().getSoundPlayer());
        const CRefPointer<CContent> templates =
            content().load(contentType("snod"), u"scenes/TemplateCollection.qscn", true);
        auto* collection = static_cast<BaseNode*>(templates.get());
        ASSERT_TRUE(collection && collection->isKindOf(TemplateCollectionNode::kTypeId));
        manager().setTemplateCollection(static_cast<TemplateCollectionNode*>(collection));
    }

    void write(const std::string& file, const std::string& text) {
        const std::filesystem::path path = game.contentBase() / "extra" / file;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    static CNameId name(const char* text) { return CNameId(CString(text)); }

    // The main menu in place of the logos, once it has arrived (and, without a current player,
    // sent the user on).
    SceneNode* openMenu() {
        const CRefPointer<CContent> loaded =
            content().load(contentType("snod"), u"scenes/MainMenuScene.qscn", true);
        auto* menu = static_cast<SceneNode*>(static_cast<BaseNode*>(loaded.get()));
        manager().openScene(menu, CNameId());
        settle();
        return menu;
    }
    // An empty scene of the content manager's, as a screen the game has not built stands.
    CRefPointer<SceneNode> plainScene() {
        return CRefPointer<SceneNode>(
            new SceneNode(CContentKey(&content(), u"scenes/Plain.qscn"), nullptr, nullptr));
    }
    // A scene opened over the current one as the intro opens the menu, once it has arrived.
    SceneNode* open(const char16_t* file) {
        SceneNode* scene =
            manager().getCurrentScene()->openSceneFile(file, false, CNameId(), CNameId());
        EXPECT_NE(scene, nullptr);
        settle();
        return scene;
    }
    // Long enough for any transition, click or queued event of these screens to finish.
    void settle() { game.advance(600); }
    // Once the scene has arrived and runs on its clock, the test runs it instead, calling its
    // update with the times it chooses.
    void takeOffClock(CScheduledObject& scene) {
        for (int ms = 0; ms < 2000 && scene.getScheduler() == nullptr; ms += 20)
            game.advance(20);
        ASSERT_NE(scene.getScheduler(), nullptr);
        scene.setScheduler(nullptr);
    }

    SceneNode* current() const { return manager().getCurrentScene(); }
    std::string currentName() const {
        SceneNode* scene = current();
        return scene != nullptr ? scene->getName().toString().c_str() : "";
    }
    // A node of the current scene by its path of names, "Scene/OkButton".
    BaseNode* find(const char* path) const { return findIn(current(), path); }
    template <typename Node>
    Node* findAs(const char* path) const {
        BaseNode* node = find(path);
        EXPECT_TRUE(node != nullptr && node->isKindOf(Node::kTypeId)) << path;
        return static_cast<Node*>(node);
    }
    static BaseNode* findIn(BaseNode* node, const std::string& path) {
        std::string rest = path;
        while (node != nullptr && !rest.empty()) {
            const size_t slash = rest.find('/');
            node = node->findChild(name(rest.substr(0, slash).c_str()), 1);
            rest = slash == std::string::npos ? "" : rest.substr(slash + 1);
        }
        return node;
    }
    static std::string stateOf(const BaseNode* node) {
        const NodeState* state = node != nullptr ? node->getCurrentState() : nullptr;
        return state != nullptr ? state->getName().toString().c_str() : "";
    }

    // A click in the middle of the node, then time for its press to play and report.
    void click(const BaseNode* node) {
        ASSERT_NE(node, nullptr);
        screen_input::clickNode(game, *node);
        settle();
    }
    void click(const char* path) { click(find(path)); }
    // A click at a fraction of the node's width and height.
    void clickAt(const BaseNode& node, float across, float down) {
        CVector3d point(node.getBounds().x * across, node.getBounds().y * down, 0);
        node.getAbsoluteMatrix().transformPoint(point);
        screen_input::click(game, point);
        settle();
    }
    void type(const std::u16string& text) {
        for (char16_t character : text) {
            const char16_t upper =
                character >= u'a' && character <= u'z' ? char16_t(character - 32) : character;
            game.typeKey(uint32_t(upper), character);
        }
        game.advance(20);
    }
    void typeKey(uint32_t virtualKey) {
        game.typeKey(virtualKey, 0);
        settle();
    }

    CProfileParameters& addPlayer(const char16_t* playerName, int32_t difficulty) {
        CProfileManager& profiles = game.profiles();
        profiles.addProfile(playerName);
        CProfileParameters& player = *profiles.getProfile(profiles.getProfileCount() - 1);
        player.setInt("PlayerDifficulty", difficulty);
        profiles.saveUserProfiles();
        return player;
    }
    CRefPointer<CProfileManager> storedProfiles() const { return readStoredProfiles(game); }
    // The player as the profile file on disk holds it now, kept until the next call; none when
    // the file has no such player.
    const CProfileParameters* stored(const char16_t* player) {
        m_stored = storedProfiles();
        return m_stored->findProfile(player);
    }

    // Clicks the quit button and runs the program's loop, which ends the program with 0 once a
    // pass answers false; the window goes with it.
    void expectQuitEndsTheProgram(const BaseNode& quitButton) {
        const HostWindow window = game.window();
        screen_input::clickNode(game, quitButton);
        bool ended = false;
        for (int pass = 0; pass < 200 && !ended; ++pass) {
            game.clock.advanceMs(20);
            ended = !game.engine().runOnce();
        }
        EXPECT_TRUE(ended) << "the program's loop ends, and the program with 0";
        EXPECT_EQ(game.host.window(window), nullptr);
        EXPECT_GE(game.host.findCall("postQuitMessage 0"), 0);
    }

    SceneManager& manager() const { return *game.application().getSceneManager(); }
    CContentManager& content() const { return *game.application().getContentManager(); }

    GameHarness game;

private:
    CRefPointer<CProfileManager> m_stored;
};
