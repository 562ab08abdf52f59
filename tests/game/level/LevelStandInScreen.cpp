#include "tests/game/level/LevelStandInScreen.h"

#include "engine/scene/SceneManager.h"
#include "game/app/GameEvents.h"
#include "game/level/GameLevelScene.h"

namespace {

constexpr int32_t kEffectFlightMs = 2000;

} // namespace

LevelStandInScreen::LevelStandInScreen(const CContentKey& key, BaseNode* parent,
                                       SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {
    setBounds(CVector3d(1024, 768, 0));
    const CRefPointer<ControlNode> scene(new ControlNode(CContentKey(), this, nullptr));
    scene->setName(CNameId(CString("Scene")));
    scene->setBounds(CVector3d(1024, 768, 0));
    m_watcher = CRefPointer<Watcher>(new Watcher(*this));
}

LevelStandInScreen::~LevelStandInScreen() {
    detachWatcher();
}

bool LevelStandInScreen::Watcher::OnEvent(CEvent& event) {
    if (event.getCategory() == CEvent::CategoryGame)
        m_screen.note(event);
    return false;
}

// An event that the watcher saw and the level let go on reaches the screen in the same tick.
void LevelStandInScreen::note(CEvent& event) {
    for (auto seen = events.rbegin(); seen != events.rend() && seen->tick == tick; ++seen) {
        if (seen->event.get() == &event)
            return;
    }
    events.push_back({tick, event.getTypeId(), CRefPointer<CEvent>::share(&event)});
}

void LevelStandInScreen::detachWatcher() {
    if (m_level)
        m_level->getPreReceivers().eraseValue(m_watcher.get());
}

bool LevelStandInScreen::OnEvent(CEvent& event) {
    if (event.getTypeId() == CEventInputKeyUp::Id && onKeyUp)
        onKeyUp(static_cast<const CEventInputKeyboard&>(event));
    if (event.getCategory() != CEvent::CategoryGame)
        return GBaseSceneNode::OnEvent(event);
    note(event);
    if (event.getTypeId() == GMoneyEarnedEvent::Id && m_level) {
        const auto& earned = static_cast<const GMoneyEarnedEvent&>(event);
        m_level->addMoneyDelayed(earned.getComponent(), int32_t(earned.getAmount()),
                                 flyMoneyEffects ? kEffectFlightMs : 0);
    }
    return true;
}

void LevelStandInScreen::attach(GGameLevelScene& level, SceneManager& levelManager) {
    detachWatcher();
    m_level = CRefPointer<GGameLevelScene>::share(&level);
    level.addPreReceiver(m_watcher.get());
    findChild(CNameId(CString("Scene")), 1)->addChild(&levelManager, nullptr);
    level.setScene(&levelManager, this);
}
