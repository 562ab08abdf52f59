#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefPointer.h"
#include "engine/scene/ControlEvents.h"
#include "engine/scene/NodeClass.h"
#include "game/level/LocationNode.h"
#include "game/screens/EllipseSectorNode.h"

// A dance pad that serves its clients through a reaction challenge: when a client steps on the
// empty pad, arrows light its pad buttons one by one and the player clicks the lit one before
// the time per arrow runs out. At least one right answer serves the clients, who pay by the
// share of right answers; all wrong, they lose a heart and move on to the check-out. Clients
// who step on during a challenge share its outcome; one who steps on after it has ended is
// served at the next tick without one.
//
// Its template holds "Buttons" (the pad buttons: its controls, arrow number by child order, and
// a GEllipseSectorNode "Progress" filling as the time runs out), "Answers" (a slot per answer,
// shown by the states "Q", "U", "R", "D", "L", "W" and "Appear"), "Lights" ("Idle", "Action")
// and "Pads" ("Off", "Action"). The pad's own children play "MiniAppear", the count of right
// answers ("0", "1", ...) and "MiniDisappear".
class GSuperPadNode : public NodeClass<GSuperPadNode, GLocationNode> {
public:
    static constexpr uint32_t kTypeId = 1159;
    static constexpr const char16_t* kTypeName = u"GSuperPadNode";
    // Half the distance between two clients on the pad.
    static constexpr float kClientShift = 30;

    GSuperPadNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const EventMap& getEventMap();

    void applyTemplate() override;
    // Input goes to the pad buttons too, which live in the template.
    bool sendToChildren(int32_t mode, CEvent& event) override;
    // Stands still while the level is paused, like every location.
    bool OnUpdate(uint32_t elapsedMs) override;
    // The feedback of a click, at its start.
    virtual bool OnAnswerStarted(CEventControlClickStarted& event);
    // The step to the next arrow, once the click's "Press" has played.
    virtual bool OnAnswerClicked(CEventControlClicked& event);

    bool keepsWaitingClients() const override { return true; }
    // The first client on an empty pad starts a challenge.
    void addClient(GCharacterNode* client) override;
    void removeClient(GCharacterNode* client) override;
    // A running challenge ends as failed.
    void clearClients() override;
    // Up to the configuration's MaxServingClients, whatever the state.
    bool canTakeClient() const override;
    // The share of right answers; 1 before any answer.
    float getMoneyFactor() const override;
    using GLocationNode::getActionClientMountPoint;
    using GLocationNode::getClientMountPoint;
    CVector2d getClientMountPoint(const GClientNode& client) const override;
    CVector2d getActionClientMountPoint(const GClientNode& client) const override;
    using NodeClass::setState;
    // Ready: the lights idle and the pads off; in action: both "Action".
    void setState(int32_t state) override;

    bool isChallengeRunning() const { return m_sequence.size() != 0; }
    // The arrow numbers still to answer, the current one first.
    const CArray<int32_t>& getSequence() const { return m_sequence; }
    int32_t getCorrectCount() const { return m_correctCount; }
    int32_t getAnswerCount() const { return m_answerCount; }
    int32_t getRemainingTime() const { return m_remainingTime; }
    BaseNode* getButtonsPanel() const { return m_buttonsPanel.get(); }
    const CArray<CRefPointer<ControlNode>>& getPadButtons() const { return m_padButtons; }
    GEllipseSectorNode* getProgressPie() const { return m_progressPie.get(); }
    BaseNode* getAnswers() const { return m_answers.get(); }
    BaseNode* getLights() const { return m_lights.get(); }
    BaseNode* getPads() const { return m_pads.get(); }

protected:
    ~GSuperPadNode() override = default;

private:
    void startChallenge(const GClientNode& client);
    // How many arrows the client's queue record asks for; 3 without one.
    int32_t arrowCount(const GClientNode& client) const;
    void drawSequence(int32_t count);
    void showNextArrow();
    void showAnswer(bool right);
    void advance();
    void endChallenge();
    void showOutcome();
    void reportThreeRight();
    // Hearts boost, pleased, served at full speed.
    static void serve(GClientNode& client);
    void placeClients();
    // The first client on the left, the others on the right, when there are several.
    CVector2d spread(CVector2d point, const GClientNode& client) const;
    // The challenge runs and the node is one of the panel's children.
    bool isAnswer(const BaseNode* node) const;
    bool isRightAnswer(const BaseNode* node) const;
    int32_t waitTime() const;
    CArray<GClientNode*> clientsOnPad() const;

    CRefPointer<BaseNode> m_buttonsPanel;
    CArray<CRefPointer<ControlNode>> m_padButtons;
    CRefPointer<GEllipseSectorNode> m_progressPie;
    CRefPointer<BaseNode> m_answers;
    int32_t m_remainingTime = 0;
    CArray<int32_t> m_sequence;
    int32_t m_correctCount = 0;
    int32_t m_answerCount = 0;
    CArray<GObjectRef<GClientNode>> m_releaseList;
    CRefPointer<BaseNode> m_lights;
    CRefPointer<BaseNode> m_pads;
};
