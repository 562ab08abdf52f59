#include "game/screens/ComicsScene.h"

#include "engine/io/ProfileManager.h"
#include "engine/platform/InputEvents.h"
#include "engine/ui/ControlKeys.h"
#include "game/screens/SceneChildren.h"

namespace {

bool isNamed(const BaseNode* node, const char* name) {
    return node->getName() == nameOf(name);
}

bool isTextBox(const BaseNode* node) {
    return isNamed(node, "TextBg") || isNamed(node, "TextBgShowAtStart") ||
           isNamed(node, "TextBgNoWait") || isNamed(node, "TextBgNoDisappear");
}

} // namespace

// Hands the comic the state reports that its parts and text boxes send to their parents, and
// nothing else: input passing those nodes is not the comic's own.
class GComicsScene::StateReports : public CEventReceiver {
public:
    explicit StateReports(GComicsScene& comic) : m_comic(&comic) {}

    void forgetComic() { m_comic = nullptr; }

    bool OnEvent(CEvent& event) override {
        if (m_comic == nullptr)
            return false;
        const CRefPointer<GComicsScene> comic = CRefPointer<GComicsScene>::share(m_comic);
        if (event.getTypeId() == CEventNodeChildrenStateFinished::Id) {
            const auto& report = static_cast<CEventNodeChildrenStateFinished&>(event);
            comic->onPartFinished(report.getNode(), report.getStateName());
        } else if (event.getTypeId() == CEventNodeChildStateFinished::Id) {
            const auto& report = static_cast<CEventNodeChildStateFinished&>(event);
            comic->onTextBoxFinished(report.getNode(), report.getStateName());
        }
        return false;
    }

private:
    GComicsScene* m_comic;
};

GComicsScene::GComicsScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager), m_reports(new StateReports(*this)) {}

GComicsScene::~GComicsScene() {
    m_reports->forgetComic();
    stopListeningToBg();
    if (m_partsNode)
        m_partsNode->getPreReceivers().eraseValue(m_reports.get());
}

void GComicsScene::OnLoaded() {
    BaseNode* scene = findChildOf(this, "Scene");
    m_darkBg = findChildOf(scene, "DarkBg");
    m_nextButton = findChildOf(scene, "NextButton");
    m_replayButton = findChildOf(scene, "ReplayButton");
    if (m_replayButton != nullptr)
        m_replayButton->setVisible(false);
    BaseNode* parts = findChildOf(scene, "Parts");
    if (parts == nullptr)
        return;
    m_partsNode = CRefPointer<BaseNode>::share(parts);
    parts->addPreReceiver(m_reports.get());
    for (uint32_t i = 0; i < parts->getChildCount(); ++i) {
        m_parts.append(parts->getChild(i));
        parts->getChild(i)->setVisible(false);
    }
}

bool GComicsScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    if (GBaseSceneNode::OnSceneSwitch(event))
        return true;
    if (event.getTo() != this)
        return false;
    playCue("ComicsMusic");
    return true;
}

bool GComicsScene::OnSceneSwitchDone(CEventSceneSwitchFinished& event) {
    if (GBaseSceneNode::OnSceneSwitchDone(event))
        return true;
    if (event.getTo() != this)
        return false;
    if ((event.getFlags() & 0xFF) == 1)
        m_partIndex = -1;
    showNextPart();
    return true;
}

void GComicsScene::stopListeningToBg() {
    if (m_listenedBg)
        m_listenedBg->getPreReceivers().eraseValue(m_reports.get());
    m_listenedBg.reset();
}

void GComicsScene::showNextPart() {
    stopListeningToBg();
    ++m_partIndex;
    if (!isPartIndex(m_partIndex)) {
        if (m_replayButton != nullptr) {
            m_replayButton->setVisible(true);
            m_replayButton->setState(nameOf("OnAppear"), nullptr, CNameId());
        }
        return;
    }
    BaseNode* part = m_parts[uint32_t(m_partIndex)];
    m_texts.clear();
    if (BaseNode* bg = findChildOf(part, "Bg")) {
        m_listenedBg = CRefPointer<BaseNode>::share(bg);
        bg->addPreReceiver(m_reports.get());
        for (uint32_t i = 0; i < bg->getChildCount(); ++i) {
            if (isTextBox(bg->getChild(i)))
                m_texts.append(bg->getChild(i));
        }
    }
    for (BaseNode* box : m_texts) {
        if (!isNamed(box, "TextBgShowAtStart"))
            box->setVisible(false);
    }
    m_textIndex = m_texts.size() != 0 && isNamed(m_texts[0], "TextBgShowAtStart") ? 0 : -1;
    m_partAppearing = true;
    part->setVisible(true);
    part->setChildrenState(nameOf("OnAppear"), nullptr);
    playCue("ComicsText");
}

void GComicsScene::advanceText() {
    if (!isPartIndex(m_partIndex))
        return;
    if (isTextIndex(m_textIndex)) {
        BaseNode* box = m_texts[uint32_t(m_textIndex)];
        if (!isNamed(box, "TextBgNoDisappear"))
            box->setState(nameOf("OnDisappear"), nullptr, CNameId());
    }
    ++m_textIndex;
    if (m_textIndex >= int32_t(m_texts.size())) {
        finishPart();
        return;
    }
    BaseNode* box = m_texts[uint32_t(m_textIndex)];
    box->setVisible(true);
    box->setState(nameOf("OnAppear"), nullptr, CNameId());
    playCue("ComicsText");
}

// The dark background comes up when the first part goes and leaves with the last, which
// brings the parts before it back (a comic of one part only darkens).
void GComicsScene::finishPart() {
    if (!isPartIndex(m_partIndex) || m_partDisappearing)
        return;
    const int32_t finished = m_partIndex;
    for (BaseNode* box : m_texts) {
        if (!isNamed(box, "TextBgNoDisappear"))
            box->setVisible(false);
    }
    m_partDisappearing = true;
    m_parts[uint32_t(finished)]->setChildrenState(nameOf("OnDisappear"), nullptr);
    if (m_darkBg == nullptr)
        return;
    const int32_t last = int32_t(m_parts.size()) - 1;
    if (finished == 0) {
        m_darkBg->setState(nameOf("OnAppear"), nullptr, CNameId());
    } else if (finished == last) {
        m_darkBg->setState(nameOf("OnDisappear"), nullptr, CNameId());
        for (int32_t i = 0; i < last; ++i) {
            m_parts[uint32_t(i)]->stopChildrenStates(false);
            m_parts[uint32_t(i)]->setChildrenState(nameOf("Unhide"), nullptr);
        }
    }
}

void GComicsScene::onPartFinished(const BaseNode* part, CNameId state) {
    if (!isPartIndex(m_partIndex) || part != m_parts[uint32_t(m_partIndex)])
        return;
    if (state == nameOf("OnAppear") && m_partAppearing) {
        m_partAppearing = false;
        advanceText();
    } else if (state == nameOf("OnDisappear") && m_partDisappearing) {
        m_partDisappearing = false;
        showNextPart();
    }
}

// A box that does not wait makes way once it has come in; the last box gone ends the part.
void GComicsScene::onTextBoxFinished(const BaseNode* box, CNameId state) {
    if (isTextIndex(m_textIndex) && box == m_texts[uint32_t(m_textIndex)]) {
        if (state == nameOf("OnAppear") &&
            (isNamed(box, "TextBgNoWait") || isNamed(box, "TextBgNoDisappear")))
            advanceText();
        return;
    }
    if (m_texts.size() != 0 && m_textIndex >= int32_t(m_texts.size()) &&
        box == m_texts[m_texts.size() - 1] && state == nameOf("OnDisappear"))
        finishPart();
}

bool GComicsScene::OnButtonPressed(CEventControlClicked& event) {
    if (GBaseSceneNode::OnButtonPressed(event))
        return true;
    const BaseNode* control = event.getNode();
    if (control != nullptr && control == m_nextButton)
        leave();
    else if (control != nullptr && control == m_replayButton)
        replay();
    else if (!m_partAppearing && !m_partDisappearing)
        advanceText();
    return true;
}

void GComicsScene::replay() {
    m_replayButton->setVisible(false);
    for (BaseNode* part : m_parts)
        part->setVisible(false);
    m_partIndex = -1;
    showNextPart();
}

// A player who has unlocked no level yet goes on into the first level, which loads in place of
// the comic.
void GComicsScene::leave() {
    CProfileParameters* player = currentPlayer();
    if (player == nullptr || player->getInt("MaxUnlockedLevelIndex") > 0) {
        navigateBack(0, nameOf("NavBackFrom"), nameOf("NavBackTo"));
        return;
    }
    player->setInt("LevelIndex", 1);
    openSceneFile(u"scenes/LoadingLevelScene.qscn", false, nameOf("NavFrom"), nameOf("NavTo"));
}

bool GComicsScene::OnKeyUp(CEventInputKeyUp& event) {
    if (GBaseSceneNode::OnKeyUp(event))
        return true;
    if (event.getVirtualKey() != kKeyEscape)
        return false;
    navigateBack(0, nameOf("NavBackFrom"), nameOf("NavBackTo"));
    return true;
}
