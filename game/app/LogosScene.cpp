#include "game/app/LogosScene.h"

#include "engine/core/Engine.h"
#include "engine/core/EngineServices.h"
#include "engine/core/Properties.h"
#include "engine/io/ContentManager.h"
#include "engine/io/Dictionary.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/io/ProfileManager.h"
#include "engine/video/AtlasTexture.h"
#include "game/app/AwardTracker.h"
#include "game/app/GameApplication.h"
#include "game/app/LogoList.h"

char16_t thousandsDelimiter = u',';

namespace {

// The caption when the dictionary gives the title no text.
constexpr const char16_t* kDefaultTitle = u"Velmora";
// The last logo stays this long on the back sprite before the intro opens.
constexpr int32_t kLastLogoMs = 1000;

CNameId stateName(const char* name) {
    return CNameId(CString(name));
}

CRefPointer<SpriteNode> findSprite(BaseNode* parent, const char* name) {
    BaseNode* node = parent != nullptr ? parent->findChild(stateName(name), 1) : nullptr;
    if (node == nullptr || !node->isKindOf(SpriteNode::kTypeId))
        return CRefPointer<SpriteNode>();
    return CRefPointer<SpriteNode>::share(static_cast<SpriteNode*>(node));
}

} // namespace

GLogosScene::GLogosScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

void GLogosScene::OnLoaded() {
    BaseNode* scene = findChild(stateName("Scene"), 1);
    m_backSprite = findSprite(scene, "Logo1");
    m_frontSprite = findSprite(scene, "Logo2");
}

bool GLogosScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    GBaseSceneNode::OnSceneSwitch(event);
    if (event.getTo() != this)
        return false;
    prepareTexts();
    return true;
}

bool GLogosScene::OnSceneSwitchDone(CEventSceneSwitchFinished& event) {
    GBaseSceneNode::OnSceneSwitchDone(event);
    if (event.getTo() != this)
        return false;
    showNextLogo();
    return true;
}

void GLogosScene::prepareTexts() {
    CEngine* engine = getEngine();
    if (engine == nullptr)
        return;
    CProfileManager* profiles = engine->getProfileManager();
    if (CProfileParameters* player = profiles ? profiles->getActiveProfile() : nullptr) {
        GAwardTracker* awards = theApplication->getAwardTracker();
        awards->loadProgress(player->getStringW("AchievementsProgress"));
        awards->loadViewState(player->getStringW("AchievementsViewState"));
    }
    CDictionary& dictionary = *CEngineServices::instance()->getDictionary();
    if (const CRefPointer<CXmlTextReader> reader =
            engine->getFileSystem()->openXmlReader(u"strings/Dictionary.xml"))
        dictionary.readXml(reader.get());
    CStringW title = dictionary.lookup("TitleName");
    if (title.isEmpty())
        title = kDefaultTitle;
    setPropertyStringW(*engine->getGlobalProperties(), "TitleCaption", title);
    engine->setWindowCaption(title);
    const CStringW delimiter = dictionary.expandKeys(u"%ThousandsDelimiter%");
    thousandsDelimiter =
        delimiter.isEmpty() || delimiter == u"%ThousandsDelimiter%" ? u' ' : delimiter.c_str()[0];
}

// The front sprite shows the new logo; the one it showed moves to the back sprite, which
// fades it out.
void GLogosScene::showNextLogo() {
    CArray<LogoEntry>& logos = theApplication->getLogoList()->getLogos();
    if (logos.size() == 0) {
        if (m_frontSprite) {
            passFrontImageBack();
            m_frontSprite->setImage(nullptr);
        }
        m_finished = true;
        m_remainingMs = kLastLogoMs;
        return;
    }
    const LogoEntry logo = logos[0];
    logos.eraseAt(0);
    const CRefPointer<CContent> image =
        theApplication->getContentManager()->loadAtlasTexture(CStringW(logo.image.c_str()), true);
    // Below 0 it would show one tick all the same, and the count down could not overflow.
    m_remainingMs = logo.timeMs > 0 ? logo.timeMs : 0;
    m_skippable = logo.skippable;
    if (!m_frontSprite)
        return;
    const bool first = m_frontSprite->getImage() == nullptr;
    passFrontImageBack();
    m_frontSprite->setState(stateName(first ? "Swap0" : "Swap"), nullptr, CNameId());
    m_frontSprite->setImage(static_cast<CAtlasTexture*>(image.get()));
}

void GLogosScene::passFrontImageBack() {
    if (!m_backSprite)
        return;
    m_backSprite->setState(stateName("Swap"), nullptr, CNameId());
    m_backSprite->setImage(m_frontSprite->getImage());
}

bool GLogosScene::OnUpdate(uint32_t elapsedMs) {
    GBaseSceneNode::OnUpdate(elapsedMs);
    m_remainingMs -= int32_t(elapsedMs);
    if (m_remainingMs >= 0)
        return true;
    if (theApplication->getLogoList()->getLogos().size() != 0 || !m_finished) {
        showNextLogo();
        return true;
    }
    openSceneFile(u"scenes/IntroScene.qscn", false, stateName("NavFrom"), stateName("NavTo"));
    return false;
}

bool GLogosScene::sendToChildren(int32_t mode, CEvent& event) {
    if (event.getTypeId() == CEventInputMouseLeftDown::Id)
        return skipLogo();
    return GBaseSceneNode::sendToChildren(mode, event);
}

bool GLogosScene::skipLogo() {
    if (m_skippable) {
        m_remainingMs = 0;
        m_skippable = false;
    }
    return true;
}
