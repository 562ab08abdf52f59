#include "game/screens/CounterTextNode.h"

#include "engine/core/Properties.h"
#include "engine/core/StringFunctions.h"
#include "engine/scene/PropertyBindings.h"
#include "game/app/LogosScene.h"
#include "game/app/MoneyText.h"

namespace {

constexpr uint32_t kIntervalMs = 30;

} // namespace

GCounterTextNode::GCounterTextNode(const CContentKey& key, BaseNode* parent,
                                   SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {
    setInterval(kIntervalMs);
}

const PropertyTable& GCounterTextNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        TextNode::classPropertyTable(),
        {
            fieldProperty<&GCounterTextNode::m_startValue>("StartValue"),
            fieldProperty<&GCounterTextNode::m_endValue>("EndValue"),
            fieldProperty<&GCounterTextNode::m_countingTime>("CountingTime"),
            fieldProperty<&GCounterTextNode::m_displayMode>("ValueDisplayMode"),
            accessorProperty<&GCounterTextNode::getStartCounting,
                             &GCounterTextNode::setStartCounting>("StartCounting"),
        });
    return table;
}

// Counting

void GCounterTextNode::setStartCounting(bool start) {
    if (!start) {
        m_startCounting = false;
        m_counting = false;
        return;
    }
    if (m_startCounting)
        return;
    m_startCounting = true;
    m_counting = true;
    m_lifeTime = 0;
    showValue(m_startValue);
    // Without a time to count over, the count is over at once.
    if (m_countingTime <= 0) {
        m_counting = false;
        showValue(m_endValue);
    }
}

bool GCounterTextNode::OnUpdate(uint32_t elapsedMs) {
    if (!m_counting)
        return false;
    if (m_countingTime <= 0) {
        m_counting = false;
        showValue(m_endValue);
        return true;
    }
    const int64_t lifeTime = int64_t(m_lifeTime) + elapsedMs;
    if (lifeTime > m_countingTime) {
        m_lifeTime = m_countingTime;
        m_counting = false;
    } else {
        m_lifeTime = int32_t(lifeTime);
    }
    // In double precision the last step lands exactly on the end value; the share of the
    // time passed keeps the result between the start and end values.
    const double span = double(m_endValue) - double(m_startValue);
    const double shown = span * m_lifeTime / m_countingTime + m_startValue;
    showValue(int32_t(shown));
    return true;
}

void GCounterTextNode::showValue(int32_t value) {
    switch (m_displayMode) {
    case DISPLAY_GROUPED:
        setText(formatGroupedInt(value, thousandsDelimiter));
        break;
    case DISPLAY_MONEY:
        setText(formatMoneyText(value));
        break;
    case DISPLAY_MINUTES_SECONDS:
        setText(formatMinutesSeconds(uint32_t(value)));
        break;
    default:
        break;
    }
}

void GCounterTextNode::collectDrawables(RenderList& list) {
    TextNode::collectDrawables(list);
    if (m_startCounting)
        setScheduler(getSceneClock());
}

// Copying and properties

void GCounterTextNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    TextNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& counter = static_cast<const GCounterTextNode&>(source);
    m_startValue = counter.m_startValue;
    m_endValue = counter.m_endValue;
    m_countingTime = counter.m_countingTime;
    m_startCounting = counter.m_startCounting;
    m_lifeTime = counter.m_lifeTime;
    m_displayMode = counter.m_displayMode;
}

void GCounterTextNode::saveProperties(CProperties& properties) const {
    TextNode::saveProperties(properties);
    if (m_startValue != 0)
        properties.addInt("StartValue", m_startValue);
    if (m_endValue != 100)
        properties.addInt("EndValue", m_endValue);
    if (m_countingTime != 1000)
        properties.addInt("CountingTime", m_countingTime);
    if (!m_startCounting)
        properties.addBool("StartCounting", false);
    if (m_lifeTime != 0)
        properties.addInt("LifeTime", m_lifeTime);
    if (m_displayMode != DISPLAY_GROUPED)
        properties.addInt("ValueDisplayMode", m_displayMode);
}

void GCounterTextNode::loadProperties(const CProperties& properties) {
    TextNode::loadProperties(properties);
    loadPropertyIfPresent(properties, "StartValue", m_startValue);
    loadPropertyIfPresent(properties, "EndValue", m_endValue);
    loadPropertyIfPresent(properties, "CountingTime", m_countingTime);
    loadPropertyIfPresent(properties, "StartCounting", m_startCounting);
    loadPropertyIfPresent(properties, "LifeTime", m_lifeTime);
    loadPropertyIfPresent(properties, "ValueDisplayMode", m_displayMode);
}
