#include "game/level/MiniGameBallScene.h"

#include "engine/core/EngineServices.h"
#include "engine/core/Random.h"
#include "engine/io/ContentManager.h"
#include "engine/scene/SpriteNode.h"
#include "engine/ui/ButtonNode.h"
#include "engine/video/AtlasTexture.h"
#include "game/app/ClientWishList.h"
#include "game/level/MiniGameConfigurations.h"

void GMiniGameBallScene::OnLoaded() {
    m_balls.clear();
    m_correctBall = nullptr;
    const BaseNode* holder = childNamed(childNamed(this, "Scene"), "Balls");
    for (uint32_t i = 0; holder != nullptr && i < holder->getChildCount(); ++i) {
        BaseNode* child = holder->getChild(i);
        if (child->isKindOf(ButtonNode::kTypeId))
            m_balls.append(static_cast<ButtonNode*>(child));
    }
}

void GMiniGameBallScene::start(const StartParameters& parameters) {
    GMiniGameScene::start(parameters);
    if (m_balls.size() == 0)
        return;
    const uint32_t correct = CEngineServices::instance()->getRandom()->nextMwc() % m_balls.size();
    m_correctBall = m_balls[correct];
    const GMiniGameBallConfig* config =
        GMiniGameConfigurations::shared().ball(parameters.configurationIndex);
    if (config == nullptr || config->imageFilenames.size() == 0)
        return;
    const GClientNode* client = getClient();
    const CString colour = getColorName(client != nullptr ? client->getColor() : 0);
    const CStringW right = config->correctImagePrefix + CStringW(colour.c_str()) + u".png";
    for (uint32_t i = 0; i < m_balls.size(); ++i) {
        const CArray<CStringW>& names = config->imageFilenames;
        showPicture(*m_balls[i], i == correct ? right : names[i % names.size()]);
    }
}

void GMiniGameBallScene::showPicture(ButtonNode& ball, const CStringW& name) const {
    BaseNode* image = childNamed(&ball, "Image");
    CContentManager* content = getContentManager();
    if (image == nullptr || !image->isKindOf(SpriteNode::kTypeId) || content == nullptr)
        return;
    const CRefPointer<CContent> loaded = content->loadAtlasTexture(name, true);
    static_cast<SpriteNode*>(image)->setImage(static_cast<CAtlasTexture*>(loaded.get()));
}

bool GMiniGameBallScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    GMiniGameScene::OnSceneSwitch(event);
    return event.getTo() == this;
}

bool GMiniGameBallScene::OnButtonPressed(CEventControlClicked& event) {
    BaseNode* clicked = event.getNode();
    if (clicked == nullptr)
        return false;
    if (clicked == m_correctBall) {
        close();
        return true;
    }
    for (ButtonNode* ball : m_balls) {
        if (ball == clicked) {
            ball->setVisible(false);
            return true;
        }
    }
    return false;
}
