#include <algorithm>

#include "engine/core/Logger.h"
#include "game/app/AwardTracker.h"
#include "game/app/GameApplication.h"
#include "game/app/GameEvents.h"
#include "game/level/ClientNode.h"
#include "game/level/GameLevelScene.h"
#include "game/level/SuperPadNode.h"

// The super pad's challenge: the arrows drawn, lit one by one, answered by clicks or time-outs,
// and the clients served or sent on by the outcome.

namespace {

constexpr int32_t kDefaultArrows = 3;
constexpr int32_t kThreeRightAward = 12;
constexpr int32_t kThreeRight = 3;
// The answer slots' states by arrow number: up, right, down, left.
const char* const kArrowLetters[] = {"U", "R", "D", "L"};
constexpr int32_t kArrowLetterCount = 4;

} // namespace

void GSuperPadNode::startChallenge(const GClientNode& client) {
    m_correctCount = 0;
    m_answerCount = 0;
    if (m_answers)
        m_answers->setChildrenState(nameOf("Q"), nullptr);
    setChildrenState(nameOf("MiniAppear"), nullptr);
    drawSequence(std::min(int32_t(m_padButtons.size()), arrowCount(client)));
    showNextArrow();
}

int32_t GSuperPadNode::arrowCount(const GClientNode& client) const {
    const GQueuedClient* queued = client.getQueuedClient();
    if (queued == nullptr)
        return kDefaultArrows;
    if (queued->superPadClicks >= 1)
        return queued->superPadClicks;
    // No arrow at all would leave the client on the pad for good.
    CStringW line(u"Super pad \"");
    line.append(CStringW(getName().toString().c_str()));
    line.append(u"\": the client \"");
    line.append(CStringW(client.getName().toString().c_str()));
    line.append(u"\" asks for ");
    line.append(queued->superPadClicks);
    line.append(u" arrows; it gets 3");
    CLogger::instance()->log(line, CLogger::LevelWarning);
    return kDefaultArrows;
}

// Each button at most twice, in any order.
void GSuperPadNode::drawSequence(int32_t count) {
    CArray<int32_t> pool;
    for (uint32_t i = 0; i < m_padButtons.size(); ++i) {
        pool.append(int32_t(i));
        pool.append(int32_t(i));
    }
    m_sequence.clear();
    CRandom& random = getLevel()->getRandom();
    while (int32_t(m_sequence.size()) < count && pool.size() != 0) {
        const uint32_t index = random.next() % pool.size();
        m_sequence.append(pool[index]);
        pool.eraseAtUnordered(index);
    }
}

void GSuperPadNode::showNextArrow() {
    if (m_padButtons.size() == 0 || !isChallengeRunning())
        return;
    m_buttonsPanel->setVisible(true);
    for (uint32_t j = 0; j < m_padButtons.size(); ++j) {
        const bool lit = int32_t(j) == m_sequence[0];
        m_padButtons[j]->setChildrenState(nameOf(lit ? "MakeActive" : "MakeNormal"), nullptr);
        m_padButtons[j]->setEnabled(true);
    }
    m_remainingTime = waitTime();
    for (GClientNode* client : clientsOnPad())
        client->setCanBeHit(false);
}

// Answers

bool GSuperPadNode::isAnswer(const BaseNode* node) const {
    return isChallengeRunning() && node != nullptr && m_buttonsPanel &&
           node->getParent() == m_buttonsPanel.get();
}

bool GSuperPadNode::isRightAnswer(const BaseNode* node) const {
    const int32_t arrow = m_sequence[0];
    return arrow < int32_t(m_padButtons.size()) && m_padButtons[uint32_t(arrow)].get() == node;
}

bool GSuperPadNode::OnAnswerStarted(CEventControlClickStarted& event) {
    const CRefPointer<GSuperPadNode> self = CRefPointer<GSuperPadNode>::share(this);
    if (GGameLevelScene* level = getLevel(); level != nullptr && level->OnEvent(event))
        return true;
    if (!isAnswer(event.getNode()))
        return false;
    showAnswer(isRightAnswer(event.getNode()));
    return true;
}

bool GSuperPadNode::OnAnswerClicked(CEventControlClicked& event) {
    const CRefPointer<GSuperPadNode> self = CRefPointer<GSuperPadNode>::share(this);
    if (GGameLevelScene* level = getLevel(); level != nullptr && level->OnEvent(event))
        return true;
    if (!isAnswer(event.getNode()))
        return false;
    advance();
    return true;
}

void GSuperPadNode::showAnswer(bool right) {
    const GGameLevelScene* level = getLevel();
    const int32_t arrow = m_sequence[0];
    BaseNode* slot = m_answers && m_answerCount < int32_t(m_answers->getChildCount())
                         ? m_answers->getChild(uint32_t(m_answerCount))
                         : nullptr;
    if (right) {
        ++m_correctCount;
        if (level != nullptr)
            level->playCue(nameOf("SuperPadButtonClicked"), false);
        if (slot != nullptr && arrow < kArrowLetterCount) {
            slot->setState(nameOf(kArrowLetters[arrow]), nullptr, CNameId());
            slot->setState(nameOf("Appear"), nullptr, CNameId());
        }
    } else {
        if (level != nullptr)
            level->playCue(nameOf("SuperPadFail"), false);
        if (slot != nullptr)
            slot->setState(nameOf("W"), nullptr, CNameId());
    }
    ++m_answerCount;
}

// Outcomes

void GSuperPadNode::advance() {
    if (m_sequence.size() == 1 && m_correctCount == 0) {
        endChallenge();
        return;
    }
    m_sequence.eraseAt(0);
    if (isChallengeRunning()) {
        showNextArrow();
        return;
    }
    for (GClientNode* client : clientsOnPad())
        serve(*client);
    showOutcome();
    if (m_correctCount == kThreeRight)
        reportThreeRight();
}

void GSuperPadNode::serve(GClientNode& client) {
    const CRefPointer<GClientNode> keep = CRefPointer<GClientNode>::share(&client);
    if (const GResourceConfig* resource = client.getRequestedResource())
        client.addHearts(resource->heartsBoost);
    client.playMoodAnimation(true, false);
    client.beginService(false, 1.0f);
    client.setCanBeHit(false);
}

void GSuperPadNode::endChallenge() {
    if (!isChallengeRunning())
        return;
    m_sequence.clear();
    for (GClientNode* client : clientsOnPad()) {
        const CRefPointer<GClientNode> keep = CRefPointer<GClientNode>::share(client);
        client->playMoodAnimation(false, false);
        // Never below none: a client left without hearts leaves as one that ran out of them.
        client->addHearts(-std::min(1.0f, client->getHearts()));
        client->skipToCheckOut();
        client->setCanBeHit(true);
    }
    showOutcome();
}

void GSuperPadNode::showOutcome() {
    setChildrenState(CNameId(CString().append(m_correctCount)), nullptr);
    setChildrenState(nameOf("MiniDisappear"), nullptr);
}

void GSuperPadNode::reportThreeRight() {
    GAwardTracker* tracker =
        theApplication != nullptr ? theApplication->getAwardTracker() : nullptr;
    if (tracker == nullptr || !tracker->reportProgress(kThreeRightAward, 1))
        return;
    const CRefPointer<CEvent> event(new GAwardEarnedEvent(kThreeRightAward));
    sendToParent(RouteSelfThenParents, *event);
}
