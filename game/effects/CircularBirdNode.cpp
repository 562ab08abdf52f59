#include "game/effects/CircularBirdNode.h"

#include "engine/core/String.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "game/effects/PathMovableNode.h"

namespace {

// Each flap comes 4 to 7 s after the one before.
uint32_t drawFlapInterval() {
    return uint32_t(engineRandom().nextUnitFloat() * 3000 + 4000);
}

// The flap state of a direction state; none for none.
CNameId flapNameOf(CNameId direction) {
    struct Flap {
        CNameId direction;
        CNameId flap;
    };
    static const Flap flaps[] = {
        {CNameId(CString("Right")), CNameId(CString("Right_Flap"))},
        {CNameId(CString("RightUp")), CNameId(CString("RightUp_Flap"))},
        {CNameId(CString("Up")), CNameId(CString("Up_Flap"))},
        {CNameId(CString("LeftUp")), CNameId(CString("LeftUp_Flap"))},
        {CNameId(CString("Left")), CNameId(CString("Left_Flap"))},
        {CNameId(CString("LeftDown")), CNameId(CString("LeftDown_Flap"))},
        {CNameId(CString("Down")), CNameId(CString("Down_Flap"))},
        {CNameId(CString("RightDown")), CNameId(CString("RightDown_Flap"))},
    };
    for (const Flap& entry : flaps) {
        if (entry.direction == direction)
            return entry.flap;
    }
    return CNameId();
}

} // namespace

GCircularBirdNode::~GCircularBirdNode() {
    releaseBird();
}

const PropertyTable& GCircularBirdNode::classPropertyTable() {
    static const PropertyTable table = [] {
        PropertyTable own = extendPropertyTable(
            BaseNode::classPropertyTable(),
            {accessorProperty<&GCircularBirdNode::getBirdTemplate,
                              &GCircularBirdNode::setBirdTemplate>("BirdTemplateID")});
        appendOrbitProperties<&GCircularBirdNode::m_orbit>(own);
        return own;
    }();
    return table;
}

void GCircularBirdNode::saveProperties(CProperties& properties) const {
    BaseNode::saveProperties(properties);
    if (m_birdTemplateName != CNameId())
        properties.addStringW("BirdTemplateID", CStringW(m_birdTemplateName.toString().c_str()));
    m_orbit.save(properties);
}

void GCircularBirdNode::loadProperties(const CProperties& properties) {
    BaseNode::loadProperties(properties);
    if (properties.indexOf("BirdTemplateID") >= 0)
        setBirdTemplate(getPropertyNameId(properties.get("BirdTemplateID").get()));
    m_orbit.load(properties);
}

void GCircularBirdNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& other = static_cast<const GCircularBirdNode&>(source);
    m_orbit = other.m_orbit;
    setBirdTemplate(other.m_birdTemplateName);
}

// The template

void GCircularBirdNode::setBirdTemplate(CNameId name) {
    m_templateBody = nullptr;
    m_birdTemplateName = name;
    const SceneManager* manager = getSceneManager();
    const TemplateCollectionNode* collection =
        manager != nullptr ? manager->getTemplateCollection() : nullptr;
    const BaseNode* model = collection != nullptr ? collection->getTemplate(name) : nullptr;
    if (model != nullptr)
        m_templateBody =
            CRefPointer<BaseNode>::share(model->findChild(CNameId(CString("Body")), 1));
    setScheduler(nullptr);
}

bool GCircularBirdNode::OnSceneManagerAttached(CEventNodeAttached&) {
    setBirdTemplate(m_birdTemplateName);
    return false;
}

bool GCircularBirdNode::OnTemplatesChanged(CEventNodeTemplatesChanged&) {
    setBirdTemplate(m_birdTemplateName);
    return false;
}

// The bird

bool GCircularBirdNode::OnStart() {
    if (!m_templateBody)
        return false;
    releaseBird();
    const CRefPointer<BaseNode> bird = m_templateBody->clone(nullptr, getSceneManager());
    bird->setInternal(true);
    // The attachment's reference is this node's.
    bird->setParent(this);
    m_bird = bird.get();
    m_orbit.startAtRandomAngles();
    m_bird->setPosition(m_orbit.position());
    m_flapTimer = drawFlapInterval();
    return true;
}

void GCircularBirdNode::releaseBird() {
    if (m_bird == nullptr)
        return;
    BaseNode* bird = m_bird;
    m_bird = nullptr;
    bird->setParent(nullptr);
    bird->release();
}

void GCircularBirdNode::collectDrawables(RenderList& list) {
    GEffectNode::collectDrawables(list);
    if (m_bird != nullptr && isVisible())
        m_bird->collectDrawables(list);
}

void GCircularBirdNode::updateAbsoluteTransform() {
    BaseNode::updateAbsoluteTransform();
    if (m_bird != nullptr)
        m_bird->updateAbsoluteTransform();
}

void GCircularBirdNode::updateAbsoluteColor() {
    BaseNode::updateAbsoluteColor();
    if (m_bird != nullptr)
        m_bird->updateAbsoluteColor();
}

bool GCircularBirdNode::OnUpdate(uint32_t elapsedMs) {
    if (m_bird == nullptr)
        return false;
    // States started below may reach back into this node.
    const CRefPointer<BaseNode> bird = CRefPointer<BaseNode>::share(m_bird);
    m_orbit.advance(elapsedMs);
    const CNameId direction = directionNameForVector(m_orbit.secondHeading());
    if (direction != m_direction) {
        m_direction = direction;
        turnBird(direction);
    }
    bird->setPosition(m_orbit.position());
    if (m_flapTimer > elapsedMs) {
        m_flapTimer -= elapsedMs;
    } else {
        bird->setState(flapNameOf(m_direction), nullptr, CNameId());
        m_flapTimer += drawFlapInterval();
    }
    return true;
}

// A bird in the middle of a flap flaps on in the new direction from the same moment.
void GCircularBirdNode::turnBird(CNameId direction) {
    const NodeState* current = m_bird->getCurrentState();
    const Base* animator = current != nullptr ? current->getAnimator(0) : nullptr;
    if (animator == nullptr || !animator->isRunning()) {
        m_bird->setState(direction, nullptr, CNameId());
        return;
    }
    const int32_t timeMs = truncateToInt(animator->getElapsedTime());
    const CNameId flap = flapNameOf(direction);
    m_bird->setState(flap, nullptr, CNameId());
    const NodeState* flapping = m_bird->findState(flap);
    if (flapping != nullptr && flapping->getAnimatorCount() != 0)
        flapping->getAnimator(0)->apply(timeMs, false);
}
