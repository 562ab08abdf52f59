#include "game/app/BaseSceneNode.h"

#include "engine/audio/SoundPlayer.h"
#include "engine/core/Engine.h"
#include "engine/core/NameId.h"
#include "engine/io/ProfileManager.h"
#include "engine/scene/NodeEventHook.h"
#include "engine/scene/SceneManager.h"
#include "game/app/GameApplication.h"

namespace {

// ButtonNode's kind.
constexpr uint32_t kButtonKind = 9;

bool isButton(const BaseNode* node) {
    return node != nullptr && node->isKindOf(kButtonKind);
}

} // namespace

GBaseSceneNode::GBaseSceneNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {
    setInterval(kTickMs);
}

const EventMap& GBaseSceneNode::getEventMap() {
    static const EventMapEntry own[] = {
        eventHook<&GBaseSceneNode::OnWindowFocus>(),
        eventHook<&GBaseSceneNode::OnApplicationClose>(),
        eventHook<&GBaseSceneNode::OnMessageBoxResult>(),
        eventHook<&GBaseSceneNode::OnSceneSwitch>(),
        eventHook<&GBaseSceneNode::OnSceneSwitchDone>(),
        eventHook<&GBaseSceneNode::OnTabEvent48, 48>(),
        eventHook<&GBaseSceneNode::OnTabEvent47, 47>(),
        eventHook<&GBaseSceneNode::OnControlEvent62>(),
        eventHook<&GBaseSceneNode::OnButtonPressed>(),
        eventHook<&GBaseSceneNode::OnNodeHovered>(),
        eventHook<&GBaseSceneNode::OnNodeUnhovered>(),
        eventHook<&GBaseSceneNode::OnControlEvent58>(),
        eventHook<&GBaseSceneNode::OnControlEvent60>(),
        eventHook<&GBaseSceneNode::OnValueChanged, 65>(),
        eventHook<&GBaseSceneNode::OnListItemPressed, 67>(),
        eventHook<&GBaseSceneNode::OnListItemHovered, 69>(),
    };
    static const EventMap map = buildEventMap(ControlNode::getEventMap(), own);
    return map;
}

bool GBaseSceneNode::OnUpdate(uint32_t elapsedMs) {
    if (isFocused())
        m_shownTime += elapsedMs;
    return true;
}

bool GBaseSceneNode::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    if (event.getFrom() == this && getScheduler() != nullptr)
        setScheduler(nullptr);
    if (event.getTo() == this)
        m_shownTime = 0;
    return false;
}

bool GBaseSceneNode::OnSceneSwitchDone(CEventSceneSwitchFinished& event) {
    if (event.getTo() != this)
        return false;
    m_shownTime = 0;
    SceneNode* owner = getScene();
    setScheduler(owner != nullptr ? owner->getClock() : nullptr);
    return false;
}

bool GBaseSceneNode::OnButtonPressed(CEventControlClicked& event) {
    if (isButton(event.getNode()))
        playCue("ButtonClick");
    return false;
}

bool GBaseSceneNode::OnNodeHovered(CEventControlHovered& event) {
    if (isButton(event.getGaining()))
        playCue("ButtonOver");
    return false;
}

bool GBaseSceneNode::OnListItemPressed(CEventNode&) {
    playCue("ButtonClick");
    return false;
}

bool GBaseSceneNode::OnListItemHovered(CEventNode&) {
    playCue("ButtonOver");
    return false;
}

CEngine* GBaseSceneNode::getEngine() const {
    if (const SceneManager* manager = getSceneManager())
        return manager->getEngine();
    const SceneManager* menus =
        theApplication != nullptr ? theApplication->getSceneManager() : nullptr;
    return menus != nullptr ? menus->getEngine() : nullptr;
}

CProfileManager* GBaseSceneNode::getProfiles() const {
    CEngine* engine = getEngine();
    return engine != nullptr ? engine->getProfileManager() : nullptr;
}

CProfileParameters* GBaseSceneNode::currentPlayer() const {
    CProfileManager* profiles = getProfiles();
    return profiles != nullptr ? profiles->getActiveProfile() : nullptr;
}

CSoundPlayer* GBaseSceneNode::getSoundPlayer() const {
    CEngine* engine = getEngine();
    return engine != nullptr ? engine->getSoundPlayer() : nullptr;
}

void GBaseSceneNode::playCue(const char* name, bool exclusive) const {
    if (CSoundPlayer* player = getSoundPlayer())
        player->playCue(CNameId(CString(name)), exclusive, 0);
}
