#include "engine/scene/ControlNode.h"

#include <gtest/gtest.h>

#include "engine/core/Properties.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "tests/scene/ControlFixtures.h"

namespace {

TEST_F(ControlTest, ThePressModesDecideWhichButtonTransitionsPressAndClick) {
    enum Gesture { DownUpOver, DownOverUpOff, UpOverOnly };
    struct Case {
        int32_t mode;
        Gesture gesture;
        long clicks;
        bool pressedAfter;
    };
    const Case cases[] = {
        {0, DownUpOver, 1, false},
        {0, DownOverUpOff, 0, false},
        {0, UpOverOnly, 0, false},
        {1, DownUpOver, 1, false},
        {1, DownOverUpOff, 1, false},
        {1, UpOverOnly, 0, false},
        {2, DownUpOver, 1, false},
        {2, DownOverUpOff, 0, false},
        {2, UpOverOnly, 1, false},
        // The up's click is refused while the down's "Press" plays, and its press stays.
        {3, DownUpOver, 1, true},
        {3, DownOverUpOff, 1, false},
        {3, UpOverOnly, 1, false},
    };
    for (const Case& c : cases) {
        log.clear();
        const CRefPointer<LoggingControl> button =
            makeControl("b", scene.get(), {10, 10, 0}, {100, 50, 0}, true);
        button->setPressMode(c.mode);
        if (c.gesture != UpOverOnly)
            down(50, 30);
        if (c.gesture == DownOverUpOff)
            move(300, 300);
        up(c.gesture == DownOverUpOff ? 300 : 50, 30);
        EXPECT_EQ(count("scene:64"), 0) << "a click waits for its Press state";
        tick(100);
        EXPECT_EQ(count("scene:64"), c.clicks) << "mode " << c.mode << " gesture " << c.gesture;
        EXPECT_EQ(button->isPressed(), c.pressedAfter)
            << "mode " << c.mode << " gesture " << c.gesture;
        scene->removeChild(button.get());
    }
}

TEST_F(ControlTest, AClickWithoutChildrenCompletesAtOnceAndIsAnnouncedAtTheNextDelivery) {
    const CRefPointer<LoggingControl> bare = makeNode<LoggingControl>("bare", scene.get(), &log);
    log.clear();
    EXPECT_TRUE(bare->click());
    EXPECT_EQ(entries("bare:"),
              (std::vector<std::string>{"78 Press", "80 Press", "78 NormalKillHover",
                                        "80 NormalKillHover", "63"}));
    EXPECT_FALSE(bare->isClickPending());
    EXPECT_EQ(count("scene:64"), 0);
    drain();
    EXPECT_EQ(count("bare:64"), 1);
    EXPECT_EQ(count("scene:64"), 1);
}

TEST_F(ControlTest, TheInnermostControlUnderThePointerTakesHoverAndPress) {
    const CRefPointer<LoggingControl> outer =
        makeControl("outer", scene.get(), {0, 0, 0}, {200, 200, 0});
    const CRefPointer<LoggingControl> inner =
        makeControl("inner", outer.get(), {20, 20, 0}, {50, 50, 0});
    const CRefPointer<LoggingControl> sibling =
        makeControl("sibling", outer.get(), {100, 100, 0}, {50, 50, 0});

    move(30, 30);
    EXPECT_TRUE(inner->isHovered());
    EXPECT_TRUE(outer->isHovered());
    EXPECT_FALSE(sibling->isHovered());
    move(120, 120);
    EXPECT_FALSE(inner->isHovered());
    EXPECT_TRUE(sibling->isHovered());

    down(30, 30);
    EXPECT_TRUE(inner->isPressed());
    EXPECT_FALSE(outer->isPressed());
    EXPECT_TRUE(inner->isFocused());
    EXPECT_EQ(outer->getFocusedChild(), inner.get());
}

TEST_F(ControlTest, DisabledOrHiddenControlsKeepInputFromTheirChildren) {
    const CRefPointer<LoggingControl> outer =
        makeControl("outer", scene.get(), {0, 0, 0}, {200, 200, 0});
    const CRefPointer<LoggingControl> inner =
        makeControl("inner", outer.get(), {20, 20, 0}, {50, 50, 0});
    for (int hide = 0; hide < 2; ++hide) {
        outer->setEnabled(hide == 1);
        outer->setVisible(hide == 0);
        log.clear();
        move(30, 30);
        down(30, 30);
        up(30, 30);
        drain();
        EXPECT_TRUE(entries("inner:").empty()) << hide;
        EXPECT_FALSE(inner->isHovered());
        EXPECT_FALSE(inner->isFocused());
    }
}

TEST_F(ControlTest, WhilePressedThePointerLeavingOnlyChangesTheLook) {
    const CRefPointer<LoggingControl> button =
        makeControl("b", scene.get(), {0, 0, 0}, {100, 100, 0});
    log.clear();
    move(50, 50);
    down(50, 50);
    move(200, 200);
    move(60, 60);
    move(200, 200);
    EXPECT_EQ(entries("b:78 "), (std::vector<std::string>{"NormalHover", "Pressed", "KillPressed",
                                                          "Pressed", "KillPressed"}));
    up(200, 200);
    drain();
    EXPECT_EQ(count("scene:64"), 0);
    EXPECT_FALSE(button->isPressed());
}

TEST_F(ControlTest, VisualStatesFollowTheConditionAndFallBack) {
    const CRefPointer<LoggingControl> button =
        makeControl("b", scene.get(), {0, 0, 0}, {100, 100, 0});
    const CRefPointer<LoggingNode> look = makeNode("look", button.get(), &log);
    CRefPointer<NodeState> normal(new NodeState(nameId("Normal")));
    look->addState(normal.get());

    log.clear();
    move(50, 50);
    down(50, 50);
    move(150, 150);
    move(50, 50);
    EXPECT_EQ(entries("b:78 "),
              (std::vector<std::string>{"NormalHover", "Pressed", "KillPressed", "Pressed"}));
    up(50, 50);
    button->setEnabled(false);
    EXPECT_EQ(entries("b:78 ").back(), "FocusDisable");
    // The look has only "Normal", which the fallbacks reach from "FocusDisable".
    EXPECT_EQ(look->getCurrentState(), normal.get());
    EXPECT_EQ(entries("look:72 ").back(), "FocusDisable");
}

TEST_F(ControlTest, FocusMovesAlongTheArrowKeysToControlsThatWantIt) {
    const CRefPointer<LoggingControl> panel =
        makeControl("panel", scene.get(), {0, 0, 0}, {300, 300, 0});
    const CRefPointer<LoggingControl> a = makeControl("a", panel.get(), {0, 0, 0}, {50, 50, 0});
    const CRefPointer<LoggingControl> b = makeControl("b", panel.get(), {60, 0, 0}, {50, 50, 0});
    const CRefPointer<LoggingControl> shy =
        makeControl("shy", panel.get(), {0, 60, 0}, {50, 50, 0});
    const CRefPointer<LoggingNode> plain = makeNode("plain", panel.get());
    shy->setWantFocus(false);
    a->setNeighbourNames(CNameId(), nameId("b"), nameId("shy"), nameId("plain"));
    b->setNeighbourNames(nameId("a"), CNameId(), CNameId(), CNameId());
    down(10, 10);
    up(10, 10);
    ASSERT_TRUE(a->isFocused());
    ASSERT_TRUE(panel->isFocused());

    key(39); // right
    EXPECT_TRUE(b->isFocused());
    EXPECT_FALSE(a->isFocused());
    EXPECT_EQ(panel->getFocusedChild(), b.get());
    key(37); // left
    EXPECT_TRUE(a->isFocused());
    for (uint32_t blocked : {40u, 38u, 65u}) { // down to "shy", up to "plain", a letter
        key(blocked);
        EXPECT_TRUE(a->isFocused()) << blocked;
        EXPECT_FALSE(shy->isFocused());
    }
    // Keyboard events go only along the chain of focused controls.
    panel->setFocused(false);
    key(39);
    EXPECT_FALSE(b->isFocused());
    EXPECT_TRUE(a->isFocused());
}

TEST_F(ControlTest, AFocusedControlDeeperThanAChildKeepsTheFocus) {
    const CRefPointer<LoggingControl> panel =
        makeControl("panel", scene.get(), {0, 0, 0}, {300, 300, 0});
    // A plain node that passes the pointer on, as a list's holder of its elements does.
    const CRefPointer<LoggingNode> holder = makeNode("holder", panel.get());
    holder->setCategoryMask(holder->getCategoryMask() | CEvent::CategoryMouse);
    const CRefPointer<LoggingControl> deep =
        makeControl("deep", holder.get(), {0, 0, 0}, {50, 50, 0});
    const CRefPointer<LoggingControl> other =
        makeControl("other", panel.get(), {100, 0, 0}, {50, 50, 0});
    down(10, 10);
    up(10, 10);
    EXPECT_TRUE(deep->isFocused());
    EXPECT_FALSE(other->isFocused()) << "no default child takes the focus from it";
    EXPECT_EQ(panel->getFocusedChild(), deep.get());
}

TEST_F(ControlTest, HoveringFocusesOnlyWhenAskedAndShyControlsStayUnfocused) {
    const CRefPointer<LoggingControl> eager =
        makeControl("eager", scene.get(), {0, 0, 0}, {50, 50, 0});
    const CRefPointer<LoggingControl> shy =
        makeControl("shy", scene.get(), {60, 0, 0}, {50, 50, 0});
    eager->setFocusOnHover(true);
    shy->setWantFocus(false);
    move(10, 10);
    EXPECT_TRUE(eager->isFocused());
    down(70, 10);
    up(70, 10);
    drain();
    EXPECT_FALSE(shy->isFocused());
    EXPECT_EQ(count("scene:64"), 1);
}

TEST_F(ControlTest, ATemplateDressesTheControlAndTakesPartInHitsAndStates) {
    const CRefPointer<TemplateCollectionNode> templates(
        new TemplateCollectionNode(CContentKey(), nullptr, nullptr));
    const CRefPointer<BaseNode> look = makeNode<HittingNode>("Round", templates.get());
    makeNode<HittingNode>("face", look.get())->setBounds({40, 40, 0});
    templates->OnLoaded();
    manager->setTemplateCollection(templates.get());

    const CRefPointer<LoggingControl> button = makeNode<LoggingControl>("b", scene.get(), &log);
    button->setPosition({100, 100, 0});
    button->setTemplateName(nameId("Round"));
    ASSERT_NE(button->getTemplateRoot(), nullptr);
    EXPECT_EQ(button->getChildCount(), 0u);
    EXPECT_EQ(button->getTemplateRoot()->getChildCount(), 1u);
    scene->updateAbsoluteTransform();
    EXPECT_TRUE(button->hitTest({120, 120, 0}));
    EXPECT_FALSE(button->hitTest({150, 150, 0}));

    log.clear();
    EXPECT_TRUE(button->click());
    // The template's copy counts as one child, which reports when its own children are done.
    EXPECT_EQ(entries("b:"),
              (std::vector<std::string>{"78 Press", "80 Press", "76 Press", "80 Press",
                                        "78 NormalKillHover", "80 NormalKillHover",
                                        "76 NormalKillHover", "80 NormalKillHover", "63"}));

    button->setTemplateName(nameId("Round")); // again: one copy, not two
    EXPECT_EQ(button->getTemplateRoot()->getChildCount(), 1u);
}

TEST_F(ControlTest, PropertiesConvertAndSaveUnderTheirKeys) {
    const CRefPointer<ControlNode> control(new ControlNode(CContentKey(), nullptr, nullptr));
    EXPECT_EQ(control->getPropertyTable().size(), 22u);
    EXPECT_EQ(control->findProperty("DefaultFocusObject"), 11);
    const int32_t pressMode = control->findProperty("PressMode");
    control->setPropertyByIndex(pressMode, makeIntProperty(2));
    control->setPropertyByIndex(pressMode, makeIntProperty(7));
    EXPECT_EQ(control->getPressMode(), 2);
    control->setPropertyByIndex(pressMode, makeBoolProperty(true));
    EXPECT_EQ(control->getPressMode(), 0);

    CRefPointer<CProperties> saved(new CProperties());
    control->saveProperties(*saved);
    ASSERT_EQ(saved->getCount(), 1);
    EXPECT_EQ(std::string(saved->getNameAt(0).c_str()), "IsFocusOnHover");
    EXPECT_FALSE(saved->getBool("IsFocusOnHover"));

    control->setPropertyByIndex(control->findProperty("DefaultFocusObject"),
                                makeStringProperty("ok"));
    control->setPressMode(3);
    control->setEnabled(false);
    saved->clear();
    control->saveProperties(*saved);
    EXPECT_EQ(saved->getString("DefaultFocusObjectName"), CString("ok"));
    const CRefPointer<ControlNode> copy(new ControlNode(CContentKey(), nullptr, nullptr));
    copy->loadProperties(*saved);
    EXPECT_EQ(copy->getDefaultFocusName(), nameId("ok"));
    EXPECT_EQ(copy->getPressMode(), 3);
    EXPECT_FALSE(copy->isEnabled());
}

} // namespace
