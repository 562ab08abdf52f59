#include "game/level/MiniGameDanceScene.h"

#include "engine/io/ContentManager.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/video/AtlasTexture.h"
#include "game/level/MiniGameConfigurations.h"

GMiniGameDanceScene::~GMiniGameDanceScene() {
    attachToClientNode(nullptr);
}

void GMiniGameDanceScene::OnLoaded() {
    const BaseNode* scene = childNamed(this, "Scene");
    m_blocksNode = CRefPointer<BaseNode>::share(childNamed(scene, "Blocks"));
    m_lineNode = CRefPointer<BaseNode>::share(childNamed(scene, "Line"));
    attachToClientNode(childNamed(scene, "Client"));
}

// The scene hears what is told to the stage, the end of the dancer's animations among it.
void GMiniGameDanceScene::attachToClientNode(BaseNode* clientNode) {
    if (m_clientNode)
        m_clientNode->getPostReceivers().eraseValue(this);
    m_clientNode = CRefPointer<BaseNode>::share(clientNode);
    if (m_clientNode)
        m_clientNode->getPostReceivers().append(this);
}

void GMiniGameDanceScene::start(const StartParameters& parameters) {
    GMiniGameScene::start(parameters);
    const GMiniGameDanceConfig* config =
        GMiniGameConfigurations::shared().dance(parameters.configurationIndex);
    m_started = true;
    m_widths.clear();
    if (config != nullptr) {
        m_widths.appendAll(config->blockWidths);
        m_speed = config->speed;
    } else {
        m_speed = GMiniGameDanceConfig::kDefaultSpeed;
        m_widths.append(100.0f);
    }
    if (parameters.client != nullptr)
        placeDancer(*parameters.client);
}

// A copy of the template the client was made from, as the client looks, standing.
void GMiniGameDanceScene::placeDancer(const GClientNode& client) {
    const GClientConfig* type = client.getClientConfig();
    const SceneManager* manager = getSceneManager();
    const TemplateCollectionNode* templates =
        manager != nullptr ? manager->getTemplateCollection() : nullptr;
    if (type == nullptr || templates == nullptr || !m_clientNode)
        return;
    const BaseNode* look = templates->getTemplate(type->templateName);
    if (look == nullptr || !look->isKindOf(GClientNode::kTypeId))
        return;
    const CRefPointer<BaseNode> made = look->clone(m_clientNode.get(), getSceneManager());
    m_dancer = CRefPointer<GClientNode>::share(static_cast<GClientNode*>(made.get()));
    m_dancer->setVisible(true);
    m_dancer->setColor(client.getColor());
    m_dancer->playStandAnimation();
}

bool GMiniGameDanceScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    GMiniGameScene::OnSceneSwitch(event);
    return event.getTo() == this;
}

bool GMiniGameDanceScene::OnMouseLeftDown(CEventInputMouseLeftDown&) {
    if (m_tries != 0)
        return false;
    m_tries = 1;
    setResult(markerOverBlock() ? 1 : 0);
    if (!m_dancer) {
        close();
        return false;
    }
    m_standing = m_dancer->getPlayingAnimation();
    if (getResult() == 1)
        m_dancer->setChildrenState(nameOf("Dance4"), nullptr);
    else
        m_dancer->playMoodAnimation(false, true);
    return false;
}

bool GMiniGameDanceScene::markerOverBlock() const {
    if (!m_lineNode || !m_blocksNode)
        return false;
    const float marker = m_lineNode->getPosition().x;
    for (const CRefPointer<SpriteNode>& piece : m_blocks) {
        const float left = piece->getPosition().x + m_blocksNode->getPosition().x;
        if (piece->getImage() != nullptr && left <= marker && marker <= left + piece->getBounds().x)
            return true;
    }
    return false;
}

bool GMiniGameDanceScene::OnChildrenStateFinished(CEventNodeChildrenStateFinished& event) {
    // Stopping the stand for the answer reports the stand's end too; only the answer's counts.
    if (m_tries != 0 && m_dancer && event.getNode() == m_dancer.get() &&
        event.getStateName() != m_standing) {
        m_closeCountdown = kCloseDelayMs;
        return true;
    }
    return GMiniGameScene::OnChildrenStateFinished(event);
}

bool GMiniGameDanceScene::tick(uint32_t elapsedMs) {
    // Opened but not yet started, the empty track must not close the game.
    if (!m_started)
        return true;
    // Whole units per tick stay whole, so the track's edges meet the marker exactly.
    scroll(m_speed * float(elapsedMs) / 1000.0f);
    if (m_widths.size() == 0 && m_blocks.size() == 0) {
        close();
        return true;
    }
    if (m_closeCountdown > 0) {
        if (int64_t(elapsedMs) < m_closeCountdown) {
            m_closeCountdown -= int32_t(elapsedMs);
        } else {
            m_closeCountdown = -1;
            close();
        }
    }
    return true;
}

void GMiniGameDanceScene::scroll(float distance) {
    for (uint32_t i = 0; i < m_blocks.size();) {
        SpriteNode& piece = *m_blocks[i];
        CVector3d at = piece.getPosition();
        at.x -= distance;
        piece.setPosition(at);
        if (at.x >= 0) {
            ++i;
            continue;
        }
        m_blocksNode->removeChild(&piece);
        m_blocks.eraseAt(i);
    }
    if (!m_blocksNode || !m_lineNode || !(m_lineNode->getBounds().x > 0))
        return;
    // More track once the newest piece has come in past the right edge.
    if (m_blocks.size() == 0 || rightEdgeOfTrack() <= m_blocksNode->getBounds().x)
        spawnRun();
}

float GMiniGameDanceScene::rightEdgeOfTrack() const {
    const SpriteNode& newest = *m_blocks[m_blocks.size() - 1];
    return newest.getPosition().x + newest.getBounds().x;
}

// The run joins the newest piece, so the track keeps its lengths whatever the tick's step.
void GMiniGameDanceScene::spawnRun() {
    const float width = m_blocksNode->getBounds().x;
    const float start = m_blocks.size() != 0 ? rightEdgeOfTrack() - width : 0.0f;
    const float length = m_lineNode->getBounds().x;
    float made = 0;
    for (float leftover = length; leftover > 0;) {
        const float asked = leftover;
        leftover = spawnBlock(start + made, asked);
        made += asked - leftover;
    }
}

float GMiniGameDanceScene::spawnBlock(float offset, float length) {
    if (m_widths.size() == 0)
        return 0;
    const bool textured = m_textured;
    const float width = m_widths[0];
    float piece = length;
    float leftover = 0;
    if (width - length > 0) {
        m_widths[0] = width - length;
    } else {
        m_widths.eraseAt(0);
        m_textured = !m_textured;
        piece = width;
        leftover = length - width;
    }
    if (piece > 0)
        makePiece(m_blocksNode->getBounds().x + offset, piece, textured);
    return leftover;
}

void GMiniGameDanceScene::makePiece(float x, float length, bool textured) {
    const CRefPointer<SpriteNode> piece(
        new SpriteNode(CContentKey(), m_blocksNode.get(), getSceneManager()));
    piece->setPosition({x, 0, 0});
    piece->setBounds({length, 10, 0});
    piece->setImageStretchX(SpriteNode::STRETCH_TO_BOUNDS);
    piece->setImageStretchY(SpriteNode::STRETCH_BOUNDS_TO_IMAGE);
    CContentManager* content = getContentManager();
    if (textured && content != nullptr) {
        const CRefPointer<CContent> image = content->loadAtlasTexture(kBlockImage, true);
        piece->setImage(static_cast<CAtlasTexture*>(image.get()));
    }
    m_blocks.append(piece);
}
