#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/platform/host/HostMessages.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TextNode.h"
#include "game/level/ClientNode.h"
#include "game/level/GameLevelScene.h"
#include "game/level/LocationNode.h"
#include "game/screens/GamePlayScene.h"
#include "tests/game/app/ScreenInput.h"
#include "tests/game/level/LevelHarness.h"
#include "tests/game/screens/GamePlaySceneFixture.h"

// A player's way through the game as the program runs it: the game's own start-up, content and
// profile, and only the mouse and the keyboard of the window.
class GameJourneyTest : public ::testing::Test {
protected:
    GameHarness& game() { return harness.game; }
    SceneNode* current() { return game().application().getSceneManager()->getCurrentScene(); }
    std::string currentType() {
        SceneNode* scene = current();
        return scene != nullptr ? CString(scene->getTypeName().c_str()).c_str() : "";
    }
    BaseNode* find(const std::string& path) { return nodeAtPath(current(), path); }
    std::string shownText(BaseNode* node) {
        if (node == nullptr || !node->isKindOf(TextNode::kTypeId))
            return "";
        return CString(static_cast<const TextNode*>(node)->getShownText().c_str()).c_str();
    }
    // The fake window layer's cursor goes along, as the shop asks it where the pointer is.
    void pointTo(const CVector3d& at) {
        HostRect window;
        game().host.getWindowRect(game().window(), window);
        game().host.cursorPosition = {window.left + int32_t(at.x), window.top + int32_t(at.y)};
        screen_input::moveTo(game(), at);
        game().advance(100);
    }
    // The shop's Continue, then the level's pop-ups closed: the level played in the in-level
    // screen, or none when it does not come.
    GGameLevelScene* continueIntoLevel() {
        click("Scene/Menu/ContinueButton");
        for (int popup = 0; popup < 3 && !reach("GGamePlayScene", 3000); ++popup)
            click("Scene/BackButton");
        if (currentType() != "GGamePlayScene")
            return nullptr;
        return static_cast<GGamePlayScene*>(current())->getLevel();
    }
    // Waits up to the time for a scene of the type to be current.
    bool reach(const char* type, uint32_t ms) {
        for (uint32_t waited = 0; waited < ms && currentType() != type; waited += 100)
            game().advance(100);
        return currentType() == type;
    }
    // Clicks through the logos until the intro opens a scene of the type.
    bool passLogos(const char* type) {
        for (int ms = 0; ms < 20000 && currentType() != type; ms += 100) {
            if (currentType() == "GLogosScene")
                screen_input::clickNode(game(), *current());
            game().advance(100);
        }
        return currentType() == type;
    }
    void click(const char* path) {
        BaseNode* node = find(path);
        ASSERT_NE(node, nullptr) << path;
        screen_input::clickNode(game(), *node);
        game().advance(600);
    }
    void type(const std::u16string& text) {
        for (char16_t character : text)
            game().typeKey(uint32_t(character >= u'a' ? character - 32 : character), character);
        game().advance(20);
    }

    // Takes the first waiting client of the queue to a free pad, its own colour's if free, and
    // clicks each client once when it waits at the check-out: level 1 played to a pass.
    void playFrame(GGameLevelScene& level) {
        const auto pad = [&level](const char* name) {
            return asGLocationNode(level.findChild(CNameId(CString(name)), 0));
        };
        for (const char* name : {"DancePad1", "DancePad2"}) {
            GLocationNode* location = pad(name);
            if (location == nullptr || location->getClients().size() == 0)
                continue;
            GClientNode* client = asGClientNode(location->getClients()[0].get());
            if (client != nullptr && client->getClientState() == GClientNode::kStateAtCheckOut &&
                paid.insert(client->getName().toString().c_str()).second) {
                harness.click(*client);
                return;
            }
        }
        const CArray<CRefPointer<GLocationNode>>& slots = level.getQueueSlots();
        if (level.getHeldClient() != nullptr || slots.size() == 0 ||
            slots[0]->getClients().size() == 0)
            return;
        GClientNode* client = asGClientNode(slots[0]->getClients()[0].get());
        if (client == nullptr || client->getClientState() != GClientNode::kStateWaiting)
            return;
        GLocationNode* target = nullptr;
        for (const char* name : {"DancePad1", "DancePad2"}) {
            GLocationNode* location = pad(name);
            if (location != nullptr && !location->hasClients() &&
                (target == nullptr || location->getColor() == client->getColor()))
                target = location;
        }
        if (target != nullptr) {
            harness.click(*client);
            harness.click(*target);
        }
    }

    // Only for its mouse on the level's nodes; the game starts as the program starts it.
    LevelHarness harness;
    // The clients clicked at the check-out, by name.
    std::set<std::string> paid;
};
