#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/ContentKey.h"
#include "engine/core/RefPointer.h"
#include "engine/core/ScheduledObject.h"
#include "engine/core/String.h"
#include "engine/core/Vector2d.h"
#include "engine/io/Content.h"
#include "engine/scene/IPropertyOwner.h"
#include "engine/scene/ReflectedObject.h"
#include "engine/ui/Particle.h"

class CProperties;
class CXmlTextReader;
class IScheduler;

// The recipe of a particle effect and, once a particle system has bound its particle array and
// attached it to a scene clock, the object that appends new particles to that array every 30 ms.
// Collections publish named emitters as templates ('pemt'); each particle system drives a copy.
// The base class emits nothing.
class BaseEmitter : public CReflectedObject,
                    public IPropertyOwner,
                    public CContent,
                    public CScheduledObject {
public:
    static constexpr uint32_t kTypeId = 0;

    explicit BaseEmitter(const CContentKey& key);

    // Name, PPSRange and LifeTimeRange, then each class's own.
    const PropertyTable& getPropertyTable() const override { return classPropertyTable(); }
    static const PropertyTable& classPropertyTable();

    virtual const CStringW& getTypeName() const;
    const CStringW& getClassName() const { return getTypeName(); }
    virtual uint32_t getTypeId() const { return kTypeId; }
    virtual bool isKindOf(uint32_t typeId) const { return typeId == kTypeId; }

    uint32_t getContentType() const override { return contentType("pemt"); }
    // A new emitter of the same class and key with the same settings, unbound and unscheduled.
    CRefPointer<CContent> makeCopy() const override;

    // Leaves the current scheduler for the given one (none: leaves only); true.
    bool attachToScheduler(IScheduler* scheduler);
    void detachFromScheduler();

    bool OnUpdate(uint32_t elapsedMs) override;

    // Writes the values that differ from the defaults, in table order.
    void saveProperties(CProperties& properties) const override;
    // Stores every known key present; a value of another kind stores 0.
    void loadProperties(const CProperties& properties) override;
    // From a "ParticleEmitter" start tag (or the start of a document) to its end tag: applies
    // every "Properties" child in turn.
    void readXml(CXmlTextReader& reader);

    const CString& getName() const { return m_name; }
    void setName(const CString& name) { m_name = name; }
    CVector2d getOrigin() const { return m_origin; }
    void setOrigin(CVector2d origin) { m_origin = origin; }
    CVector2d getPpsRange() const { return m_ppsRange; }
    void setPpsRange(CVector2d range) { m_ppsRange = range; }
    CVector2d getLifeTimeRange() const { return m_lifeTimeRange; }
    void setLifeTimeRange(CVector2d range) { m_lifeTimeRange = range; }
    // The array new particles are appended to; the emitter never grows it.
    CArray<Particle>* getParticles() const { return m_particles; }
    void bindParticles(CArray<Particle>* particles) { m_particles = particles; }

protected:
    ~BaseEmitter() override = default;

    // Name and ranges; not the origin, the particle array or the scheduler.
    void copyFrom(const BaseEmitter& other);

private:
    CString m_name;
    CVector2d m_origin;
    CVector2d m_ppsRange{10, 10};
    CVector2d m_lifeTimeRange{2000, 3000};
    CArray<Particle>* m_particles = nullptr;
};
