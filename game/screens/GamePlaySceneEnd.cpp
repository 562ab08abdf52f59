#include "engine/audio/SoundPlayer.h"
#include "engine/io/ContentManager.h"
#include "engine/io/ProfileManager.h"
#include "engine/scene/SceneManager.h"
#include "game/app/AwardTracker.h"
#include "game/app/GameApplication.h"
#include "game/app/GameEvents.h"
#include "game/app/LevelConfig.h"
#include "game/level/GameLevelScene.h"
#include "game/screens/AwardUnlockedScene.h"
#include "game/screens/GamePlayScene.h"
#include "game/screens/LevelCompletedScene.h"
#include "game/screens/SceneChildren.h"

namespace {

constexpr int32_t kLastLevel = 43;
constexpr int32_t kActLength = 11;
constexpr int32_t kLostComponent = 4;
constexpr int32_t kAwardCount = 17;

// Places 10 and 11 end an act: the next level opens the next act.
int32_t nextLevelAfter(int32_t level) {
    if ((level - 1) % kActLength + 1 >= 10)
        return (level / kActLength + 1) * kActLength + 1;
    return level + 1;
}

CRefPointer<BaseNode> loadScene(const char16_t* file) {
    CContentManager* content =
        theApplication != nullptr ? theApplication->getContentManager() : nullptr;
    if (content == nullptr)
        return nullptr;
    const CRefPointer<CContent> loaded = content->load(contentType("snod"), file, true);
    return CRefPointer<BaseNode>::share(static_cast<BaseNode*>(loaded.get()));
}

} // namespace

bool GGamePlayScene::OnLevelFinished(GLevelFinishedEvent& event) {
    finishLevel(event.isPassed());
    return true;
}

bool GGamePlayScene::OnAwardEarned(GAwardEarnedEvent& event) {
    if (event.getAward() < 0 || event.getAward() >= kAwardCount)
        return true;
    m_awardQueue.append(event.getAward());
    showNextAwardPopup();
    if (GAwardTracker* tracker =
            theApplication != nullptr ? theApplication->getAwardTracker() : nullptr)
        tracker->save();
    return true;
}

bool GGamePlayScene::finishLevel(bool passed) {
    if (!m_levelEndDone) {
        m_levelEndDone = true;
        if (m_level)
            m_level->onLevelFinished();
        if (passed && m_level)
            bookLevelEnd();
    }
    if (!showNextAwardPopup() && isCurrentScene())
        return openResults();
    return false;
}

void GGamePlayScene::bookLevelEnd() {
    CProfileParameters* active = player();
    if (active == nullptr)
        return;
    const int32_t played = active->getInt("LevelIndex");
    active->setInt("LastCompletedLevelIndex", played);
    if (active->getInt("MaxUnlockedLevelIndex") < played && played < kLastLevel) {
        const int32_t next = nextLevelAfter(played);
        active->setInt("LevelIndex", next);
        active->setInt("MaxUnlockedLevelIndex", next - 1);
    }
    const GLevelConfig* config = levelConfig();
    const int32_t configIndex = config != nullptr ? config->levelIndex : played;
    CString key("Level");
    key.append(configIndex).append("Stats");
    CString stats;
    stats.append(int32_t(m_level->getMoney(GGameLevelScene::kMoneyComponents)))
        .append(";")
        .append(m_level->getElapsedMs())
        .append(";")
        .append(int32_t(m_level->getHeartsTotal()));
    active->setString(key, stats);

    if (m_level->getLostClients() == 0)
        reportAward(14, 1);
    if (m_level->getRank() == 3)
        reportAward(1, 1);
    else if (m_level->getRank() == 2)
        reportAward(2, 1);
    if (configIndex == kLastLevel)
        reportAward(0, 1);
    reportAward(16, m_level->getMoney(kLostComponent) == 0.0f ? 1 : 0);
    if (GAwardTracker* tracker =
            theApplication != nullptr ? theApplication->getAwardTracker() : nullptr)
        tracker->save();
}

// Results only once the end is booked and the level is done.
bool GGamePlayScene::isResultsDue() const {
    return m_levelEndDone && m_level && m_level->isFinishedPosted();
}

bool GGamePlayScene::isEndScreenDue() const {
    return m_awardQueue.size() != 0 || isResultsDue();
}

bool GGamePlayScene::showNextAwardPopup() {
    if (m_awardQueue.size() == 0)
        return false;
    if (!isCurrentScene())
        return true;
    const int32_t award = m_awardQueue[0];
    m_awardQueue.eraseAt(0);
    const CRefPointer<BaseNode> popup = loadScene(u"scenes/NewAwardScene.qscn");
    if (!popup || !popup->isKindOf(GAwardUnlockedScene::kTypeId))
        return false;
    auto* scene = static_cast<GAwardUnlockedScene*>(popup.get());
    scene->setAward(award);
    return openScene(scene, true, nameOf("NavFrom"), nameOf("NavTo"));
}

bool GGamePlayScene::openResults() {
    const CRefPointer<BaseNode> loaded = loadScene(u"scenes/LevelCompletedScene.qscn");
    if (!loaded || !loaded->isKindOf(GLevelCompletedScene::kTypeId))
        return false;
    auto* results = static_cast<GLevelCompletedScene*>(loaded.get());
    results->setLevel(m_level.get());
    if (!openScene(results, true, nameOf("NavFrom"), nameOf("NavTo")))
        return false;
    if (CSoundPlayer* sound = getSoundPlayer())
        sound->playCue(nameOf(m_level && m_level->getRank() != 0 ? "LevelWon" : "LevelLost"));
    return true;
}
