#include "engine/ui/BaseEmitter.h"

#include "engine/core/Properties.h"
#include "engine/core/Scheduler.h"
#include "engine/io/ContentManager.h"
#include "engine/io/XmlTextReader.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/ui/RangeProperty.h"

namespace {

constexpr uint32_t kIntervalMs = 30;
const CVector2d kDefaultPpsRange(10, 10);
const CVector2d kDefaultLifeTimeRange(2000, 3000);

} // namespace

BaseEmitter::BaseEmitter(const CContentKey& key) : CContent(key) {
    setInterval(kIntervalMs);
}

const PropertyTable& BaseEmitter::classPropertyTable() {
    // The name takes the text of a value of any kind.
    static const PropertyTable table = extendPropertyTable(
        CReflectedObject::classPropertyTable(),
        {
            {CString("Name"),
             [](CReflectedObject& object, const CRefPointer<CPropertyData>& value) {
                 static_cast<BaseEmitter&>(object).setName(getPropertyText(value));
             },
             [](CRefPointer<CPropertyData>& out, const CReflectedObject& object) {
                 out = makeStringWProperty(
                     CStringW(static_cast<const BaseEmitter&>(object).getName().c_str()));
             }},
            accessorProperty<&BaseEmitter::getPpsRange, &BaseEmitter::setPpsRange>("PPSRange"),
            accessorProperty<&BaseEmitter::getLifeTimeRange, &BaseEmitter::setLifeTimeRange>(
                "LifeTimeRange"),
        });
    return table;
}

const CStringW& BaseEmitter::getTypeName() const {
    static const CStringW name(u"BaseEmitter");
    return name;
}

CRefPointer<CContent> BaseEmitter::makeCopy() const {
    CRefPointer<BaseEmitter> copy(new BaseEmitter(getContentKey()));
    copy->copyFrom(*this);
    return copy;
}

bool BaseEmitter::attachToScheduler(IScheduler* scheduler) {
    setScheduler(scheduler);
    return true;
}

void BaseEmitter::detachFromScheduler() {
    setScheduler(nullptr);
}

bool BaseEmitter::OnUpdate(uint32_t) {
    return true;
}

void BaseEmitter::saveProperties(CProperties& properties) const {
    if (!m_name.isEmpty())
        properties.addStringW("Name", CStringW(m_name.c_str()));
    saveVector2d(properties, "PPSRange", m_ppsRange, kDefaultPpsRange);
    saveVector2d(properties, "LifeTimeRange", m_lifeTimeRange, kDefaultLifeTimeRange);
}

void BaseEmitter::loadProperties(const CProperties& properties) {
    // A name of any kind is taken by its text.
    if (properties.indexOf("Name") >= 0)
        m_name = properties.getString("Name");
    loadPropertyIfPresent(properties, "PPSRange", m_ppsRange);
    loadPropertyIfPresent(properties, "LifeTimeRange", m_lifeTimeRange);
}

void BaseEmitter::readXml(CXmlTextReader& reader) {
    // A self-closing element has no end tag to wait for: reading on would take the next
    // emitter's properties.
    if (reader.nodeKind() == CXmlTextReader::kElement && reader.isEmptyElement())
        return;
    while (reader.readNext()) {
        const int32_t kind = reader.nodeKind();
        if (kind == CXmlTextReader::kElement && reader.nodeName() == u"Properties") {
            CRefPointer<CProperties> properties(new CProperties(getContentKey().getOwner()));
            properties->readXml(&reader, false, u"Properties");
            loadProperties(*properties);
        } else if (kind == CXmlTextReader::kEndElement && reader.nodeName() == u"ParticleEmitter") {
            return;
        }
    }
}

void BaseEmitter::copyFrom(const BaseEmitter& other) {
    m_name = other.m_name;
    m_ppsRange = other.m_ppsRange;
    m_lifeTimeRange = other.m_lifeTimeRange;
}
