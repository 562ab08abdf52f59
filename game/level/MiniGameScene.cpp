#include "game/level/MiniGameScene.h"

#include "engine/core/NameId.h"
#include "engine/scene/NodeEventHook.h"

GMiniGameScene::GMiniGameScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {
    setInterval(kTickMs);
}

GMiniGameScene::~GMiniGameScene() {
    setScheduler(nullptr);
}

const EventMap& GMiniGameScene::getEventMap() {
    static const EventMapEntry own[] = {
        eventHook<&GMiniGameScene::OnSceneSwitch>(),
        eventHook<&GMiniGameScene::onButtonPressed>(),
    };
    static const EventMap map = buildEventMap(ControlNode::getEventMap(), own);
    return map;
}

void GMiniGameScene::start(const StartParameters& parameters) {
    m_client = parameters.client;
}

bool GMiniGameScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    if (event.getTo() == this) {
        SceneNode* owner = getScene();
        IScheduler* clock = owner != nullptr ? owner->getClock() : nullptr;
        if (clock != getScheduler())
            setScheduler(clock);
    } else if (event.getFrom() == this) {
        setScheduler(nullptr);
    }
    return false;
}

bool GMiniGameScene::OnUpdate(uint32_t elapsedMs) {
    if (m_closed)
        return true;
    const CRefPointer<GMiniGameScene> self = CRefPointer<GMiniGameScene>::share(this);
    return tick(elapsedMs);
}

bool GMiniGameScene::sendToChildren(int32_t mode, CEvent& event) {
    if (!m_closed && event.isKindOf(CEventInputMouseLeftDown::Id)) {
        const CRefPointer<GMiniGameScene> self = CRefPointer<GMiniGameScene>::share(this);
        if (OnMouseLeftDown(static_cast<CEventInputMouseLeftDown&>(event)))
            return true;
    }
    return SceneNode::sendToChildren(mode, event);
}

bool GMiniGameScene::onButtonPressed(CEventControlClicked& event) {
    if (m_closed)
        return false;
    const CRefPointer<GMiniGameScene> self = CRefPointer<GMiniGameScene>::share(this);
    return OnButtonPressed(event);
}

bool GMiniGameScene::close() {
    if (m_closed)
        return false;
    m_closed = navigateBack(0, CNameId(CString("NavBackFrom")), CNameId(CString("NavBackTo")));
    return m_closed;
}

BaseNode* GMiniGameScene::childNamed(const BaseNode* parent, const char* name) {
    return parent != nullptr ? parent->findChild(CNameId(CString(name)), 1) : nullptr;
}
