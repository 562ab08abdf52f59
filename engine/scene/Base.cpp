#include "engine/scene/Base.h"

#include "engine/core/Scheduler.h"
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
