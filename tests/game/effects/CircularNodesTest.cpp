#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine/core/PropertyDataScalars.h"
#include "engine/core/PropertyDataStrings.h"
#include "engine/scene/KeyFrame.h"
#include "game/effects/CircularBirdNode.h"
#include "game/effects/CircularMovableNode.h"
#include "tests/game/effects/EffectFixture.h"

// Birds and movers on the sum of two ellipses.
namespace {

using Strings = std::vector<std::string>;

const char* const kDirections[] = {"Right", "RightUp",  "Up",   "LeftUp",
                                   "Left",  "LeftDown", "Down", "RightDown"};

// The template "Bird": a body with the eight direction states (nothing to animate) and their
// flaps, each a one-second key frame that leads back to its direction.
std::u16string birdTemplate() {
    std::string states;
    for (const char* direction : kDirections) {
        const std::string name = direction;
        states += "<State Name=\"" + name + "\"/><State Name=\"" + name + "_Flap\" NextState=\"" +
                  name +
                  "\"><Animator Type=\"KeyFrame\"><Properties><vector3d Name=\"Scale\" "
                  "Value=\"1;1;1\"/></Properties><KeyFrame t=\"0\" Value0=\"1;1;1\"/><KeyFrame "
                  "t=\"1000\" Value0=\"1;0.5;1\"/></Animator></State>";
    }
    const std::string xml = "<SceneNode Type=\"BaseNode\"><Properties><string Name=\"Name\" "
                            "Value=\"Bird\"/></Properties><SceneNode Type=\"BaseNode\"><Properties>"
                            "<string Name=\"Name\" Value=\"Body\"/></Properties><States>" +
                            states + "</States></SceneNode></SceneNode>";
    return std::u16string(xml.begin(), xml.end());
}

class CircularNodesTest : public EffectTest {
protected:
    void addBirdTemplate() {
        const CRefPointer<BaseNode> model = load(birdTemplate());
        templates->appendChild(model.get());
        templates->OnLoaded();
    }
    CRefPointer<GCircularBirdNode> makeBird(CVector2d ellipse2, float velocity2) {
        CRefPointer<GCircularBirdNode> bird = make<GCircularBirdNode>();
        set(*bird, "Ellipse2Size", makeVector2dProperty(ellipse2));
        set(*bird, "AngularVelocity2", makeFloatProperty(velocity2));
        set(*bird, "BirdTemplateID", makeStringProperty("Bird"));
        return bird;
    }
    // The state of the bird after each tick, over that many ticks of 30 ms.
    Strings birdStates(GCircularBirdNode& bird, int ticks) {
        Strings states;
        for (int i = 0; i < ticks; ++i) {
            tick(30);
            states.push_back(stateOf(bird.getBird()));
        }
        return states;
    }
};

TEST_F(CircularNodesTest, AMoverCirclesItsChildOnTheFirstEllipse) {
    const CRefPointer<GCircularMovableNode> mover = make<GCircularMovableNode>();
    const CRefPointer<BaseNode> note = make<BaseNode>(mover.get());
    note->setName(name("Note"));
    set(*mover, "MovableName", makeStringProperty("Note"));
    set(*mover, "Ellipse1Size", makeVector2dProperty({100, 50}));
    set(*mover, "AngularVelocity1", makeFloatProperty(90));
    set(*mover, "AngularVelocity2", makeFloatProperty(0));
    ASSERT_EQ(mover->getMovable(), note.get());
    draw();
    const CVector3d start = note->getPosition();
    EXPECT_NEAR(start.x * start.x / 10000 + start.y * start.y / 2500, 1, 1e-4);
    float left = 0;
    float right = 0;
    float top = 0;
    float bottom = 0;
    for (int i = 0; i < 100; ++i) {
        tick(40);
        const CVector3d at = note->getPosition();
        EXPECT_NEAR(at.x * at.x / 10000 + at.y * at.y / 2500, 1, 1e-4);
        left = std::min(left, at.x);
        right = std::max(right, at.x);
        top = std::min(top, at.y);
        bottom = std::max(bottom, at.y);
    }
    EXPECT_NEAR(right - left, 200, 1);
    EXPECT_NEAR(bottom - top, 100, 1);
    EXPECT_NEAR(note->getPosition().x, start.x, 1e-2) << "round once in 4 s";
    EXPECT_NEAR(note->getPosition().y, start.y, 1e-2);
}

TEST_F(CircularNodesTest, AMoverWithoutItsChildStaysIdle) {
    // Read from a file, the name comes before the child.
    const CRefPointer<BaseNode> loaded =
        load(u"<SceneNode Type=\"BaseNode\" ClassOverride=\"GCircularMovableNode\"><Properties>"
             u"<string Name=\"MovableName\" Value=\"Note\"/></Properties><SceneNode "
             u"Type=\"BaseNode\"><Properties><string Name=\"Name\" Value=\"Note\"/></Properties>"
             u"</SceneNode></SceneNode>");
    auto* mover = static_cast<GCircularMovableNode*>(loaded.get());
    ASSERT_NE(mover->getMovable(), nullptr) << "bound once loaded";
    scene->appendChild(mover);
    draw();
    EXPECT_NE(mover->getScheduler(), nullptr);

    BaseNode* note = mover->findChild(name("Note"), 1);
    mover->removeChild(note);
    tick(30);
    EXPECT_EQ(mover->getScheduler(), nullptr) << "its child has left";
    draw();
    EXPECT_EQ(mover->getScheduler(), nullptr);

    const CRefPointer<GCircularMovableNode> unnamed = make<GCircularMovableNode>();
    make<BaseNode>(unnamed.get());
    draw();
    EXPECT_EQ(unnamed->getMovable(), nullptr) << "a child without a name is not the one meant";
    EXPECT_EQ(unnamed->getScheduler(), nullptr);
}

TEST_F(CircularNodesTest, ABirdWaitsForItsTemplateAndKeepsItsBirdOutOfItsChildren) {
    const CRefPointer<GCircularBirdNode> bird = makeBird({40, 40}, 90);
    draw();
    EXPECT_EQ(bird->getScheduler(), nullptr) << "no template yet";
    addBirdTemplate();
    CEventNodeTemplatesChanged changed(templates.get());
    bird->deliver(CEventReceiver::RouteSelf, changed);
    draw();
    ASSERT_NE(bird->getBird(), nullptr);
    EXPECT_EQ(bird->getChildCount(), 0u) << "the bird is internal";
    EXPECT_EQ(bird->getBird()->getParent(), bird.get());
    BaseNode* first = bird->getBird();
    tick(30);
    EXPECT_NE(bird->getBird()->getPosition().x, 0);

    // A new template name makes a fresh bird at the next drawing pass.
    set(*bird, "BirdTemplateID", makeStringProperty("Bird"));
    EXPECT_EQ(bird->getScheduler(), nullptr);
    draw();
    EXPECT_NE(bird->getBird(), first);
    EXPECT_NE(bird->getScheduler(), nullptr);

    const CRefPointer<BaseNode> copy = bird->clone(scene.get(), nullptr);
    auto* twin = static_cast<GCircularBirdNode*>(copy.get());
    EXPECT_EQ(twin->getBird(), nullptr) << "its own bird comes at its first drawing pass";
    EXPECT_EQ(twin->getOrbit().ellipse2Size, (CVector2d{40, 40}));
    EXPECT_EQ(twin->getOrbit().angularVelocity2, 90);
    EXPECT_EQ(twin->getOrbit().angle2, bird->getOrbit().angle2);
    draw();
    EXPECT_NE(twin->getBird(), nullptr);
    EXPECT_NE(twin->getBird(), bird->getBird());
}

// Clockwise on the screen as the angle grows; with radii of opposite signs the heading is the
// opposite one at every angle.
TEST_F(CircularNodesTest, ABirdTurnsThroughTheEightDirectionsAsItsSecondEllipseTurns) {
    addBirdTemplate();
    const Strings clockwise = {"Down", "LeftDown", "Left",  "LeftUp",
                               "Up",   "RightUp",  "Right", "RightDown"};
    auto indexOf = [&](CNameId direction) {
        return std::find(clockwise.begin(), clockwise.end(), direction.toString().c_str()) -
               clockwise.begin();
    };
    // Both start at the same angles, each drawn alone; their ticks are called here.
    const CRefPointer<CRandom> saved(new CRandom(random()));
    const CRefPointer<GCircularBirdNode> bird = makeBird({40, 40}, 90);
    draw();
    scene->removeChild(bird.get());
    random() = *saved;
    const CRefPointer<GCircularBirdNode> reversed = makeBird({40, -40}, 90);
    draw();
    scene->removeChild(reversed.get());
    Strings seen;
    for (int i = 0; i < 140; ++i) {
        bird->OnUpdate(30);
        reversed->OnUpdate(30);
        const auto at = indexOf(bird->getDirection());
        ASSERT_LT(at, 8) << i;
        EXPECT_EQ(indexOf(reversed->getDirection()), (at + 4) % 8) << i;
        if (seen.empty() || seen.back() != clockwise[size_t(at)])
            seen.push_back(clockwise[size_t(at)]);
    }
    ASSERT_GE(seen.size(), 8u);
    const auto first = std::find(clockwise.begin(), clockwise.end(), seen[0]) - clockwise.begin();
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(seen[i], clockwise[(size_t(first) + i) % 8]) << i;
}

TEST_F(CircularNodesTest, ABirdFlapsEveryFourToSevenSecondsAndFlapsOnWhenItTurns) {
    addBirdTemplate();
    // Its second angle stands, and with it its direction.
    const CRefPointer<GCircularBirdNode> still = makeBird({40, 40}, 0);
    draw();
    const Strings states = birdStates(*still, 700);
    const std::string flap = still->getDirection().toString().c_str() + std::string("_Flap");
    std::vector<int> flaps;
    for (size_t i = 0; i < states.size(); ++i) {
        if (states[i] == flap && (i == 0 || states[i - 1] != flap))
            flaps.push_back(int(i + 1) * 30);
    }
    ASSERT_GE(flaps.size(), 2u);
    EXPECT_GE(flaps[0], 4000);
    EXPECT_LE(flaps[0], 7030);
    for (size_t i = 1; i < flaps.size(); ++i) {
        EXPECT_GE(flaps[i] - flaps[i - 1], 4000) << i;
        EXPECT_LE(flaps[i] - flaps[i - 1], 7060) << i;
    }

    // Turning in the middle of a flap goes on with the new direction's flap from the same time.
    const CRefPointer<GCircularBirdNode> turning = makeBird({40, 40}, 90);
    draw();
    const Strings seen = birdStates(*turning, 400);
    const auto flapStart = std::find_if(seen.begin(), seen.end(), [](const std::string& state) {
        return state.find("_Flap") != std::string::npos;
    });
    ASSERT_NE(flapStart, seen.end());
    const auto turn = std::find_if(flapStart, seen.end(),
                                   [&](const std::string& state) { return state != *flapStart; });
    ASSERT_NE(turn, seen.end());
    EXPECT_NE(turn->find("_Flap"), std::string::npos) << *turn << " after " << *flapStart;
}

} // namespace
