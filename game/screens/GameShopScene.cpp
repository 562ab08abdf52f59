#include "game/screens/GameShopScene.h"

#include "engine/audio/SoundPlayer.h"
#include "engine/core/Engine.h"
#include "engine/io/ContentManager.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/io/ProfileManager.h"
#include "engine/io/XmlTextReader.h"
#include "engine/scene/ControlNode.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TextNode.h"
#include "game/app/GameApplication.h"
#include "game/app/LevelConfig.h"
#include "game/app/UpgradeCatalog.h"
#include "game/level/GameLevelScene.h"
#include "game/level/HeroNode.h"
#include "game/level/LocationNode.h"
#include "game/level/StaffNode.h"
#include "game/screens/GamePlayScene.h"
#include "game/screens/SceneChildren.h"
#include "game/screens/ShopListNode.h"
#include "game/screens/TutorialController.h"

namespace {

constexpr int32_t kLevelSoundGroup = 2;
constexpr int32_t kActLength = 11;
constexpr uint32_t kEscape = 27;
constexpr uint32_t kNumpadPlus = 107;
constexpr int32_t kCheatMoney = 10000;

SceneManager* levelManager() {
    return theApplication != nullptr ? theApplication->getLevelSceneManager() : nullptr;
}

// Each later location plays the first one's appearing and disappearing in the shop.
void shareShopStates(const CArray<CRefPointer<GLocationNode>>& locations) {
    if (locations.size() < 2)
        return;
    for (const char* name : {"ShopAppear", "ShopDisappear"}) {
        const NodeState* state = locations[0]->findState(nameOf(name));
        if (state == nullptr)
            continue;
        for (uint32_t i = 1; i < locations.size(); ++i)
            locations[i]->addState(state->clone(locations[i].get(), nullptr).get());
    }
}

void appendPair(CString& text, CNameId first, CNameId second) {
    if (!text.isEmpty())
        text.append(";");
    text.append(first.toString()).append(";");
    text.append(second != CNameId() ? second.toString() : CString("None"));
}

} // namespace

GGameShopScene::GGameShopScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {
    setCategoryMask(getCategoryMask() | CEvent::CategoryGame);
}

// A screen that took the level over keeps it; otherwise the level closes with the shop.
GGameShopScene::~GGameShopScene() {
    endTutorial();
    m_catalog.reset();
    m_level.reset();
    SceneManager* manager = levelManager();
    if (manager != nullptr && m_sceneRoot != nullptr && manager->getParent() == m_sceneRoot)
        manager->openScene(nullptr, CNameId());
}

void GGameShopScene::OnLoaded() {
    m_sceneRoot = findChildOf(this, "Scene");
    BaseNode* menu = findChildOf(m_sceneRoot, "Menu");
    BaseNode* money = findChildOf(menu, "Money");
    m_moneyText = findChildOf<TextNode>(money, "MoneyText");
    m_levelText = findChildOf<TextNode>(money, "LevelText");
    m_continueButton = findChildOf<ControlNode>(menu, "ContinueButton");
    m_skipTutorialButton = findChildOf(menu, "SkipTutorialButton");
    m_itemsList = findChildOf<GShopListNode>(menu, "ItemsList");
    m_hintNode = findChildOf(m_sceneRoot, "HintNode");
    m_boughtText = findChildOf(m_sceneRoot, "BoughtText");
}

GLevelConfig* GGameShopScene::levelConfig() const {
    return m_level ? m_level->getLevelConfig() : nullptr;
}

int32_t GGameShopScene::levelIndex() const {
    return levelConfig() != nullptr ? levelConfig()->levelIndex : 0;
}

int32_t GGameShopScene::settingIndex() const {
    return levelConfig() != nullptr ? levelConfig()->settingIndex : 0;
}

// The loading screen hands the level over before the shop is in its manager: the menus'
// manager's engine stands in.
CEngine* GGameShopScene::engine() const {
    if (CEngine* own = getEngine())
        return own;
    const SceneManager* menus =
        theApplication != nullptr ? theApplication->getSceneManager() : nullptr;
    return menus != nullptr ? menus->getEngine() : nullptr;
}

CProfileParameters* GGameShopScene::player() const {
    CEngine* engine = this->engine();
    CProfileManager* profiles = engine != nullptr ? engine->getProfileManager() : nullptr;
    return profiles != nullptr ? profiles->getActiveProfile() : nullptr;
}

bool GGameShopScene::setLevel(GGameLevelScene* level, UpgradeCatalog* catalog) {
    if (m_sceneRoot == nullptr)
        return false;
    m_level = CRefPointer<GGameLevelScene>::share(level);
    if (m_level)
        shareShopStates(m_level->getLocations());
    if (m_skipTutorialButton != nullptr)
        m_skipTutorialButton->setVisible(false);
    CProfileParameters* active = player();
    if (active != nullptr && active->getBool("ShowTutorialOn"))
        startShopTutorial();
    m_catalog = CRefPointer<UpgradeCatalog>::share(catalog);
    return true;
}

void GGameShopScene::startShopTutorial() {
    endTutorial();
    const CString name = CString("ShopLevel").append(levelIndex());
    if (!developerMode && player()->getBool(CString("ShownTutorial") + name))
        return;
    IVirtualFileSystem* files = engine() != nullptr ? engine()->getFileSystem() : nullptr;
    const CRefPointer<CXmlTextReader> reader =
        files != nullptr
            ? files->openXmlReader(CStringW(u"levels/tutorials/") + name.c_str() + u".xml")
            : nullptr;
    if (!reader)
        return;
    const SceneManager* menus = theApplication->getSceneManager();
    m_tutorial = CRefPointer<GTutorialController>(new GTutorialController(
        m_sceneRoot, menus != nullptr ? menus->getTemplateCollection() : nullptr,
        theApplication->getContentManager()));
    m_tutorial->loadScript(*reader, m_level.get());
    m_tutorial->attachTo(*this);
    if (m_level) {
        m_tutorial->attachTo(*m_level);
        m_level->setTutorialQueueMode(true);
        m_level->setTutorial(m_tutorial->getScript());
    }
    if (m_skipTutorialButton != nullptr)
        m_skipTutorialButton->setVisible(true);
}

void GGameShopScene::endTutorial() {
    if (!m_tutorial)
        return;
    m_tutorial->detach();
    if (m_level) {
        m_level->setTutorialQueueMode(false);
        m_level->setTutorial(nullptr);
    }
    m_tutorial.reset();
}

bool GGameShopScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    if (GBaseSceneNode::OnSceneSwitch(event))
        return true;
    CSoundPlayer* sound = getSoundPlayer();
    if (event.getFrom() == this) {
        if (m_level && m_level->getClock() != nullptr)
            m_level->getClock()->setEnabled(false);
        if (sound != nullptr)
            sound->setGroupVolume(m_savedLevelVolume, kLevelSoundGroup);
        return false;
    }
    if (event.getTo() != this)
        return false;
    if (sound != nullptr) {
        m_savedLevelVolume = sound->getGroupVolume(kLevelSoundGroup);
        sound->setGroupVolume(0.0f, kLevelSoundGroup);
        sound->playCue(CNameId(CString("GameMusicSetting").append(settingIndex())), true, 0);
    }
    if (event.getForward() != 0)
        attachLevel();
    if (m_level && m_level->getClock() != nullptr)
        m_level->getClock()->setEnabled(true);
    return true;
}

void GGameShopScene::attachLevel() {
    SceneManager* manager = levelManager();
    if (m_sceneRoot != nullptr && manager != nullptr) {
        m_sceneRoot->addChild(manager, nullptr);
        if (m_level) {
            m_level->setScene(manager, this);
            m_level->setClientGenerationPaused(true);
            m_level->setMode(1);
            m_level->applyUpgrades(m_catalog.get(), true);
        }
    }
    computeMoney();
    updateMoneyText();
    refreshShopState(true);
    if (m_levelText != nullptr && m_level)
        m_levelText->setText(CStringW()
                                 .append(settingIndex())
                                 .append(u".")
                                 .append((levelIndex() - 1) % kActLength + 1));
}

bool GGameShopScene::OnSceneSwitchDone(CEventSceneSwitchFinished& event) {
    if (GBaseSceneNode::OnSceneSwitchDone(event))
        return true;
    if (event.getTo() != this)
        return false;
    if ((event.getFlags() & 0xFF) != 0 && m_tutorial) {
        // Once per player, as every other tutorial.
        if (CProfileParameters* active = player())
            active->setBool(CString("ShownTutorialShopLevel").append(levelIndex()), true);
        m_tutorial->start();
    }
    return true;
}

bool GGameShopScene::OnUpdate(uint32_t elapsedMs) {
    GBaseSceneNode::OnUpdate(elapsedMs);
    const SceneManager* manager = getSceneManager();
    if (m_tutorial && manager != nullptr && manager->getCurrentScene() == this &&
        !m_tutorial->OnUpdate(elapsedMs)) {
        endTutorial();
        if (m_skipTutorialButton != nullptr)
            m_skipTutorialButton->setVisible(false);
    }
    return true;
}

bool GGameShopScene::OnKeyUp(CEventInputKeyUp& event) {
    if (GBaseSceneNode::OnKeyUp(event))
        return true;
    if (event.getVirtualKey() == kEscape)
        return true;
    if (event.getVirtualKey() == kNumpadPlus && developerMode) {
        m_money += kCheatMoney;
        updateMoneyText();
        rebuildOffers();
        return true;
    }
    return false;
}

bool GGameShopScene::OnButtonPressed(CEventControlClicked& event) {
    if (GBaseSceneNode::OnButtonPressed(event))
        return true;
    const BaseNode* button = event.getNode();
    if (button == nullptr)
        return false;
    if (button->getName() == nameOf("ContinueButton"))
        return continueToLevel();
    if (button->getName() == nameOf("MenuButton")) {
        // The loading screen behind would load the level again.
        navigateBack(1, nameOf("NavBackFrom"), nameOf("NavBackTo"));
        return true;
    }
    if (button->getName() == nameOf("SkipTutorialButton") && m_tutorial) {
        if (m_skipTutorialButton != nullptr)
            m_skipTutorialButton->setVisible(false);
        m_tutorial->skip();
        if (CProfileParameters* active = player())
            active->setBool("ShowTutorialOn", false);
    }
    return false;
}

bool GGameShopScene::continueToLevel() {
    const CRefPointer<CContent> loaded = theApplication->getContentManager()->load(
        contentType("snod"), u"scenes/GamePlayScene.qscn", true);
    auto* node = static_cast<BaseNode*>(loaded.get());
    if (node == nullptr || !node->isKindOf(GGamePlayScene::kTypeId))
        return false;
    const CRefPointer<GGamePlayScene> play =
        CRefPointer<GGamePlayScene>::share(static_cast<GGamePlayScene*>(node));
    storePurchases();
    if (m_level && m_level->getBackground() != nullptr) {
        BaseNode& background = *m_level->getBackground();
        for (uint32_t i = 0; i < background.getChildCount(); ++i)
            background.getChild(i)->setTintColor(CColor(0xFFFFFFFF));
    }
    endTutorial();
    if (SceneManager* manager = levelManager(); manager != nullptr && manager->getParent())
        manager->getParent()->removeChild(manager);
    play->setLevel(m_level.get(), m_catalog.get());
    openScene(play.get(), false, nameOf("NavFrom"), nameOf("NavTo"));
    m_level.reset();
    return true;
}

void GGameShopScene::storePurchases() const {
    CProfileParameters* active = player();
    if (active == nullptr || !m_level)
        return;
    const CString prefix = CString("Level").append(levelIndex());
    CString locations;
    for (const CRefPointer<GLocationNode>& location : m_level->getLocations())
        appendPair(locations, location->getName(),
                   location->getConfig() != nullptr ? location->getConfig()->name : CNameId());
    CString staff;
    auto currentType = [this](CNameId slot) {
        const GUpgradeItem* current = nullptr;
        const GUpgradeItem* next = nullptr;
        return m_catalog && m_catalog->getCurrentAndNext(slot, current, next) ? current->type
                                                                              : CNameId();
    };
    for (const GObjectRef<GStaffNode>& member : m_level->getStaff())
        if (member)
            appendPair(staff, member->getName(), currentType(member->getName()));
    if (GHeroNode* hero = m_level->getHero())
        appendPair(staff, hero->getName(), currentType(hero->getName()));
    CString environment;
    for (CNameId slot : environmentSlots())
        appendPair(environment, slot, currentType(slot));
    active->setString(CString(prefix).append("Locations"), locations);
    active->setString(CString(prefix).append("Staff"), staff);
    active->setString(CString(prefix).append("Env"), environment);
}
