#include "game/screens/TutorialController.h"

#include "engine/io/Content.h"
#include "engine/io/ContentManager.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/ControlEvents.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/SpriteNode.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/scene/TextNode.h"
#include "engine/video/AtlasTexture.h"
#include "game/app/GameApplication.h"
#include "game/level/GameLevelScene.h"
#include "game/screens/SceneChildren.h"

namespace {

bool hasState(const BaseNode& node, CNameId state) {
    const NodeState* current = node.getCurrentState();
    return current != nullptr && current->getName() == state;
}

// Visible and not on its way out.
bool isUp(const BaseNode& node) {
    return node.isVisible() && !hasState(node, nameOf("NavFrom"));
}

void leave(BaseNode* window) {
    if (window != nullptr && isUp(*window))
        window->setState(nameOf("NavFrom"), nullptr, CNameId());
}

// The queues of the script's actions take their wish lists from the level's configuration, or
// from the game's on the map.
const ObjectConfigurations* configurationsFor(const GGameLevelScene* level) {
    if (level != nullptr)
        return level->getObjectConfigurations();
    return theApplication != nullptr ? theApplication->getObjectConfigurations() : nullptr;
}

} // namespace

GTutorialController::GTutorialController(BaseNode* parent, TemplateCollectionNode* templates,
                                         CContentManager* contentManager)
    : m_contentManager(CRefPointer<CContentManager>::share(contentManager)), m_parent(parent) {
    setCategoryMask(kCategoryMask);
    if (parent != nullptr && templates != nullptr)
        buildWindows(*templates);
    if (m_textWindow)
        m_script = CRefPointer<GTutorialScript>(new GTutorialScript);
}

GTutorialController::~GTutorialController() {
    detach();
    removeFromParent(m_arrowContainer.get());
    removeFromParent(m_iconWindow.get());
    removeFromParent(m_textWindow.get());
}

void GTutorialController::buildWindows(TemplateCollectionNode& templates) {
    m_arrowContainer = CRefPointer<BaseNode>(new BaseNode(CContentKey(), m_parent, nullptr));
    m_arrowTemplate = CRefPointer<BaseNode>::share(templates.getTemplate(nameOf("TutorialArrow")));
    if (BaseNode* icon = templates.getTemplate(nameOf("TutorialIconWindow"))) {
        m_iconWindow = icon->clone(m_parent, nullptr);
        m_iconWindow->setVisible(false);
        m_iconWindowText = findChildOf<TextNode>(m_iconWindow.get(), "Text");
        m_icon = findChildOf<SpriteNode>(m_iconWindow.get(), "Icon");
    }
    if (BaseNode* text = templates.getTemplate(nameOf("TutorialWindow"))) {
        m_textWindow = text->clone(m_parent, nullptr);
        m_textWindow->setVisible(false);
        m_textWindowText = findChildOf<TextNode>(m_textWindow.get(), "Text");
        m_heroine = findChildOf(m_textWindow.get(), "Nelia");
        if (m_heroine != nullptr)
            m_heroine->setVisible(false);
    }
}

void GTutorialController::removeFromParent(BaseNode* node) {
    if (node != nullptr && node->getParent() != nullptr)
        node->getParent()->removeChild(node);
}

void GTutorialController::loadScript(CXmlTextReader& reader, GGameLevelScene* level) {
    if (m_script)
        m_script->load(reader, configurationsFor(level));
    m_level = level;
}

void GTutorialController::start() {
    m_currentHint = 0;
    if (m_script && m_parent != nullptr)
        showCurrentHint();
}

bool GTutorialController::hasEnded() const {
    return !m_script || uint32_t(m_currentHint) >= m_script->getHintCount();
}

GTutorialHint* GTutorialController::currentHint() const {
    return hasEnded() ? nullptr : m_script->getHints()[uint32_t(m_currentHint)].get();
}

bool GTutorialController::OnUpdate(uint32_t elapsedMs) {
    // An action may end the tutorial's owner; the controller stays until the step is over.
    const CRefPointer<GTutorialController> self = CRefPointer<GTutorialController>::share(this);
    const CRefPointer<GTutorialHint> hint = CRefPointer<GTutorialHint>::share(currentHint());
    if (!hint)
        return false;
    GTutorialAction* done = nullptr;
    for (const CRefPointer<GTutorialAction>& action : hint->actions) {
        action->update(elapsedMs);
        if (action->isDone()) {
            done = action.get();
            break;
        }
    }
    if (done == nullptr)
        return true;
    const int64_t skip = done->getSkipCount() > 0 ? done->getSkipCount() : 0;
    for (const CRefPointer<GTutorialAction>& action : hint->actions)
        action->reset();
    // Past the last hint means the end; the index never runs beyond it.
    const int64_t next = int64_t(m_currentHint) + skip + 1;
    m_currentHint =
        int32_t(next < int64_t(m_script->getHintCount()) ? next : m_script->getHintCount());
    showCurrentHint();
    return true;
}

bool GTutorialController::OnEvent(CEvent& event) {
    const CRefPointer<GTutorialHint> hint = CRefPointer<GTutorialHint>::share(currentHint());
    if (!hint)
        return false;
    if (event.isKindOf(CEventControlClicked::Id)) {
        const BaseNode* node = static_cast<CEventControlClicked&>(event).getNode();
        if (node != nullptr && (node->getName() == nameOf("SkipTutorialButton") ||
                                node->getName() == nameOf("MenuButton")))
            return false;
    }
    bool consumed = false;
    for (const CRefPointer<GTutorialAction>& action : hint->actions) {
        if (action->OnEvent(event))
            consumed = true;
    }
    return consumed;
}

void GTutorialController::skip() {
    if (m_script)
        m_currentHint = int32_t(m_script->getHintCount());
}

void GTutorialController::showCurrentHint() {
    GTutorialHint* hint = currentHint();
    if (hint == nullptr)
        return;
    hint->beginActions(m_level);
    if (showPicture(*hint)) {
        leave(m_textWindow.get());
        showWindow(m_iconWindow.get(), m_iconWindowText, nullptr, *hint);
    } else {
        leave(m_iconWindow.get());
        showWindow(m_textWindow.get(), m_textWindowText, m_heroine, *hint);
    }
    showArrows(*hint);
}

bool GTutorialController::showPicture(const GTutorialHint& hint) {
    // A hint without a picture names none; looking one up would only fail.
    if (hint.image.isEmpty() || !m_contentManager)
        return false;
    CStringW name(u"scenes/images/Tutorial/");
    name.append(hint.image.c_str());
    const CRefPointer<CContent> picture = m_contentManager->load(contentType("atex"), name, true);
    if (!picture)
        return false;
    if (m_icon != nullptr)
        m_icon->setImage(static_cast<CAtlasTexture*>(picture.get()));
    return true;
}

void GTutorialController::showWindow(BaseNode* window, TextNode* text, BaseNode* heroine,
                                     const GTutorialHint& hint) {
    if (window == nullptr)
        return;
    const bool up = isUp(*window);
    const bool hasText = !hint.text.isEmpty();
    if (!hasText) {
        if (up)
            window->setState(nameOf("NavFrom"), nullptr, CNameId());
        return;
    }
    if (!up)
        window->setState(nameOf("NavTo"), nullptr, CNameId());
    if (text != nullptr)
        text->setText(hint.text);
    if (heroine != nullptr) {
        heroine->setVisible(hint.neliaShown);
        heroine->setPosition(hint.neliaPosition - hint.position);
    }
    window->setPosition(CVector3d(hint.position.x, hint.position.y, 1999));
}

void GTutorialController::showArrows(const GTutorialHint& hint) {
    if (!m_arrowContainer)
        return;
    const CNameId disappear = nameOf("OnDisappear");
    for (uint32_t i = 0; i < m_arrowContainer->getChildCount(); ++i) {
        BaseNode* arrow = m_arrowContainer->getChild(i);
        if (!hasState(*arrow, disappear))
            arrow->setState(disappear, nullptr, CNameId());
    }
    if (!m_arrowTemplate)
        return;
    for (const GTutorialArrow& record : hint.arrows) {
        const CRefPointer<BaseNode> arrow = m_arrowTemplate->clone(m_arrowContainer.get(), nullptr);
        arrow->setVisible(true);
        arrow->setPosition(record.position);
        arrow->setRotation(record.rotation);
        arrow->setState(nameOf("OnAppear"), nullptr, CNameId());
    }
}

void GTutorialController::attachTo(CEventReceiver& receiver) {
    receiver.addPreReceiver(this);
    m_attachedTo.append(&receiver);
}

void GTutorialController::detach() {
    for (CEventReceiver* receiver : m_attachedTo) {
        CArray<CEventReceiver*>& list = receiver->getPreReceivers();
        for (uint32_t i = list.size(); i-- > 0;) {
            if (list[i] == this)
                list.eraseAt(i);
        }
    }
    m_attachedTo.clear();
}
