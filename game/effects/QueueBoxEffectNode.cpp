#include "game/effects/QueueBoxEffectNode.h"

#include <cmath>

#include "engine/core/Logger.h"
#include "engine/core/String.h"
#include "engine/io/ContentManager.h"
#include "engine/ui/RangeProperty.h"
#include "engine/video/AtlasTexture.h"

namespace {

constexpr float kStartAngle = 90;

} // namespace

const PropertyTable& GQueueBoxEffectNode::classPropertyTable() {
    using Node = GQueueBoxEffectNode;
    static const PropertyTable table = extendPropertyTable(
        BaseNode::classPropertyTable(),
        {
            finiteProperty<&Node::m_velocityXRange>("VelocityXRange"),
            finiteProperty<&Node::m_velocityYRange>("VelocityYRange"),
            finiteProperty<&Node::m_accelXRange>("AccelXRange"),
            finiteProperty<&Node::m_accelYRange>("AccelYRange"),
            finiteProperty<&Node::m_ellipseSizeXRange>("EllipseSizeXRange"),
            finiteProperty<&Node::m_ellipseSizeYRange>("EllipseSizeYRange"),
            finiteProperty<&Node::m_ellipseXVelRange>("EllipseXVelRange"),
            finiteProperty<&Node::m_ellipseYVelRange>("EllipseYVelRange"),
            finiteProperty<&Node::m_angularVelocityRange>("AngularVelocityRange"),
            finiteProperty<&Node::m_angularAccelRange>("AngularAccelRange"),
            fieldProperty<&Node::m_disappearTime>("DisappearTime"),
            fieldProperty<&Node::m_lifeTime>("LifeTime"),
        });
    return table;
}

void GQueueBoxEffectNode::saveProperties(CProperties& properties) const {
    BaseNode::saveProperties(properties);
    saveVector2d(properties, "VelocityXRange", m_velocityXRange, CVector2d());
    saveVector2d(properties, "VelocityYRange", m_velocityYRange, CVector2d());
    saveVector2d(properties, "AccelXRange", m_accelXRange, CVector2d());
    saveVector2d(properties, "AccelYRange", m_accelYRange, CVector2d());
    saveVector2d(properties, "EllipseSizeXRange", m_ellipseSizeXRange, CVector2d());
    saveVector2d(properties, "EllipseSizeYRange", m_ellipseSizeYRange, CVector2d());
    saveVector2d(properties, "EllipseXVelRange", m_ellipseXVelRange, CVector2d());
    saveVector2d(properties, "EllipseYVelRange", m_ellipseYVelRange, CVector2d());
    saveVector2d(properties, "AngularVelocityRange", m_angularVelocityRange, CVector2d());
    saveVector2d(properties, "AngularAccelRange", m_angularAccelRange, CVector2d());
    // Against their defaults, so that a 0 comes back as 0.
    saveInt(properties, "DisappearTime", m_disappearTime, kDefaultDisappearTime);
    saveInt(properties, "LifeTime", m_lifeTime, kDefaultLifeTime);
}

void GQueueBoxEffectNode::loadProperties(const CProperties& properties) {
    BaseNode::loadProperties(properties);
    loadFiniteIfPresent(properties, "VelocityXRange", m_velocityXRange);
    loadFiniteIfPresent(properties, "VelocityYRange", m_velocityYRange);
    loadFiniteIfPresent(properties, "AccelXRange", m_accelXRange);
    loadFiniteIfPresent(properties, "AccelYRange", m_accelYRange);
    loadFiniteIfPresent(properties, "EllipseSizeXRange", m_ellipseSizeXRange);
    loadFiniteIfPresent(properties, "EllipseSizeYRange", m_ellipseSizeYRange);
    loadFiniteIfPresent(properties, "EllipseXVelRange", m_ellipseXVelRange);
    loadFiniteIfPresent(properties, "EllipseYVelRange", m_ellipseYVelRange);
    loadFiniteIfPresent(properties, "AngularVelocityRange", m_angularVelocityRange);
    loadFiniteIfPresent(properties, "AngularAccelRange", m_angularAccelRange);
    loadPropertyIfPresent(properties, "DisappearTime", m_disappearTime);
    loadPropertyIfPresent(properties, "LifeTime", m_lifeTime);
}

void GQueueBoxEffectNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& other = static_cast<const GQueueBoxEffectNode&>(source);
    m_velocityXRange = other.m_velocityXRange;
    m_velocityYRange = other.m_velocityYRange;
    m_accelXRange = other.m_accelXRange;
    m_accelYRange = other.m_accelYRange;
    m_ellipseSizeXRange = other.m_ellipseSizeXRange;
    m_ellipseSizeYRange = other.m_ellipseSizeYRange;
    m_ellipseXVelRange = other.m_ellipseXVelRange;
    m_ellipseYVelRange = other.m_ellipseYVelRange;
    m_angularVelocityRange = other.m_angularVelocityRange;
    m_angularAccelRange = other.m_angularAccelRange;
    m_disappearTime = other.m_disappearTime;
    m_lifeTime = other.m_lifeTime;
}

void GQueueBoxEffectNode::OnLoaded() {
    BaseNode* child = findChild(CNameId(CString("Note")), 1);
    m_note = CRefPointer<SpriteNode>::share(child != nullptr && child->isKindOf(SpriteNode::kTypeId)
                                                ? static_cast<SpriteNode*>(child)
                                                : nullptr);
}

bool GQueueBoxEffectNode::OnStart() {
    if (!hasNote() || !isVisible())
        return false;
    m_remainingLife = m_lifeTime;
    m_basePoint = CVector2d();
    m_velocity.x = drawRange(m_velocityXRange);
    m_velocity.y = drawRange(m_velocityYRange);
    m_acceleration.x = drawRange(m_accelXRange);
    m_acceleration.y = drawRange(m_accelYRange);
    m_ellipseSize.x = drawRange(m_ellipseSizeXRange);
    m_ellipseSize.y = drawRange(m_ellipseSizeYRange);
    m_ellipseGrowth.x = drawRange(m_ellipseXVelRange);
    m_ellipseGrowth.y = drawRange(m_ellipseYVelRange);
    m_angle = kStartAngle;
    m_angularVelocity = drawRange(m_angularVelocityRange);
    m_angularAcceleration = drawRange(m_angularAccelRange);
    placeNote();
    m_note->updateAbsoluteTransform();
    pickPicture();
    return true;
}

// One of the six pictures of one of the two colours; a picture that does not load leaves the
// note as it was.
void GQueueBoxEffectNode::pickPicture() {
    CContentManager* content = getContentManager();
    if (content == nullptr)
        return;
    CStringW name((engineRandom().nextMwc() & 1u) != 0
                      ? u"levels/common/Locations/QueueBox/MusicParticles/Blue/Particle0"
                      : u"levels/common/Locations/QueueBox/MusicParticles/Green/Particle0");
    name.append(engineRandom().nextMwc() % 6 + 1).append(u".png");
    const CRefPointer<CContent> picture = content->loadAtlasTexture(name, false);
    if (picture)
        m_note->setImage(static_cast<CAtlasTexture*>(picture.get()));
    else
        CLogger::instance()->log(u"Queue note picture missing: " + name, CLogger::LevelWarning);
}

void GQueueBoxEffectNode::placeNote() {
    const float radians = m_angle * kDegreesToRadians;
    m_note->setPosition(CVector3d(m_basePoint.x + std::cos(radians) * m_ellipseSize.x,
                                  m_basePoint.y + std::sin(radians) * m_ellipseSize.y, 0));
}

bool GQueueBoxEffectNode::OnUpdate(uint32_t elapsedMs) {
    if (!hasNote())
        return false;
    const float seconds = elapsedSeconds(elapsedMs);
    m_velocity += m_acceleration * seconds;
    m_basePoint += m_velocity * seconds;
    m_ellipseSize += m_ellipseGrowth * seconds;
    m_angularVelocity += m_angularAcceleration * seconds;
    m_angle = turnedDegrees(m_angle, m_angularVelocity, seconds);
    placeNote();
    m_remainingLife = countDown(m_remainingLife, elapsedMs);
    if (m_remainingLife > 0) {
        fadeOut(*this, m_remainingLife, m_disappearTime);
        return true;
    }
    if (isInternal())
        return removeSelf();
    setTintAlpha(*this, 255);
    setVisible(false);
    return false;
}
