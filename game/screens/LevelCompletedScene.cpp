#include "game/screens/LevelCompletedScene.h"

#include "engine/core/StringFunctions.h"
#include "engine/io/ProfileManager.h"
#include "engine/scene/SceneManager.h"
#include "engine/ui/RangeDraw.h"
#include "game/app/GameApplication.h"
#include "game/app/LogosScene.h"
#include "game/level/GameLevelScene.h"
#include "game/screens/MainMenuScene.h"
#include "game/screens/SceneChildren.h"

namespace {

constexpr uint32_t kMapSceneType = 1108;
constexpr uint32_t kLoadingSceneType = 1111;
constexpr int32_t kLastLevel = 43;
constexpr int32_t kGreetings = 5;

const char* const kRankStates[] = {"Looser", "Goal", "Expert", "Master"};

// Truncated toward zero, held at the int's ends; what is no number is 0.
int32_t wholePart(double value) {
    if (!(value > -2147483649.0))
        return value < 0 ? INT32_MIN : 0;
    return value < 2147483648.0 ? int32_t(value) : INT32_MAX;
}

void showCount(GCounterTextNode* counter, int32_t value) {
    if (counter != nullptr)
        counter->setEndValue(value);
}

void showGrouped(TextNode* text, int32_t value) {
    if (text != nullptr)
        text->setText(formatGroupedInt(value, thousandsDelimiter));
}

// The comic that opens the act after a level ending one; none for other levels.
const char16_t* comicAfter(int32_t lastCompleted) {
    switch (lastCompleted) {
    case 10:
        return u"scenes/ComicsScene2.qscn";
    case 21:
        return u"scenes/ComicsScene3.qscn";
    case 32:
        return u"scenes/ComicsScene4.qscn";
    default:
        return nullptr;
    }
}

} // namespace

GLevelCompletedScene::GLevelCompletedScene(const CContentKey& key, BaseNode* parent,
                                           SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

GLevelCompletedScene::~GLevelCompletedScene() = default;

void GLevelCompletedScene::OnLoaded() {
    BaseNode* scene = findChildOf(this, "Scene");
    m_greetingText = findChildOf<TextNode>(scene, "GreatingText");
    m_solveTimeText = findChildOf<GCounterTextNode>(scene, "SolveTimeText");
    m_moneyText = findChildOf<GCounterTextNode>(scene, "MoneyText");
    m_heartsText = findChildOf<TextNode>(scene, "HeartsText");
    m_servedText = findChildOf<GCounterTextNode>(scene, "ServedText");
    m_lostText = findChildOf<GCounterTextNode>(scene, "LostText");
    m_moneyClientsText = findChildOf<GCounterTextNode>(scene, "MoneyClientsText");
    m_moneyColorsText = findChildOf<GCounterTextNode>(scene, "MoneyColorsText");
    m_moneyChainText = findChildOf<TextNode>(scene, "MoneyChainText");
    m_moneySwapText = findChildOf<TextNode>(scene, "MoneySwapText");
    m_moneyLostText = findChildOf<GCounterTextNode>(scene, "MoneyLostText");
}

void GLevelCompletedScene::setLevel(GGameLevelScene* level) {
    m_level = CRefPointer<GGameLevelScene>::share(level);
}

BaseNode* GLevelCompletedScene::getStarNode() const {
    if (!m_level || m_level->getRank() == 0)
        return nullptr;
    return findChildOf(findChildOf(const_cast<GLevelCompletedScene*>(this), "Scene"), "Star");
}

// Filled when opened, not when a screen opened over it closes.
bool GLevelCompletedScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    if (GBaseSceneNode::OnSceneSwitch(event))
        return true;
    if (event.getTo() != this)
        return false;
    if (m_level && event.getForward() == 1)
        fill(*m_level);
    return true;
}

void GLevelCompletedScene::fill(GGameLevelScene& level) {
    const uint32_t drawn = engineRandom().nextMwc();
    const int32_t rank = level.getRank();
    if (m_greetingText != nullptr) {
        CStringW key =
            rank != 0
                ? CStringW(u"%LevelCompleted_Greeting").append(int32_t(drawn % kGreetings) + 1)
                : CStringW(u"%LevelCompleted_Fail").append(int32_t(drawn & 1u) + 1);
        m_greetingText->setText(key.append(u"%"));
    }
    showCount(m_solveTimeText, level.getElapsedMs());
    showCount(m_moneyText, wholePart(level.getMoney(GGameLevelScene::kMoneyComponents)));
    showGrouped(m_heartsText, wholePart(level.getHeartsTotal()));
    showCount(m_servedText, level.getServedClients());
    showCount(m_lostText, level.getLostClients());
    fillMoney(level);
    if (rank < 0 || rank > 3)
        return;
    const CNameId state = nameOf(kRankStates[rank]);
    if (BaseNode* scene = findChildOf(this, "Scene"))
        scene->setChildrenState(state, nullptr);
    setChildrenState(state, nullptr);
}

// Clients' money shows with the other earnings, colour matches with chains and swaps.
void GLevelCompletedScene::fillMoney(const GGameLevelScene& level) {
    const auto money = [&level](int32_t component) { return double(level.getMoney(component)); };
    showCount(m_moneyClientsText, wholePart(money(5) + money(0)));
    showCount(m_moneyColorsText, wholePart(money(1) + money(2) + money(3)));
    showGrouped(m_moneyChainText, wholePart(money(2)));
    showGrouped(m_moneySwapText, wholePart(money(3)));
    showCount(m_moneyLostText, wholePart(money(4)));
}

bool GLevelCompletedScene::OnButtonPressed(CEventControlClicked& event) {
    if (GBaseSceneNode::OnButtonPressed(event))
        return true;
    const BaseNode* control = event.getNode();
    if (control == nullptr)
        return false;
    const CNameId name = control->getName();
    if (name == nameOf("NextButton"))
        goNext();
    else if (name == nameOf("MapButton"))
        navigateBackToType(kMapSceneType, nameOf("NavBackFrom"), nameOf("NavBackTo"));
    else if (name == nameOf("RestartButton"))
        navigateBackToType(kLoadingSceneType, nameOf("None"), nameOf("NavBackTo"));
    else
        return false;
    return true;
}

// After the last level the final credits take the player to the main menu; the request for
// the map that follows is then refused, as this screen is already leaving. A level that ends
// an act, completed for the first time, opens the next act's comic over the map.
void GLevelCompletedScene::goNext() {
    CProfileParameters* player = currentPlayer();
    if (player != nullptr && player->getInt("LastCompletedLevelIndex") == kLastLevel &&
        (player->getBool("ShowFinalCredits") || developerMode)) {
        player->setBool("ShowFinalCredits", false);
        player->notifyChanged();
        navigateBackToType(GMainMenuScene::kTypeId, nameOf("NavBackFrom"), nameOf("NavBackTo"));
    }
    navigateBackToType(kMapSceneType, nameOf("NavBackFrom"), nameOf("NavBackTo"));
    if (player == nullptr)
        return;
    const bool firstCompletion = int64_t(player->getInt("LevelIndex")) ==
                                 int64_t(player->getInt("MaxUnlockedLevelIndex")) + 1;
    const char16_t* comic = comicAfter(player->getInt("LastCompletedLevelIndex"));
    SceneManager* manager = getSceneManager();
    SceneNode* current = manager != nullptr ? manager->getCurrentScene() : nullptr;
    if ((firstCompletion || developerMode) && comic != nullptr && current != nullptr)
        current->openSceneFile(comic, false, nameOf("NavFrom"), nameOf("NavTo"));
}
