#include "game/level/SuperPadNode.h"

#include <cmath>

#include "engine/scene/NodeEventHook.h"
#include "game/level/ClientNode.h"
#include "game/level/GameLevelScene.h"

namespace {

constexpr int32_t kDefaultWaitMs = 5000;

template <typename Node>
CRefPointer<Node> held(Node* node) {
    return CRefPointer<Node>::share(node);
}

} // namespace

GSuperPadNode::GSuperPadNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

const EventMap& GSuperPadNode::getEventMap() {
    static const EventMapEntry own[] = {
        eventHook<&GSuperPadNode::OnAnswerStarted>(),
        eventHook<&GSuperPadNode::OnAnswerClicked>(),
    };
    static const EventMap map = buildEventMap(GLocationNode::getEventMap(), own);
    return map;
}

void GSuperPadNode::applyTemplate() {
    m_buttonsPanel = nullptr;
    m_padButtons.clear();
    m_progressPie = nullptr;
    m_answers = nullptr;
    m_lights = nullptr;
    m_pads = nullptr;
    if (getSceneManager() == nullptr)
        return;
    GLocationNode::applyTemplate();
    const ControlNode* root = getTemplateRoot();
    if (root == nullptr)
        return;
    m_buttonsPanel = held(root->findChild(nameOf("Buttons"), 1));
    if (m_buttonsPanel) {
        for (uint32_t i = 0; i < m_buttonsPanel->getChildCount(); ++i) {
            if (ControlNode* button = asControlNode(m_buttonsPanel->getChild(i)))
                m_padButtons.append(held(button));
        }
        BaseNode* pie = m_buttonsPanel->findChild(nameOf("Progress"), 1);
        if (pie != nullptr && pie->isKindOf(GEllipseSectorNode::kTypeId))
            m_progressPie = held(static_cast<GEllipseSectorNode*>(pie));
    }
    m_answers = held(root->findChild(nameOf("Answers"), 1));
    m_lights = held(root->findChild(nameOf("Lights"), 1));
    m_pads = held(root->findChild(nameOf("Pads"), 1));
}

bool GSuperPadNode::sendToChildren(int32_t mode, CEvent& event) {
    if (GLocationNode::sendToChildren(mode, event))
        return true;
    const CRefPointer<BaseNode> panel = m_buttonsPanel;
    return panel && panel->deliver(mode, event);
}

// Clients

CArray<GClientNode*> GSuperPadNode::clientsOnPad() const {
    CArray<GClientNode*> found;
    for (const GObjectRef<GCharacterNode>& entry : getClients()) {
        if (GClientNode* client = asGClientNode(entry.get()))
            found.append(client);
    }
    return found;
}

void GSuperPadNode::addClient(GCharacterNode* client) {
    const CRefPointer<GSuperPadNode> self = CRefPointer<GSuperPadNode>::share(this);
    GLocationNode::addClient(client);
    const CArray<GClientNode*> clients = clientsOnPad();
    GClientNode* newcomer = asGClientNode(client);
    // Without buttons to light there is no challenge: the pad serves like any other.
    if (m_padButtons.size() != 0 && getLevel() != nullptr && newcomer != nullptr &&
        clients.size() <= 1) {
        startChallenge(*newcomer);
    } else if (clients.size() != 0 && !isChallengeRunning()) {
        m_releaseList.append(clients[clients.size() - 1]);
    }
    placeClients();
}

void GSuperPadNode::removeClient(GCharacterNode* client) {
    const CRefPointer<GSuperPadNode> self = CRefPointer<GSuperPadNode>::share(this);
    GLocationNode::removeClient(client);
    placeClients();
}

void GSuperPadNode::clearClients() {
    GLocationNode::clearClients();
    endChallenge();
}

void GSuperPadNode::placeClients() {
    for (GClientNode* client : clientsOnPad())
        client->placeAtLocation();
}

bool GSuperPadNode::canTakeClient() const {
    const GLocationConfig* config = getConfig();
    return config != nullptr && int32_t(clientsOnPad().size()) < config->maxServingClients;
}

float GSuperPadNode::getMoneyFactor() const {
    return m_answerCount != 0 ? float(m_correctCount) / float(m_answerCount) : 1.0f;
}

CVector2d GSuperPadNode::getClientMountPoint(const GClientNode& client) const {
    return spread(GLocationNode::getClientMountPoint(client), client);
}

CVector2d GSuperPadNode::getActionClientMountPoint(const GClientNode& client) const {
    return spread(GLocationNode::getActionClientMountPoint(client), client);
}

CVector2d GSuperPadNode::spread(CVector2d point, const GClientNode& client) const {
    const CArray<GClientNode*> clients = clientsOnPad();
    if (clients.size() > 1)
        point.x += clients[0] == &client ? -kClientShift : kClientShift;
    return point;
}

void GSuperPadNode::setState(int32_t state) {
    GLocationNode::setState(state);
    const auto show = [](const CRefPointer<BaseNode>& node, const char* name) {
        if (node)
            node->setChildrenState(nameOf(name), nullptr);
    };
    if (state == kStateReady) {
        show(m_lights, "Idle");
        show(m_pads, "Off");
    } else if (state == kStateInAction) {
        show(m_lights, "Action");
        show(m_pads, "Action");
    }
}

// The tick

bool GSuperPadNode::OnUpdate(uint32_t elapsedMs) {
    if (getParent() == nullptr || getScene() == nullptr)
        return false;
    const GGameLevelScene* level = getLevel();
    if (level != nullptr && level->isPaused())
        return true;
    const CRefPointer<GSuperPadNode> self = CRefPointer<GSuperPadNode>::share(this);
    const CArray<GObjectRef<GClientNode>> due = m_releaseList;
    m_releaseList.clear();
    for (const GObjectRef<GClientNode>& client : due) {
        if (client)
            serve(*client.get());
    }
    if (!GLocationNode::OnUpdate(elapsedMs))
        return false;
    if (!isChallengeRunning())
        return true;
    m_remainingTime -= int32_t(elapsedMs);
    const int32_t wait = waitTime();
    if (m_progressPie && wait > 0) {
        const float spent = 1.0f - float(m_remainingTime) / float(wait);
        m_progressPie->setAngle1(0);
        m_progressPie->setAngle2(int32_t(std::floor(spent * 360.0f + 0.5f)));
    }
    // The whole wait spent is a wrong answer.
    if (m_remainingTime <= 0) {
        showAnswer(false);
        advance();
    }
    return true;
}

int32_t GSuperPadNode::waitTime() const {
    const GGameLevelScene* level = getLevel();
    const GLevelConfig* config = level != nullptr ? level->getLevelConfig() : nullptr;
    return config != nullptr ? config->superDanceClickWaitTime : kDefaultWaitMs;
}
