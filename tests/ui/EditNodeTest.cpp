#include "engine/ui/EditNode.h"

#include <gtest/gtest.h>

#include "engine/core/Utf.h"
#include "engine/ui/ControlKeys.h"
#include "tests/scene/TextFixtures.h"
#include "tests/ui/ControlSceneFixture.h"

namespace {

constexpr uint32_t kEscape = 27;
// Typed characters come with a key the field does not look at.
constexpr uint32_t kLetterKey = 65;

// "Edits.qscn" with the test font (every character 10 wide, lines 10 high) in the fields'
// text nodes, the engine's clock past the fields' key guard. Key-downs that no field takes
// reach the scene, which records them.
class EditNodeTest : public TextNodeTest, public StubEngine, public ControlScene {
protected:
    EditNodeTest() {
        static_cast<TextNode*>(templates->getTemplate(nameId("Edit"))->findChild(nameId("Text"), 1))
            ->setFont(font.get());
        ControlScene::manager->setEngine(device.get());
        open(u"Edits.qscn");
        keys = record(*scene, {34});
        clock.advanceMs(EditNode::kKeyGuardMs + 1);
    }

    EditNode& edit(const char* name) { return find<EditNode>(name); }
    void type(const char* text) {
        for (const char* c = text; *c != 0; ++c)
            key(kLetterKey, char16_t(*c));
    }
    static std::string textOf(const EditNode& field) {
        return utf16ToUtf8(field.getText().c_str()).c_str();
    }

    CRefPointer<EventRecorder> keys;
};

TEST_F(EditNodeTest, KeysEditTheTextMoveTheCursorAndReportEachChange) {
    struct Step {
        uint32_t key;
        char16_t character;
        const char* text;
        int32_t line, column;
        bool reported;
    };
    const Step steps[] = {
        {kLetterKey, u'a', "a", 0, 0, true},
        {kLetterKey, u'b', "ab", 0, 1, true},
        {kKeyEnter, u'\r', "ab\n", 1, -1, true},
        {kLetterKey, u'c', "ab\nc", 1, 0, true},
        {kLetterKey, u'd', "ab\ncd", 1, 1, true},
        {kKeyHome, 0, "ab\ncd", 1, -1, false},
        {kKeyBackspace, u'\b', "abcd", 0, 1, true}, // joins the lines
        {kKeyEnd, 0, "abcd", 0, 3, false},
        {kKeyLeft, 0, "abcd", 0, 2, false},
        {kKeyHome, 0, "abcd", 0, -1, false},
        {kKeyBackspace, u'\b', "abcd", 0, -1, false}, // nothing before the first character
        {kKeyLeft, 0, "abcd", 0, -1, false},
        {kKeyRight, 0, "abcd", 0, 0, false},
        {kKeyDelete, 0, "acd", 0, 0, true},
        {kKeyEnd, 0, "acd", 0, 2, false},
        {kKeyDelete, 0, "acd", 0, 2, true}, // nothing after the last, still reported
        {kKeyEnter, u'\r', "acd\n", 1, -1, true},
        {kLetterKey, u'e', "acd\ne", 1, 0, true},
        {kKeyUp, 0, "acd\ne", 0, 0, false},
        {kKeyEnd, 0, "acd\ne", 0, 2, false},
        {kKeyDown, 0, "acd\ne", 1, 0, false},    // held within the shorter line
        {kKeyLeft, 0, "acd\ne", 0, 2, false},    // from the first column to the line above
        {kKeyRight, 0, "acd\ne", 1, -1, false},  // from a line's end to the next line
        {kEscape, 0x1B, "acd\ne", 1, -1, false}, // control codes are not text
        {kLetterKey, 0x03, "acd\ne", 1, -1, false},
    };
    EditNode& free = edit("Free");
    click(5, 105);
    events->take();
    for (const Step& step : steps) {
        key(step.key, step.character);
        EXPECT_EQ(textOf(free), step.text) << step.text;
        EXPECT_EQ(free.getCursorLine(), step.line) << step.text;
        EXPECT_EQ(free.getCursorColumn(), step.column) << step.text;
        EXPECT_EQ(events->take(),
                  step.reported ? std::vector<std::string>{"Free:65"} : std::vector<std::string>{})
            << step.text;
    }
}

TEST_F(EditNodeTest, TheCursorStandsAtTheGlyphsEdgeAndShowsOnlyWithTheFocus) {
    EditNode& free = edit("Free");
    BaseNode& cursor = *free.getTextChild()->findChild(nameId("Cursor"), 1);
    EXPECT_FALSE(cursor.isVisible());
    click(5, 105);
    EXPECT_TRUE(cursor.isVisible());
    type("ab");
    key(kKeyHome);
    EXPECT_EQ(cursor.getPosition(), CVector3d(0.5f, 0, 0)) << "before a";
    key(kKeyEnd);
    key(kKeyEnter, u'\r');
    type("c");
    EXPECT_EQ(cursor.getPosition(), CVector3d(9.5f, 10, 0)) << "after c, on the second line";
    key(kKeyUp);
    EXPECT_EQ(cursor.getPosition(), CVector3d(9.5f, 0, 0)) << "after a";
    click(5, 5);
    EXPECT_FALSE(cursor.isVisible()) << "another field took the focus";
}

TEST_F(EditNodeTest, APressPutsTheCursorWhereItHitsTheText) {
    EditNode& free = edit("Free");
    free.setText(u"ab\ncd");
    struct Case {
        int32_t x, y;
        int32_t line, column;
    };
    const Case cases[] = {
        {16, 105, 0, 1},  // past the middle of b
        {14, 105, 0, 0},  // before it
        {2, 115, 1, -1},  // before c
        {5, 125, 1, 1},   // below the last line: its end
        {150, 105, 0, 1}, // right of the first line: its end
    };
    for (const Case& c : cases) {
        down(c.x, c.y);
        up(c.x, c.y);
        EXPECT_EQ(free.getCursorLine(), c.line) << c.x << "," << c.y;
        EXPECT_EQ(free.getCursorColumn(), c.column) << c.x << "," << c.y;
    }
}

TEST_F(EditNodeTest, TheMaskChoosesTheCharactersAndRejectedOnesGoOnUp) {
    struct Case {
        const char* field;
        uint32_t key;
        char16_t character;
        const char* text;
        bool passedOn;
    };
    const Case cases[] = {
        {"Digits", kLetterKey, u'7', "7", false},       {"Digits", kLetterKey, u'a', "", true},
        {"Digits", kKeyEnter, u'\r', "", false}, // no line without "R", and yet handled
        {"Words", kLetterKey, u'a', "a", false},        {"Words", kLetterKey, u' ', " ", false},
        {"Words", kLetterKey, 0xE9, "\xC3\xA9", false}, // a letter beyond ASCII
        {"Words", kLetterKey, u'7', "", true},          {"Words", kLetterKey, u'-', "", true},
        {"Words", kKeyEnter, u'\r', "", false},
    };
    for (const Case& c : cases) {
        EditNode& field = edit(c.field);
        field.setFocused(true);
        field.setText(u"");
        clock.advanceMs(EditNode::kKeyGuardMs + 1);
        keys->take();
        key(c.key, c.character);
        EXPECT_EQ(textOf(field), c.text) << c.field << " " << int(c.character);
        EXPECT_EQ(keys->take().size(), c.passedOn ? 1u : 0u) << c.field << " " << int(c.character);
    }
}

TEST(EditNodeMaskTest, EachMaskCharacterAddsItsClassOfCharacters) {
    struct Case {
        const char* mask;
        char16_t character;
        bool accepted;
    };
    const Case cases[] = {
        {"", u'%', true},   {"0", u'7', true},  {"0", u'a', false}, {"a", 0xE9, true},
        {"A", u'7', false}, {"s", u' ', true},  {"S", u'-', false}, {"R", u'\n', true},
        {"r", u'\r', true}, {"R", u'a', false}, {"T", u'\t', true}, {"t", u'x', false},
        {"P", u'-', true},  {"p", u'!', true},  {"P", u'a', false}, {"P", u'7', false},
        {"x", u'a', false}, {"0P", u'.', true}, {"0P", u'3', true}, {"0P", u'b', false},
    };
    const CRefPointer<EditNode> field(new EditNode(CContentKey(), nullptr, nullptr));
    for (const Case& c : cases) {
        field->setInputMask(CString(c.mask));
        EXPECT_EQ(field->acceptsChar(c.character), c.accepted) << c.mask << " " << int(c.character);
    }
}

TEST_F(EditNodeTest, TheCursorIsBroughtBackIntoATextThatShrankUnderIt) {
    EditNode& free = edit("Free");
    free.setText(u"ab\ncd");
    clock.advanceMs(EditNode::kKeyGuardMs + 1);
    click(25, 125); // below the last line: after d
    ASSERT_EQ(free.getCursorLine(), 1);
    ASSERT_EQ(free.getCursorColumn(), 1);
    // A state of the template may set the text node's text behind the field's back.
    free.getTextChild()->setText(u"xyz");
    type("Q");
    EXPECT_EQ(textOf(free), "xyQz") << "on the only line, after the same column";
    EXPECT_EQ(free.getCursorLine(), 0);
    EXPECT_EQ(free.getCursorColumn(), 2);
    free.getTextChild()->setText(u"");
    for (const uint32_t k : {kKeyDelete, kKeyBackspace, kKeyEnd, kKeyRight, kKeyDown}) {
        key(k);
        EXPECT_EQ(free.getCursorLine(), 0) << k;
        EXPECT_EQ(free.getCursorColumn(), -1) << k;
    }
    EXPECT_EQ(textOf(free), "");
}

TEST_F(EditNodeTest, TheMaximumLengthSwallowsCharactersAndLinesButNotDeletions) {
    EditNode& name = edit("Name");
    click(5, 5);
    events->take();
    type("abcdef");
    EXPECT_EQ(textOf(name), "abcde");
    EXPECT_EQ(events->take().size(), 5u);
    key(kKeyEnter, u'\r');
    EXPECT_EQ(textOf(name), "abcde");
    EXPECT_TRUE(keys->take().empty()) << "swallowed, not passed on";
    key(kKeyBackspace, u'\b');
    EXPECT_EQ(textOf(name), "abcd");
    EXPECT_EQ(events->take(), std::vector<std::string>{"Name:65"});
}

TEST_F(EditNodeTest, KeysRightAfterTheTextWasSetAreSwallowed) {
    EditNode& free = edit("Free");
    click(5, 105);
    free.setText(u"x");
    clock.advanceMs(EditNode::kKeyGuardMs);
    type("a");
    EXPECT_EQ(textOf(free), "x");
    EXPECT_TRUE(keys->take().empty());
    clock.advanceMs(1);
    type("a");
    EXPECT_EQ(textOf(free), "ax");

    free.setTemplateName(nameId("Edit"));
    type("b");
    EXPECT_EQ(textOf(free), "ax") << "a new template sets the text again";
    EXPECT_EQ(free.getCursorColumn(), -1);
}

TEST_F(EditNodeTest, UpOnTheFirstLineAndDownOnTheLastMoveTheFocus) {
    struct Case {
        const char* text;
        uint32_t key;
        const char* focused;
    };
    const Case cases[] = {
        {"ab", kKeyUp, "Name"},
        {"ab", kKeyDown, "Digits"},
        {"a\nb", kKeyDown, "Free"}, // the cursor goes down a line instead
    };
    for (const Case& c : cases) {
        EditNode& free = edit("Free");
        free.setText(utf8ToUtf16(c.text));
        free.setFocused(true);
        clock.advanceMs(EditNode::kKeyGuardMs + 1);
        key(c.key);
        EXPECT_EQ(scene->getFocusedChild(), &find<BaseNode>(c.focused)) << c.text << c.key;
    }
}

} // namespace
