#include "engine/ui/EditNode.h"

#include <algorithm>

#include "engine/core/Engine.h"
#include "engine/core/Matrix4.h"
#include "engine/core/Properties.h"
#include "engine/core/PropertyDataStrings.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/scene/SceneManager.h"
#include "engine/ui/ControlKeys.h"
#include "engine/ui/PosixCharClasses.h"
#include "engine/ui/TemplateChild.h"
#include "engine/ui/UiEvents.h"

namespace {

constexpr int32_t kMaskDigits = 1;
constexpr int32_t kMaskLetters = 2;
constexpr int32_t kMaskBlanks = 4;
constexpr int32_t kMaskPunctuation = 8;
constexpr int32_t kMaskLineBreaks = 16;
constexpr int32_t kMaskTabs = 32;

int32_t maskBitOf(char c) {
    switch (c) {
    case '0':
        return kMaskDigits;
    case 'A':
    case 'a':
        return kMaskLetters;
    case 'S':
    case 's':
        return kMaskBlanks;
    case 'P':
    case 'p':
        return kMaskPunctuation;
    case 'R':
    case 'r':
        return kMaskLineBreaks;
    case 'T':
    case 't':
        return kMaskTabs;
    default:
        return 0;
    }
}

// Escape and the control codes of Ctrl with a letter are keys, not text; a tab is text.
bool isControlCode(char16_t character) {
    return (character < 32 && character != u'\t') || character == 127;
}

// The mask travels as the text of a value of any type.
struct MaskTraits {
    static CString read(const CPropertyData* value) {
        return value ? value->toString() : CString();
    }
    static CRefPointer<CPropertyData> make(const CString& mask) { return makeStringProperty(mask); }
};

} // namespace

EditNode::EditNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

const PropertyTable& EditNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        ControlNode::classPropertyTable(),
        {
            accessorProperty<&EditNode::getText, &EditNode::setText>("Text"),
            fieldProperty<&EditNode::m_maxTextLength>("MaxTextLength"),
            accessorProperty<&EditNode::getInputMask, &EditNode::setInputMask, MaskTraits>(
                "InputMask"),
        });
    return table;
}

// Text and mask

void EditNode::setText(const CStringW& text) {
    m_text = text;
    if (!m_textChild)
        return;
    m_textChild->setText(m_text);
    m_cursorLine = 0;
    m_cursorColumn = -1;
    placeCursor();
    uint32_t now = 0;
    if (readRealTime(now))
        m_lastSetTextTime = now;
}

void EditNode::setInputMask(const CString& mask) {
    m_inputMask = mask;
    if (mask.isEmpty()) {
        m_maskBits = -1;
        return;
    }
    m_maskBits = 0;
    for (uint32_t i = 0; i < mask.length(); ++i)
        m_maskBits |= maskBitOf(mask[i]);
}

bool EditNode::acceptsChar(char16_t character) const {
    if (m_maskBits == -1)
        return true;
    if ((m_maskBits & kMaskLineBreaks) != 0 && (character == u'\r' || character == u'\n'))
        return true;
    if ((m_maskBits & kMaskTabs) != 0 && character == u'\t')
        return true;
    return ((m_maskBits & kMaskDigits) != 0 && isDigitCharacter(character)) ||
           ((m_maskBits & kMaskLetters) != 0 && isLetterCharacter(character)) ||
           ((m_maskBits & kMaskBlanks) != 0 && isBlankCharacter(character)) ||
           ((m_maskBits & kMaskPunctuation) != 0 && isPunctuationCharacter(character));
}

bool EditNode::readRealTime(uint32_t& now) const {
    const SceneManager* manager = getSceneManager();
    const CEngine* engine = manager != nullptr ? manager->getEngine() : nullptr;
    if (engine == nullptr || engine->getTimer() == nullptr)
        return false;
    now = engine->getTimer()->getRealTime();
    return true;
}

// Measured as a difference, which stays right when the clock wraps.
bool EditNode::isKeyGuarded() const {
    uint32_t now = 0;
    return readRealTime(now) && now - m_lastSetTextTime <= kKeyGuardMs;
}

// Cursor

uint32_t EditNode::lineCount() const {
    return m_textChild->getLines().size();
}

int32_t EditNode::lineLength(int32_t line) const {
    const CArray<TextLine>& lines = m_textChild->getLines();
    return line >= 0 && uint32_t(line) < lines.size() ? int32_t(lines[uint32_t(line)].text.length())
                                                      : 0;
}

void EditNode::clampCursor() {
    const int32_t lastLine = std::max(int32_t(lineCount()) - 1, 0);
    m_cursorLine = std::clamp(m_cursorLine, 0, lastLine);
    m_cursorColumn = std::clamp(m_cursorColumn, -1, lineLength(m_cursorLine) - 1);
}

int32_t EditNode::cursorIndex() const {
    const CArray<TextLine>& lines = m_textChild->getLines();
    const int32_t start = lines.size() != 0 ? int32_t(lines[uint32_t(m_cursorLine)].start) : 0;
    return start + m_cursorColumn + 1;
}

// On the last line starting at or before the place, so that a place where a wrapped line
// ends and the next begins is the next line's start.
void EditNode::moveCursorTo(int32_t index) {
    const CArray<TextLine>& lines = m_textChild->getLines();
    m_cursorLine = 0;
    for (uint32_t i = 1; i < lines.size() && int64_t(lines[i].start) <= index; ++i)
        m_cursorLine = int32_t(i);
    const int32_t start = lines.size() != 0 ? int32_t(lines[uint32_t(m_cursorLine)].start) : 0;
    m_cursorColumn = index - start - 1;
    clampCursor();
}

void EditNode::placeCursor() {
    if (!m_cursorChild || !m_textChild)
        return;
    const CRect glyph =
        m_textChild->getCaretPosition(m_cursorLine, m_cursorColumn < 0 ? 0 : m_cursorColumn);
    const float x = m_cursorColumn < 0 ? glyph.left : glyph.right;
    const float y = m_textChild->getLineTop(uint32_t(std::max(m_cursorLine, 0)));
    m_cursorChild->setPosition(CVector3d(x, y, 0));
}

// Editing

void EditNode::reportChange() {
    postEventToParent(RouteSelfThenParents,
                      *CRefPointer<CEvent>(new CEventSliderValueChanged(this)));
}

void EditNode::insertAtCursor(char16_t character) {
    const int32_t index = cursorIndex();
    m_textChild->insertCharAt(character, m_cursorLine, m_cursorColumn + 1);
    m_text = m_textChild->getText();
    moveCursorTo(index + 1);
}

bool EditNode::deleteAt(int32_t index) {
    const uint32_t before = m_textChild->getText().length();
    const int32_t start = int32_t(m_textChild->getLines()[uint32_t(m_cursorLine)].start);
    m_textChild->deleteCharAt(m_cursorLine, index - start);
    m_text = m_textChild->getText();
    return m_text.length() != before;
}

bool EditNode::OnCharacter(CEventInputKeyDown& event) {
    const char16_t character = event.getCharacter();
    if (character == 0 || isControlCode(character) || !acceptsChar(character))
        return ControlNode::OnKeyDown(event);
    if (m_maxTextLength != -1 && int64_t(m_text.length()) >= m_maxTextLength)
        return true;
    insertAtCursor(character);
    placeCursor();
    reportChange();
    return true;
}

bool EditNode::OnKeyDown(CEventInputKeyDown& event) {
    if (!m_textChild || isKeyGuarded())
        return true;
    const CRefPointer<EditNode> self = CRefPointer<EditNode>::share(this);
    clampCursor();
    switch (event.getVirtualKey()) {
    case kKeyBackspace: {
        if (m_cursorLine == 0 && m_cursorColumn < 0)
            return true;
        int32_t at = cursorIndex() - 1;
        // A line break of two characters goes as one.
        if (at > 0 && uint32_t(at) < m_text.length() && m_text[uint32_t(at)] == u'\n' &&
            m_text[uint32_t(at) - 1] == u'\r')
            --at;
        if (deleteAt(at)) {
            moveCursorTo(at);
            reportChange();
        }
        break;
    }
    case kKeyEnter:
        if ((m_maxTextLength == -1 || int64_t(m_text.length()) < m_maxTextLength) &&
            acceptsChar(u'\n')) {
            insertAtCursor(u'\n');
            reportChange();
        }
        break;
    case kKeyEnd:
        m_cursorColumn = lineLength(m_cursorLine) - 1;
        break;
    case kKeyHome:
        m_cursorColumn = -1;
        break;
    case kKeyLeft:
        // From the first column too, the cursor goes to the end of the line above.
        if (--m_cursorColumn < 0) {
            m_cursorColumn = -1;
            if (m_cursorLine > 0) {
                --m_cursorLine;
                m_cursorColumn = lineLength(m_cursorLine) - 1;
            }
        }
        break;
    case kKeyRight:
        if (++m_cursorColumn >= lineLength(m_cursorLine)) {
            m_cursorColumn = lineLength(m_cursorLine) - 1;
            if (uint32_t(m_cursorLine) + 1 < lineCount()) {
                ++m_cursorLine;
                m_cursorColumn = -1;
            }
        }
        break;
    case kKeyUp:
        if (m_cursorLine == 0)
            return ControlNode::OnKeyDown(event);
        --m_cursorLine;
        m_cursorColumn = std::min(m_cursorColumn, lineLength(m_cursorLine) - 1);
        break;
    case kKeyDown:
        if (uint32_t(m_cursorLine) + 1 >= lineCount())
            return ControlNode::OnKeyDown(event);
        ++m_cursorLine;
        if (m_cursorColumn >= 0)
            m_cursorColumn = std::min(m_cursorColumn, lineLength(m_cursorLine) - 1);
        break;
    case kKeyDelete:
        if (int32_t at = cursorIndex(); deleteAt(at))
            moveCursorTo(at);
        reportChange();
        break;
    default:
        return OnCharacter(event);
    }
    placeCursor();
    return true;
}

bool EditNode::OnMouseButtonDown(CEventInputMouseLeftDown& event) {
    if (!ControlNode::OnMouseButtonDown(event))
        return false;
    if (!m_textChild)
        return true;
    CMatrix4 inverse;
    CVector3d point(float(event.getX()), float(event.getY()), 0);
    if (m_textChild->getAbsoluteMatrix().getInverse(inverse))
        inverse.transformPoint(point);
    m_textChild->getCaretAtPoint(CVector2d(point.x, point.y), m_cursorLine, m_cursorColumn);
    clampCursor();
    placeCursor();
    return true;
}

// Focus and template

void EditNode::setFocused(bool focused) {
    ControlNode::setFocused(focused);
    if (m_cursorChild)
        m_cursorChild->setVisible(isFocused());
}

void EditNode::bindTemplateChildren() {
    m_textChild = holdTemplateChild<TextNode>(*this, "Text");
    m_cursorChild =
        m_textChild
            ? CRefPointer<BaseNode>::share(m_textChild->findChild(CNameId(CString("Cursor")), 1))
            : nullptr;
    if (m_cursorChild)
        m_cursorChild->setVisible(isFocused());
}

void EditNode::applyTemplate() {
    if (getSceneManager() == nullptr)
        return;
    ControlNode::applyTemplate();
    bindTemplateChildren();
    setText(m_text);
}

// Copying and properties

void EditNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    ControlNode::cloneMembers(source, sceneManager);
    bindTemplateChildren();
    if (!source.isKindOf(kTypeId))
        return;
    const auto& edit = static_cast<const EditNode&>(source);
    setText(edit.m_text);
    m_maxTextLength = edit.m_maxTextLength;
    setInputMask(edit.m_inputMask);
}

void EditNode::saveProperties(CProperties& properties) const {
    ControlNode::saveProperties(properties);
    if (!m_text.isEmpty())
        properties.addStringW("Text", m_text);
    if (m_maxTextLength != -1)
        properties.addInt("MaxTextLength", m_maxTextLength);
    if (!m_inputMask.isEmpty())
        properties.addString("InputMask", m_inputMask);
}

void EditNode::loadProperties(const CProperties& properties) {
    ControlNode::loadProperties(properties);
    CStringW text;
    if (loadPropertyIfPresent(properties, "Text", text))
        setText(text);
    loadPropertyIfPresent(properties, "MaxTextLength", m_maxTextLength);
    if (properties.indexOf("InputMask") >= 0)
        setInputMask(properties.getString("InputMask"));
}
