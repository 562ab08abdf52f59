#include "game/screens/CreditsScene.h"

GCreditsScene::GCreditsScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : GMenuPageScene(key, parent, sceneManager) {}

bool GCreditsScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    return GBaseSceneNode::OnSceneSwitch(event) || event.getTo() == this;
}
