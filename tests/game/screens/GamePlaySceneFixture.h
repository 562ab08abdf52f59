#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/audio/SoundCue.h"
#include "engine/audio/SoundPlayer.h"
#include "engine/core/Engine.h"
#include "engine/io/ContentManager.h"
#include "engine/io/ProfileManager.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/scene/TextNode.h"
#include "game/screens/GamePlayScene.h"
#include "tests/game/level/LevelHarness.h"

// The node below the root by its path of names, "Scene/GameMenu"; none when one is missing.
inline BaseNode* nodeAtPath(BaseNode* root, const std::string& path) {
    BaseNode* node = root;
    std::string rest = path;
    while (node != nullptr && !rest.empty()) {
        const size_t slash = rest.find('/');
        node = node->findChild(CNameId(CString(rest.substr(0, slash).c_str())), 1);
        rest = slash == std::string::npos ? "" : rest.substr(slash + 1);
    }
    return node;
}

// The in-level screen over a level of the game in the test process: the level harness loads the
// level as the loading screen does and hands it to a screen made from "scenes/GamePlayScene.qscn",
// which is opened over the harness's stand-in, as loading switches to it.
class GamePlaySceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeContent();
        ASSERT_TRUE(harness.start());
        const CRefPointer<CContent> templates =
            harness.content().load(contentType("snod"), u"scenes/TemplateCollection.qscn", true);
        auto* collection = static_cast<BaseNode*>(templates.get());
        ASSERT_TRUE(collection && collection->isKindOf(TemplateCollectionNode::kTypeId));
        manager().setTemplateCollection(static_cast<TemplateCollectionNode*>(collection));
    }

    // Files of the extra content folder, written before the game starts.
    virtual void writeContent() {}

    // A new screen from the file, not yet opened.
    CRefPointer<GGamePlayScene> makeScreen() {
        const CRefPointer<CContent> loaded =
            harness.content().load(contentType("snod"), u"scenes/GamePlayScene.qscn", true);
        auto* node = static_cast<BaseNode*>(loaded.get());
        EXPECT_TRUE(node != nullptr && node->isKindOf(GGamePlayScene::kTypeId));
        return CRefPointer<GGamePlayScene>::share(static_cast<GGamePlayScene*>(node));
    }

    // The level loaded and shown in a new screen, once that has arrived.
    GGamePlayScene& play(int32_t levelIndex = 1) {
        load(levelIndex);
        return show();
    }
    // Level 1 restarted without tutorials and shown: no pop-up covers it.
    GGamePlayScene& playRestarted() {
        harness.game.player().setBool("ShowTutorialOn", false);
        load().reset(false);
        return show();
    }
    GGameLevelScene& load(int32_t levelIndex = 1) {
        level = harness.loadLevel(levelIndex);
        EXPECT_NE(level, nullptr);
        return *level;
    }
    GGamePlayScene& show() {
        screen = makeScreen();
        EXPECT_TRUE(screen->setLevel(level, harness.catalog()));
        manager().getCurrentScene()->openScene(screen.get(), false, CNameId(), CNameId());
        // Arrived (its first pop-up, if any, over it), and no more.
        harness.advance(2);
        return *screen;
    }

    SceneManager& manager() const { return *harness.game.application().getSceneManager(); }
    TemplateCollectionNode& menuTemplates() const { return *manager().getTemplateCollection(); }

    // A node of the screen by its path of names, "Scene/GameMenu".
    BaseNode* find(const std::string& path) const { return nodeAtPath(screen.get(), path); }
    std::string textOf(const std::string& path) const {
        const BaseNode* node = find(path);
        return node != nullptr && node->isKindOf(TextNode::kTypeId) ? shown(*node) : "";
    }
    static std::string shown(const BaseNode& text) {
        const CStringW& wide = static_cast<const TextNode&>(text).getShownText();
        std::string narrow;
        for (uint32_t i = 0; i < wide.length(); ++i)
            narrow += char(wide.c_str()[i]);
        return narrow;
    }
    static std::string stateOf(const BaseNode* node) {
        const NodeState* state = node != nullptr ? node->getCurrentState() : nullptr;
        return state != nullptr ? state->getName().toString().c_str() : "";
    }
    // Whether an instance of the cue plays now.
    bool playing(const char* cue) const {
        for (const CRefPointer<SoundCue>& instance :
             harness.game.engine().getSoundPlayer()->getPlayingInstances()) {
            if (instance->getName() == CNameId(CString(cue)))
                return true;
        }
        return false;
    }

    LevelHarness harness;
    GGameLevelScene* level = nullptr;
    CRefPointer<GGamePlayScene> screen;
};
