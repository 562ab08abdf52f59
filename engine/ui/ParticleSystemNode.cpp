#include "engine/ui/ParticleSystemNode.h"

#include "engine/core/Properties.h"
#include "engine/core/PropertyDataStrings.h"
#include "engine/io/ContentManager.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/ui/ParticleMotion.h"
#include "engine/video/IRenderDriver.h"

namespace {

constexpr uint32_t kIntervalMs = 30;
constexpr int32_t kPregenStepMs = 200;
// A "PregenTime" of days (a loaded node keeps a file's without arming it, but the nodes cloned
// from it pre-generate it) would hold the game for minutes in one render pass; ten minutes of
// effect time is more than any effect needs to look settled.
constexpr int32_t kMaxPregenMs = 600000;

CAtlasTexture* atlasTextureOf(const CPropertyData* value) {
    return dynamic_cast<CAtlasTexture*>(PropertyTraits<IPropertyAtlasTexture*>::read(value));
}

} // namespace

ParticleSystemNode::ParticleSystemNode(const CContentKey& key, BaseNode* parent,
                                       SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager), m_geometry(new CGeometryBuffer()) {
    setInterval(kIntervalMs);
    m_particles.reallocate(kCapacity);
    m_material.type = MATERIAL_TRANS_ALPHACH_VERTEXALPHA;
    m_material.layerCount = 1;
    m_material.layers[0].trilinearFilter = true;
    m_material.smoothShading = false;
    m_material.lighting = false;
    m_material.depthWrite = false;
    m_material.depthTest = 0;
}

ParticleSystemNode::~ParticleSystemNode() {
    dropEmitter();
}

const PropertyTable& ParticleSystemNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        BaseNode::classPropertyTable(),
        {
            {CString("EmitterName"),
             [](CReflectedObject& object, const CRefPointer<CPropertyData>& value) {
                 static_cast<ParticleSystemNode&>(object).setEmitterName(getPropertyText(value));
             },
             [](CRefPointer<CPropertyData>& out, const CReflectedObject& object) {
                 const CString name =
                     static_cast<const ParticleSystemNode&>(object).getEmitterName();
                 out = makeStringWProperty(CStringW(name.c_str()));
             }},
            {CString("AtlasTexture"),
             [](CReflectedObject& object, const CRefPointer<CPropertyData>& value) {
                 static_cast<ParticleSystemNode&>(object).setTexture(atlasTextureOf(value.get()));
             },
             [](CRefPointer<CPropertyData>& out, const CReflectedObject& object) {
                 out = makeAtlasTextureProperty(
                     static_cast<const ParticleSystemNode&>(object).getTexture());
             }},
            accessorProperty<&ParticleSystemNode::isEnabled, &ParticleSystemNode::setEnabled>(
                "Enabled"),
            accessorProperty<&ParticleSystemNode::isEmitterEnabled,
                             &ParticleSystemNode::setEmitterEnabled>("EmitterEnabled"),
            accessorProperty<&ParticleSystemNode::getPregenTime,
                             &ParticleSystemNode::setPregenTime>("PregenTime"),
            fieldProperty<&ParticleSystemNode::m_global>("Global"),
        });
    return table;
}

// Settings

void ParticleSystemNode::setEmitterName(const CString& name) {
    dropEmitter();
    CContentManager* manager = getContentManager();
    if (manager == nullptr)
        return;
    // Only emitters are content of this type.
    const auto* published = static_cast<const BaseEmitter*>(
        manager->find(contentType("pemt"), CContentKey(manager, CStringW(name.c_str()))));
    if (published == nullptr)
        return;
    adoptEmitter(*published);
    followNode();
}

CString ParticleSystemNode::getEmitterName() const {
    return m_emitter ? m_emitter->getName() : CString();
}

void ParticleSystemNode::setTexture(CAtlasTexture* texture) {
    m_texture = CRefPointer<CAtlasTexture>::share(texture);
    // The layer does not hold its texture: it must not outlive the atlas texture that does.
    if (m_material.layerCount > 0)
        m_material.layers[0].texture = texture != nullptr ? texture->getPage() : nullptr;
    refreshTextureCoordinates();
}

void ParticleSystemNode::setEnabled(bool enabled) {
    m_enabled = enabled;
    setScheduler(enabled ? getSceneClock() : nullptr);
}

void ParticleSystemNode::setEmitterEnabled(bool enabled) {
    m_emitterEnabled = enabled;
    if (!m_emitter)
        return;
    followNode();
    if (enabled)
        m_emitter->attachToScheduler(getSceneClock());
    else
        m_emitter->detachFromScheduler();
}

void ParticleSystemNode::setPregenTime(int32_t ms) {
    m_pregenTime = ms;
    m_pregenRemaining = ms;
}

void ParticleSystemNode::dropEmitter() {
    if (!m_emitter)
        return;
    m_emitter->detachFromScheduler();
    m_emitter->bindParticles(nullptr);
    m_emitter.reset();
}

void ParticleSystemNode::adoptEmitter(const BaseEmitter& source) {
    const CRefPointer<CContent> copy = source.makeCopy();
    m_emitter = CRefPointer<BaseEmitter>::share(static_cast<BaseEmitter*>(copy.get()));
    m_emitter->bindParticles(&m_particles);
}

// Updating and drawing

ParticleFrame ParticleSystemNode::frame() const {
    ParticleFrame frame;
    if (!m_texture)
        return frame;
    const CRect& rect = m_texture->getRect();
    frame.left = rect.left;
    frame.top = rect.top;
    frame.right = rect.right;
    frame.bottom = rect.bottom;
    if (const IDriverTexture* texture = m_texture->getDriverTexture()) {
        const CPixelSize size = texture->getSourceSize();
        frame.width = (rect.right - rect.left) * float(size.width);
        frame.height = (rect.bottom - rect.top) * float(size.height);
    }
    return frame;
}

void ParticleSystemNode::followNode() {
    if (m_global && m_emitter)
        m_emitter->setOrigin(absolutePosition());
}

CVector2d ParticleSystemNode::absolutePosition() const {
    const CMatrix4& matrix = getAbsoluteMatrix();
    return CVector2d(matrix[12], matrix[13]);
}

void ParticleSystemNode::refreshTextureCoordinates() {
    if (m_texture)
        refreshParticleTextureCoordinates(*m_geometry, frame());
}

void ParticleSystemNode::rebuildGeometry() {
    if (m_texture)
        sizeParticleGeometry(*m_geometry, m_particles.size(), frame());
}

bool ParticleSystemNode::OnUpdate(uint32_t elapsedMs) {
    // Before anything else: the emitter ticks on its own and must not start particles at the
    // place the node has left while the node had none to update.
    followNode();
    if (m_particles.size() == 0 || !m_texture)
        return false;
    advanceParticles(m_particles, elapsedMs);
    rebuildGeometry();
    writeParticleQuads(*m_geometry, m_particles, frame(), getAbsoluteColor());
    return true;
}

void ParticleSystemNode::pregenerate() {
    if (m_pregenTime <= 0 || m_pregenRemaining <= 0)
        return;
    int32_t remaining = m_pregenRemaining < kMaxPregenMs ? m_pregenRemaining : kMaxPregenMs;
    do {
        m_emitter->OnUpdate(kPregenStepMs);
        OnUpdate(kPregenStepMs);
        remaining -= kPregenStepMs;
    } while (remaining > 0);
    m_pregenRemaining = 0;
}

void ParticleSystemNode::collectDrawables(RenderList& list) {
    if (!isVisible())
        return;
    BaseNode::collectDrawables(list);
    // The absolute position is up to date only now; a node loaded or moved since the last
    // update would otherwise start its first particles at the old place (or the scene origin).
    followNode();
    IScheduler* clock = getSceneClock();
    if (m_enabled && getScheduler() == nullptr)
        setScheduler(clock);
    if (m_emitterEnabled && m_emitter && m_emitter->getScheduler() == nullptr) {
        m_emitter->attachToScheduler(clock);
        pregenerate();
    }
    // Drawn apart from the quad batch, so there is no texture run to join: key 0.
    if (m_texture && m_texture->getDriverTexture() && m_particles.size() > 0)
        list.append({this, getAbsoluteMatrix()[14], 0});
}

void ParticleSystemNode::render(IRenderDriver* driver, const CRect*) {
    if (driver == nullptr)
        return;
    // Sprites drawn before come first.
    flushQuadBatch(*driver);
    CMatrix4 world;
    if (!m_global) {
        world = getAbsoluteMatrix();
        world.set(14, 0);
    }
    driver->setMatrix(TRANSFORM_WORLD, world);
    driver->applyMaterial(m_material);
    driver->drawGeometryBuffer(m_geometry.get());
    driver->setMatrix(TRANSFORM_WORLD, CMatrix4::identity());
}

// Copying and properties

void ParticleSystemNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& other = static_cast<const ParticleSystemNode&>(source);
    dropEmitter();
    if (other.m_emitter)
        adoptEmitter(*other.m_emitter);
    m_material = other.m_material;
    setTexture(other.m_texture.get());
    setEnabled(other.m_enabled);
    setEmitterEnabled(other.m_emitterEnabled);
    setPregenTime(other.m_pregenTime);
    m_global = other.m_global;
}

void ParticleSystemNode::saveProperties(CProperties& properties) const {
    BaseNode::saveProperties(properties);
    if (m_emitter)
        properties.addStringW("EmitterName", CStringW(m_emitter->getName().c_str()));
    if (m_texture)
        properties.addAtlasTexture("ParticleTexture", m_texture.get());
    if (!m_enabled)
        properties.addBool("Enabled", false);
    if (!m_emitterEnabled)
        properties.addBool("EmitterEnabled", false);
    if (m_pregenTime != 0)
        properties.addInt("PregenTime", m_pregenTime);
    if (m_global)
        properties.addBool("Global", true);
}

void ParticleSystemNode::loadProperties(const CProperties& properties) {
    BaseNode::loadProperties(properties);
    IPropertyAtlasTexture* texture = nullptr;
    if (loadPropertyIfPresent(properties, "ParticleTexture", texture))
        setTexture(dynamic_cast<CAtlasTexture*>(texture));
    bool enabled = false;
    if (loadPropertyIfPresent(properties, "Enabled", enabled))
        setEnabled(enabled);
    if (loadPropertyIfPresent(properties, "EmitterEnabled", enabled))
        setEmitterEnabled(enabled);
    loadPropertyIfPresent(properties, "PregenTime", m_pregenTime);
    loadPropertyIfPresent(properties, "Global", m_global);
    if (properties.indexOf("EmitterName") >= 0)
        setEmitterName(properties.getString("EmitterName"));
}
