#include "engine/scene/Base.h"

#include "engine/core/Properties.h"
#include "engine/core/Scheduler.h"
#include "engine/io/XmlTextWriter.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeEvents.h"

Base::Base() {
    setInterval(20);
}

const CStringW& Base::getTypeName() const {
    static const CStringW name(u"Base");
    return name;
}

const CStringW& Base::getClassName() const {
    static const CStringW name(u"Base");
    return name;
}

bool Base::start(IScheduler* clock) {
    setScheduler(clock);
    m_running = true;
    return true;
}

bool Base::stop(bool report) {
    setScheduler(nullptr);
    if (!report)
        return false;
    m_running = false;
    return finish(0, false);
}

bool Base::OnUpdate(uint32_t) {
    return false;
}

bool Base::finish(int32_t timeMs, bool looped) {
    m_running = false;
    if (m_listener == nullptr || (m_listener->getCategoryMask() & CEvent::CategoryNode) == 0)
        return false;
    CRefPointer<CEventNodeActionFinished> event(new CEventNodeActionFinished(this, timeMs, looped));
    return m_listener->OnEvent(*event);
}

void Base::openXmlElement(CXmlTextWriter& writer, const CStringW& elementName, bool isEmpty,
                          const CArray<CStringW>& names, const CArray<CStringW>& values) const {
    CArray<CStringW> allNames;
    CArray<CStringW> allValues;
    allNames.append(CStringW(u"Type"));
    allValues.append(getTypeName());
    if (m_name != CNameId()) {
        allNames.append(CStringW(u"Name"));
        allValues.append(CStringW(m_name.toString().c_str()));
    }
    allNames.appendAll(names);
    allValues.appendAll(values);
    writer.openElement(elementName.c_str(), isEmpty, allNames, allValues);
}

void Base::mapTargetProperties(const CProperties& properties, CArray<int32_t>& map) const {
    map.truncate(0);
    for (int32_t i = 0; i < properties.getCount(); ++i)
        map.append(m_target != nullptr ? m_target->findProperty(properties.getNameAt(i)) : -1);
}
