#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/scene/ControlNode.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/TextNode.h"

// A text field: a control that edits a wide text shown by its template's text node "Text",
// with a cursor node ("Cursor", a child of "Text") that stands between characters and shows
// while the field has the focus. Key-downs insert the typed character, delete, break lines and
// move the cursor; "InputMask" chooses the characters accepted and "MaxTextLength" caps the
// length. Every change of the text made by the user is posted to the parent as event 65.
//
// Mask characters: "0" digits, "A" letters, "S" blanks, "R" line breaks (and Enter), "T" tabs,
// "P" punctuation, in either case; an empty mask accepts everything.
class EditNode : public NodeClass<EditNode, ControlNode> {
public:
    static constexpr uint32_t kTypeId = 12;
    static constexpr const char16_t* kTypeName = u"EditNode";
    // Key-downs this soon after the text was set are swallowed.
    static constexpr uint32_t kKeyGuardMs = 100;

    EditNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const PropertyTable& classPropertyTable();

    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    // The cursor shows only while the field has the focus.
    void setFocused(bool focused) override;
    // Binds the children, then sets the text again.
    void applyTemplate() override;
    // A press puts the cursor where it hits the text.
    bool OnMouseButtonDown(CEventInputMouseLeftDown& event) override;
    bool OnKeyDown(CEventInputKeyDown& event) override;
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;

    // Shows the text with the cursor before it; posts nothing.
    void setText(const CStringW& text);
    const CStringW& getText() const { return m_text; }
    void setInputMask(const CString& mask);
    const CString& getInputMask() const { return m_inputMask; }
    // -1: no limit.
    void setMaxTextLength(int32_t length) { m_maxTextLength = length; }
    int32_t getMaxTextLength() const { return m_maxTextLength; }
    bool acceptsChar(char16_t character) const;
    // The cursor stands after this column of its line of the laid-out text; -1 is before the
    // line's first character.
    int32_t getCursorLine() const { return m_cursorLine; }
    int32_t getCursorColumn() const { return m_cursorColumn; }
    TextNode* getTextChild() const { return m_textChild.get(); }

protected:
    ~EditNode() override = default;

private:
    void bindTemplateChildren();
    // Milliseconds of the engine's timer; false without an engine.
    bool readRealTime(uint32_t& now) const;
    bool isKeyGuarded() const;
    uint32_t lineCount() const;
    int32_t lineLength(int32_t line) const;
    // Brings the cursor back into the laid-out text.
    void clampCursor();
    // Where the cursor stands in the text, and the cursor put before a place in the text.
    int32_t cursorIndex() const;
    void moveCursorTo(int32_t index);
    void placeCursor();
    bool acceptsLineBreak() const;
    // Inserts before the cursor's place and moves the cursor after the character.
    void insertAtCursor(char16_t character);
    // Removes the character at the place in the text (a CR LF pair as one); false when there is
    // none.
    bool deleteAt(int32_t index);
    bool OnCharacter(CEventInputKeyDown& event);
    void reportChange();

    CRefPointer<TextNode> m_textChild;
    CRefPointer<BaseNode> m_cursorChild;
    int32_t m_cursorLine = 0;
    int32_t m_cursorColumn = -1;
    uint32_t m_lastSetTextTime = 0;
    CStringW m_text;
    int32_t m_maxTextLength = -1;
    CString m_inputMask;
    int32_t m_maskBits = -1;
};
