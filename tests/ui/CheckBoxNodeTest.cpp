#include "engine/ui/CheckBoxNode.h"

#include <gtest/gtest.h>

#include "engine/scene/NodeState.h"
#include "tests/ui/ControlSceneFixture.h"

namespace {

// "Check" of "Buttons.qscn": a 30 x 30 check box at (0, 200) whose template's "Area" plays a
// "Press" of 100 ms and whose "Look" has only "Normal", "NormalHover" and "NormalCheck".
class CheckBoxNodeTest : public ControlSceneTest {
protected:
    CheckBoxNodeTest() {
        open(u"Buttons.qscn");
        states = record(check(), {78});
    }

    CheckBoxNode& check() { return find<CheckBoxNode>("Check"); }
    std::string look() {
        const NodeState* state = templateChild(check(), "Look").getCurrentState();
        return state ? state->getName().toString().c_str() : "";
    }

    CRefPointer<EventRecorder> states;
};

TEST_F(CheckBoxNodeTest, AClickTurnsTheFlagOverAndReportsItBeforeTheClickEnds) {
    move(15, 215);
    drain();
    EXPECT_TRUE(check().isFocused()) << "a hovered check box takes the focus";
    states->take();
    click(15, 215);
    EXPECT_TRUE(check().isChecked());
    EXPECT_EQ(states->take(),
              (std::vector<std::string>{"Check:78 Press", "Check:78 FocusCheckHover"}));
    EXPECT_EQ(look(), "NormalCheck") << "through NormalCheckHover";
    EXPECT_EQ(events->take(), (std::vector<std::string>{"Check:62", "Check:65"}));

    click(15, 215);
    EXPECT_TRUE(check().isChecked()) << "the first click is still pending";
    EXPECT_TRUE(events->take().empty());
    tick(100);
    EXPECT_EQ(events->take(), std::vector<std::string>{"Check:64"});
    EXPECT_TRUE(states->take().empty()) << "the end of the press shows nothing of its own";

    click(15, 215);
    EXPECT_FALSE(check().isChecked());
    EXPECT_EQ(look(), "NormalHover");
    tick(100);
    EXPECT_EQ(events->take(), (std::vector<std::string>{"Check:62", "Check:65", "Check:64"}));
}

TEST_F(CheckBoxNodeTest, TheStateNamesFollowTheCheckedEnabledFocusedAndHoveredFlags) {
    struct Case {
        bool checked, enabled, focused, hovered;
        const char* state;
        const char* look;
    };
    const Case cases[] = {
        {true, true, true, true, "FocusCheckHover", "NormalCheck"},
        {true, true, true, false, "FocusCheck", "NormalCheck"},
        {true, true, false, true, "NormalCheckHover", "NormalCheck"},
        {true, true, false, false, "NormalCheck", "NormalCheck"},
        {true, false, true, true, "FocusCheckDisable", "NormalCheck"},
        {true, false, false, false, "NormalCheckDisable", "NormalCheck"},
        {false, true, true, true, "FocusHover", "NormalHover"},
        {false, true, true, false, "Focus", "Normal"},
        {false, true, false, true, "NormalHover", "NormalHover"},
        {false, true, false, false, "Normal", "Normal"},
        {false, false, true, false, "FocusDisable", "Normal"},
        {false, false, false, true, "NormalDisable", "Normal"},
    };
    for (const Case& c : cases) {
        check().setHoverTrack(false);
        check().setFocusOnHover(false);
        check().setHovered(c.hovered);
        if (c.focused)
            check().setFocused(true);
        else
            find<ControlNode>("Ok").setFocused(true);
        check().setEnabled(c.enabled);
        states->take();
        check().setChecked(c.checked);
        EXPECT_EQ(states->take(), std::vector<std::string>{std::string("Check:78 ") + c.state})
            << c.state;
        EXPECT_EQ(look(), c.look) << c.state;
        drain();
        EXPECT_TRUE(events->take().empty()) << "setting the flag from code reports nothing";
    }
}

TEST_F(CheckBoxNodeTest, LeavingPlaysTheKillHoverLooksOnlyWhileEnabled) {
    struct Case {
        bool checked, focused, enabled;
        std::vector<std::string> states;
    };
    const Case cases[] = {
        {true, true, true, {"Check:78 FocusCheckKillHover"}},
        {true, false, true, {"Check:78 NormalCheckKillHover"}},
        {false, true, true, {"Check:78 FocusKillHover"}},
        {false, false, true, {"Check:78 NormalKillHover"}},
        {true, true, false, {}},
    };
    for (const Case& c : cases) {
        check().setFocusOnHover(false);
        check().setChecked(c.checked);
        if (c.focused)
            check().setFocused(true);
        else
            find<ControlNode>("Ok").setFocused(true);
        check().setEnabled(c.enabled);
        move(15, 215);
        drain();
        states->take();
        move(500, 500);
        drain();
        EXPECT_EQ(states->take(), c.states) << c.checked << c.focused << c.enabled;
        check().setEnabled(true);
    }
}

} // namespace
