#include "game/screens/DebugStatsScene.h"

#include "engine/core/Engine.h"
#include "engine/core/EngineServices.h"
#include "engine/io/ContentManager.h"
#include "engine/scene/NodeFactory.h"
#include "engine/video/FontBase.h"
#include "engine/video/IRenderDriver.h"
#include "game/app/GameApplication.h"

GDebugStatsScene::GDebugStatsScene(const CContentKey& key, BaseNode* parent,
                                   SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {
    setInterval(0);
}

bool GDebugStatsScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    if (GBaseSceneNode::OnSceneSwitch(event))
        return true;
    if (event.getTo() != this)
        return false;
    createStatsText();
    return true;
}

bool GDebugStatsScene::OnUpdate(uint32_t elapsedMs) {
    GBaseSceneNode::OnUpdate(elapsedMs);
    updateStatsText();
    return true;
}

void GDebugStatsScene::createStatsText() {
    if (m_statsText) {
        removeChild(m_statsText.get());
        m_statsText.reset();
    }
    const CRefPointer<BaseNode> node =
        CEngineServices::instance()->getNodeFactory()->createNode(u"TextNode", CContentKey());
    if (!node || !node->isKindOf(TextNode::kTypeId))
        return;
    m_statsText = CRefPointer<TextNode>::share(static_cast<TextNode*>(node.get()));
    appendChild(m_statsText.get());
    m_statsText->setPivotPoint(CVector2d(0, 0));
    m_statsText->setPosition(CVector3d(0, 0, 0));
    m_statsText->setText(u"0");
    CContentManager* content = getContentManager();
    if (content == nullptr)
        return;
    const CRefPointer<CContent> font =
        content->load(contentType("font"), u"scenes/fonts/arial18.qfnt", true);
    if (font)
        m_statsText->setFont(static_cast<CFontBase*>(font.get()));
}

void GDebugStatsScene::updateStatsText() {
    CEngine* engine = getEngine();
    IRenderDriver* driver = engine != nullptr ? engine->getVideoDriver() : nullptr;
    if (!m_statsText || driver == nullptr)
        return;
    const uint32_t stepMs = theApplication->getLastUpdateMs();
    m_text = u"fps: ";
    m_text.append(int(driver->getFrameRate()));
    m_text.append(u"\nms:");
    if (stepMs < 100)
        m_text.append(u" ");
    if (stepMs < 10)
        m_text.append(u" ");
    m_text.append(unsigned(stepMs));
    m_statsText->setText(m_text);
}
