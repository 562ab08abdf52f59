#include "engine/scene/SceneNode.h"

#include "engine/io/ContentManager.h"
#include "engine/scene/SceneManager.h"

SceneNode::SceneNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

void SceneNode::setPreviousScene(SceneNode* scene) {
    if (scene != m_previousScene.get())
        m_previousScene = CRefPointer<SceneNode>::share(scene);
}

void SceneNode::stopChildrenState(CNameId name) {
    const CRefPointer<SceneNode> self = CRefPointer<SceneNode>::share(this);
    if (ControlNode* root = getTemplateRoot()) {
        for (uint32_t i = 0; i < root->getChildCount(); ++i)
            root->getChild(i)->stopState(name, true);
    }
    for (uint32_t i = 0; i < getChildCount(); ++i)
        getChild(i)->stopState(name, true);
}

bool SceneNode::OnChildrenStateFinished(CEventNodeChildrenStateFinished& event) {
    return ControlNode::OnChildrenStateFinished(event) || sendToParent(RouteSelfThenParents, event);
}

bool SceneNode::openScene(SceneNode* scene, bool keepVisible, CNameId leaveState,
                          CNameId enterState) {
    SceneManager* manager = getSceneManager();
    if (scene == nullptr || manager == nullptr)
        return false;
    return manager->switchScene(manager->getCurrentScene(), scene, leaveState, enterState,
                                keepVisible);
}

SceneNode* SceneNode::openSceneFile(const CStringW& fileName, bool keepVisible, CNameId leaveState,
                                    CNameId enterState) {
    CContentManager* content = getContentManager();
    if (fileName.isEmpty() || content == nullptr)
        return nullptr;
    const CRefPointer<CContent> loaded = content->load(contentType("snod"), fileName, true);
    if (!loaded)
        return nullptr;
    BaseNode* node = static_cast<BaseNode*>(loaded.get());
    if (!node->isKindOf(kTypeId))
        return nullptr;
    auto* scene = static_cast<SceneNode*>(node);
    return openScene(scene, keepVisible, leaveState, enterState) ? scene : nullptr;
}

bool SceneNode::navigateBack(int32_t steps, CNameId leaveState, CNameId enterState) {
    SceneManager* manager = getSceneManager();
    if (manager == nullptr)
        return false;
    int32_t left = steps;
    SceneNode* target = findOnChain(m_previousScene.get(), [&](SceneNode*) { return left-- <= 0; });
    return manager->navigateBack(this, target, leaveState, enterState);
}

bool SceneNode::navigateBackToType(uint32_t typeId, CNameId leaveState, CNameId enterState) {
    SceneManager* manager = getSceneManager();
    SceneNode* target = findOnChain(m_previousScene.get(),
                                    [&](SceneNode* scene) { return scene->getTypeId() == typeId; });
    if (manager == nullptr || target == nullptr)
        return false;
    return manager->navigateBack(this, target, leaveState, enterState);
}

MessageBoxBaseNode* SceneNode::showMessageBox(CNameId templateName,
                                              const CArray<CStringW>& buttonTexts,
                                              const CStringW& title, const CStringW& body) {
    SceneManager* manager = getSceneManager();
    return manager != nullptr
               ? manager->showMessageBox(this, templateName, buttonTexts, title, body)
               : nullptr;
}
