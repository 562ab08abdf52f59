#include "game/screens/GameNewClientScene.h"

#include "engine/core/EngineServices.h"
#include "engine/core/Random.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "game/app/ClientConfig.h"
#include "game/app/GameApplication.h"
#include "game/level/ClientNode.h"
#include "game/screens/PopUpBackButton.h"
#include "game/screens/SceneChildren.h"

namespace {

// "%" + key + "%": a text key that the text node looks up.
CStringW textKey(const CStringW& key) {
    return CStringW(u"%") + key + u"%";
}

void setKey(TextNode* text, const CStringW& key) {
    if (text != nullptr)
        text->setText(textKey(key));
}

} // namespace

GGameNewClientScene::GGameNewClientScene(const CContentKey& key, BaseNode* parent,
                                         SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

void GGameNewClientScene::OnLoaded() {
    BaseNode* scene = findChildOf(this, "Scene");
    m_name = findChildOf<TextNode>(scene, "NameText");
    m_description = findChildOf<TextNode>(scene, "DescText");
    m_patience = findChildOf<TextNode>(scene, "PatientText");
    m_features = findChildOf<TextNode>(scene, "FeaturesText");
    m_clientPlace = findChildOf(scene, "ClientNode");
}

void GGameNewClientScene::setClient(const GClientConfig* config) {
    if (config == nullptr)
        return;
    const CStringW name(config->name.toString().c_str());
    setKey(m_name, name);
    setKey(m_description, name + u"_D");
    setKey(m_features, name + u"_F");
    showPatience(config->patienceLevel);
    showPreview(*config);
}

void GGameNewClientScene::showPatience(int32_t level) {
    if (m_patience == nullptr)
        return;
    const char16_t* state = level < 0 ? u"Impatient" : level == 0 ? u"Moderate" : u"Patient";
    m_patience->setText(textKey(CStringW(u"NewClient_") + state));
    m_patience->setState(CNameId(CString(state)), nullptr, CNameId());
}

// The figure comes from the level's templates, which the loading screen has read.
void GGameNewClientScene::showPreview(const GClientConfig& config) {
    SceneManager* levelManager = theApplication->getLevelSceneManager();
    const TemplateCollectionNode* templates =
        levelManager != nullptr ? levelManager->getTemplateCollection() : nullptr;
    if (m_clientPlace == nullptr || getSceneManager() == nullptr ||
        getSceneManager()->getTemplateCollection() == nullptr || templates == nullptr)
        return;
    const BaseNode* model = templates->getTemplate(config.templateName);
    if (model == nullptr || !model->isKindOf(GClientNode::kTypeId))
        return;
    m_preview = model->clone(m_clientPlace, getSceneManager());
    m_preview->setChildrenState(nameOf("Stand"), nullptr);
    const CVector3d& place = m_clientPlace->getBounds();
    m_preview->setPosition(CVector3d(place.x / 2, place.y, 0));
    static_cast<GClientNode*>(m_preview.get())
        ->setColor(CEngineServices::instance()->getRandom()->nextIntInRange(1, 5));
    m_standTimerMs = kStandEveryMs;
}

bool GGameNewClientScene::OnUpdate(uint32_t elapsedMs) {
    GBaseSceneNode::OnUpdate(elapsedMs);
    m_standTimerMs += float(elapsedMs);
    if (m_standTimerMs >= kStandEveryMs) {
        if (m_preview)
            m_preview->setChildrenState(nameOf("Stand1"), nullptr);
        m_standTimerMs = 0;
    }
    return true;
}

bool GGameNewClientScene::OnButtonPressed(CEventControlClicked& event) {
    return GBaseSceneNode::OnButtonPressed(event) || closeOnBackButton(*this, event);
}
