#include "engine/ui/MessageBoxNode.h"

#include <gtest/gtest.h>

#include "engine/core/Utf.h"
#include "tests/ui/ControlSceneFixture.h"

namespace {

CArray<CStringW> texts(std::initializer_list<const char16_t*> list) {
    CArray<CStringW> out;
    for (const char16_t* text : list)
        out.append(CStringW(text));
    return out;
}

// Boxes of 300 x 200 over "Buttons.qscn" (800 x 600), so at (250, 200); their buttons at
// (250, 350) and, in the box with two, (400, 350). The scene under a box records its results.
class MessageBoxNodeTest : public ControlSceneTest {
protected:
    MessageBoxNodeTest() {
        open(u"Buttons.qscn");
        results = record(*scene, {45});
    }

    MessageBoxNode* show(const char* templateName, const CArray<CStringW>& captions) {
        MessageBoxBaseNode* box =
            scene->showMessageBox(nameId(templateName), captions, u"%Title%", u"Body");
        EXPECT_TRUE(box != nullptr && box->isKindOf(MessageBoxNode::kTypeId));
        box->updateAbsoluteTransform();
        drain();
        return static_cast<MessageBoxNode*>(box);
    }
    static std::string caption(const MessageBoxNode& box, uint32_t button) {
        return utf16ToUtf8(box.getButtons()[button]->getTextChild()->getText().c_str()).c_str();
    }
    static void tickBox(MessageBoxNode& box, uint32_t ms) { box.getClock()->update(ms); }

    CRefPointer<EventRecorder> results;
};

TEST_F(MessageBoxNodeTest, OneButtonShowsItsCaptionAndHandsIndex0Back) {
    const CRefPointer<MessageBoxNode> box =
        CRefPointer<MessageBoxNode>::share(show("MessageBox1Button", texts({u"%OkBtn%"})));
    ASSERT_EQ(box->getButtons().size(), 1u);
    EXPECT_EQ(caption(*box, 0), "%OkBtn%");
    EXPECT_EQ(templateChild<TextNode>(*box, "TitleText").getText(), CStringW(u"%Title%"));
    EXPECT_EQ(templateChild<TextNode>(*box, "BodyText").getText(), CStringW(u"Body"));
    EXPECT_EQ(manager->getCurrentScene(), box.get());

    click(300, 365);
    tickBox(*box, 100);
    drain();
    EXPECT_EQ(results->take(), std::vector<std::string>{"-:45 0"});
    EXPECT_EQ(manager->getCurrentScene(), scene.get());
}

TEST_F(MessageBoxNodeTest, TheSecondButtonHandsIndex1BackOnceTheBoxHasLeft) {
    const CRefPointer<MessageBoxNode> box =
        CRefPointer<MessageBoxNode>::share(show("MessageBox2Buttons", texts({u"Yes"})));
    ASSERT_EQ(box->getButtons().size(), 2u) << "the sprite named Button does not count";
    EXPECT_EQ(caption(*box, 0), "Yes");
    EXPECT_EQ(caption(*box, 1), "") << "more buttons than captions";

    click(450, 365);
    tickBox(*box, 100); // the button's press
    drain();
    EXPECT_EQ(box->getResult(), 1);
    EXPECT_TRUE(results->take().empty()) << "the box is still leaving";
    tickBox(*box, 100);
    drain();
    EXPECT_EQ(results->take(), std::vector<std::string>{"-:45 1"});
}

TEST_F(MessageBoxNodeTest, ABoxClosedOtherwiseHandsIndex0Back) {
    MessageBoxNode* box = show("MessageBox2Buttons", texts({u"Yes", u"No"}));
    const CRefPointer<MessageBoxNode> held = CRefPointer<MessageBoxNode>::share(box);
    box->navigateBack(0, CNameId(), CNameId());
    tickBox(*box, 100);
    drain();
    EXPECT_EQ(results->take(), std::vector<std::string>{"-:45 0"});
}

TEST_F(MessageBoxNodeTest, TextsSetBeforeTheTemplateAreShownOnceItIsApplied) {
    MessageBoxNode* box = show("MessageBox1Button", texts({u"Ok"}));
    box->setTemplateName(CNameId());
    box->setTitleText(u"Later");
    box->setButtonTexts(texts({u"Fine"}));
    box->setTemplateName(nameId("MessageBox2Buttons"));
    EXPECT_EQ(templateChild<TextNode>(*box, "TitleText").getText(), CStringW(u"Later"));
    EXPECT_EQ(caption(*box, 0), "Fine");
}

} // namespace
