#include "game/screens/GameBriefingScene.h"

#include "engine/core/EngineServices.h"
#include "engine/io/Dictionary.h"
#include "engine/io/ProfileParameters.h"
#include "game/app/GameApplication.h"
#include "game/app/LevelConfig.h"
#include "game/app/LevelsConfiguration.h"
#include "game/app/MoneyText.h"
#include "game/screens/PopUpBackButton.h"
#include "game/screens/SceneChildren.h"

namespace {

constexpr uint32_t kActLength = 11;

TextNode* goalMoney(BaseNode* scene, const char* goal) {
    return findChildOf<TextNode>(findChildOf(scene, goal), "Money");
}

void showMoney(TextNode* text, float amount) {
    if (text != nullptr)
        text->setText(formatMoneyText(int32_t(amount)));
}

} // namespace

GGameBriefingScene::GGameBriefingScene(const CContentKey& key, BaseNode* parent,
                                       SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

void GGameBriefingScene::OnLoaded() {
    BaseNode* scene = findChildOf(this, "Scene");
    m_title = findChildOf<TextNode>(scene, "TitleText");
    m_description = findChildOf<TextNode>(scene, "DescText");
    m_bronzeMoney = goalMoney(scene, "BronzeGoal");
    m_silverMoney = goalMoney(scene, "SilverGoal");
    m_goldMoney = goalMoney(scene, "GoldGoal");
}

bool GGameBriefingScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    if (GBaseSceneNode::OnSceneSwitch(event))
        return true;
    if (event.getTo() != this || event.getForward() != 1)
        return false;
    fill();
    return true;
}

void GGameBriefingScene::fill() {
    CProfileParameters* player = currentPlayer();
    const uint32_t level = player != nullptr ? uint32_t(player->getInt("LevelIndex")) : 0;
    const uint32_t act = (level - 1) / kActLength + 1;
    const uint32_t place = (level - 1) % kActLength + 1;
    const CStringW number = CStringW().append(act).append(u".").append(place);
    if (m_title != nullptr)
        m_title->setText(CEngineServices::instance()->getDictionary()->substituteParams(
            "Map_Level", number, u"", u"", u""));
    if (m_description != nullptr)
        m_description->setText(CStringW(u"%Briefing") + number + u"%");
    const GLevelConfig* config = theApplication->getLevelList()->getLevel(int32_t(level - 1));
    if (config == nullptr)
        return;
    showMoney(m_bronzeMoney, config->targetMoney);
    showMoney(m_silverMoney, config->targetExpertMoney);
    showMoney(m_goldMoney, config->targetMasterMoney);
}

bool GGameBriefingScene::OnButtonPressed(CEventControlClicked& event) {
    return GBaseSceneNode::OnButtonPressed(event) || closeOnBackButton(*this, event);
}
