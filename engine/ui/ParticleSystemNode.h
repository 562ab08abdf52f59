#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefPointer.h"
#include "engine/core/ScheduledObject.h"
#include "engine/core/String.h"
#include "engine/core/Vector2d.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeClass.h"
#include "engine/ui/BaseEmitter.h"
#include "engine/ui/GeometryBuffer.h"
#include "engine/ui/Particle.h"
#include "engine/ui/ParticleQuads.h"
#include "engine/video/AtlasTexture.h"
#include "engine/video/RenderMaterial.h"

// Shows a particle effect: a private copy of the emitter a collection published under
// "EmitterName" fills the node's particles on the scene clock; the node ages and moves them on
// the same clock and draws them as one textured quad each, all in one call. Without "Global"
// the particles live in the node's space and move with it; with it the emitter follows the node
// and the particles stay in scene space where they were born.
class ParticleSystemNode : public NodeClass<ParticleSystemNode, BaseNode>, public CScheduledObject {
public:
    static constexpr uint32_t kTypeId = 17;
    static constexpr const char16_t* kTypeName = u"ParticleSystemNode";
    // The emitter never grows the array, so a node holds at most this many particles.
    static constexpr uint32_t kCapacity = 500;

    ParticleSystemNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const PropertyTable& classPropertyTable();

    // While visible: joins the scene clock when enabled, attaches the emitter when it emits
    // (running an armed pre-generation), then adds the node's entry when it has particles and
    // a texture a driver made.
    void collectDrawables(RenderList& list) override;
    // All quads in one call, with the node's transform (the identity for global particles).
    void render(IRenderDriver* driver, const CRect* clip) override;
    // Particles are never hit.
    bool hitTest(const CVector3d&) override { return false; }
    // Settings, texture, material and a copy of the emitter; not the particles.
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    void saveProperties(CProperties& properties) const override;
    // The emitter comes last, once "Global" is known. "PregenTime" is stored without arming
    // the pre-generation.
    void loadProperties(const CProperties& properties) override;
    // Ages, moves and removes particles and rewrites their quads; false without particles or
    // texture, which leaves the clock until the next render pass.
    bool OnUpdate(uint32_t elapsedMs) override;

    // Drops the current emitter and takes a copy of the one published under the name, if any.
    void setEmitterName(const CString& name);
    // Empty without an emitter.
    CString getEmitterName() const;
    BaseEmitter* getEmitter() const { return m_emitter.get(); }
    // Without a texture the node neither updates nor draws.
    void setTexture(CAtlasTexture* texture);
    CAtlasTexture* getTexture() const { return m_texture.get(); }
    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }
    void setEmitterEnabled(bool enabled);
    bool isEmitterEnabled() const { return m_emitterEnabled; }
    // Also arms the pre-generation: the next render pass that attaches the emitter simulates
    // this much time, ten minutes at most, in steps of 200 ms.
    void setPregenTime(int32_t ms);
    int32_t getPregenTime() const { return m_pregenTime; }
    void setGlobal(bool global) { m_global = global; }
    bool isGlobal() const { return m_global; }

    CArray<Particle>& getParticles() { return m_particles; }
    const CGeometryBuffer& getGeometry() const { return *m_geometry; }
    const RenderMaterial& getMaterial() const { return m_material; }

    // Gives every quad of the geometry the texture frame's corners.
    void refreshTextureCoordinates();
    // Room for one quad per particle; the geometry never shrinks.
    void rebuildGeometry();

protected:
    ~ParticleSystemNode() override;

private:
    // Detached from its clock, then released.
    void dropEmitter();
    // Takes the copy as the node's emitter, bound to the node's particles.
    void adoptEmitter(const BaseEmitter& source);
    void pregenerate();
    // A global emitter starts particles at the node's absolute position.
    void followNode();
    ParticleFrame frame() const;
    CVector2d absolutePosition() const;

    CRefPointer<CAtlasTexture> m_texture;
    RenderMaterial m_material;
    CRefPointer<BaseEmitter> m_emitter;
    bool m_enabled = true;
    bool m_emitterEnabled = true;
    int32_t m_pregenTime = 0;
    int32_t m_pregenRemaining = 0;
    bool m_global = false;
    CArray<Particle> m_particles;
    CRefPointer<CGeometryBuffer> m_geometry;
};
