#include "engine/scene/KeyFrame.h"

#include <algorithm>

#include "engine/core/EngineServices.h"
#include "engine/core/Logger.h"
#include "engine/core/MathHelpers.h"
#include "engine/core/Random.h"
#include "engine/core/Scheduler.h"
#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"
#include "engine/scene/BaseNode.h"

namespace {

constexpr uint32_t kDefaultPeriod = 20;

CStringW attributeName(const char16_t* prefix, uint32_t index) {
    CStringW name(prefix);
    name.append(index);
    return name;
}

} // namespace

KeyFrame::KeyFrame() {
    setInterval(kDefaultPeriod);
}

KeyFrame* asKeyFrame(Base* action) {
    return action != nullptr && action->isKindOf(KeyFrame::kTypeId) ? static_cast<KeyFrame*>(action)
                                                                    : nullptr;
}

void KeyFrame::setTarget(BaseNode* node) {
    Base::setTarget(node);
    mapProperties();
}

void KeyFrame::mapProperties() {
    if (getTarget() != nullptr && m_properties)
        mapTargetProperties(*m_properties, m_propertyMap);
    m_keyIndex = 0;
    m_keyTime = 0;
}

int32_t KeyFrame::mappedIndex(uint32_t entry) const {
    return entry < m_propertyMap.size() ? m_propertyMap[entry] : -1;
}

void KeyFrame::writeToTarget(uint32_t entry) {
    if (getTarget() != nullptr)
        getTarget()->setPropertyByIndex(mappedIndex(entry),
                                        m_properties->getValueAt(int32_t(entry)));
}

uint32_t KeyFrame::totalTime() const {
    uint32_t total = 0;
    for (const KeyFrameKey& key : m_keys)
        total += key.t;
    return total;
}

bool KeyFrame::advance() {
    bool looped = false;
    // One step per key at most: a loop of jumps over keys of no duration would never end.
    for (uint32_t steps = 0; steps < m_keys.size(); ++steps) {
        if (m_keyIndex + 1 >= m_keys.size() || m_keyTime < float(m_keys[m_keyIndex + 1].t))
            break;
        m_keyTime -= float(m_keys[m_keyIndex + 1].t);
        ++m_keyIndex;
        const int32_t jump = m_keys[m_keyIndex].g;
        if (jump >= 0 && uint32_t(jump) < m_keys.size()) {
            looped |= m_keyIndex > uint32_t(jump);
            m_keyIndex = uint32_t(jump);
        }
    }
    return looped;
}

void KeyFrame::setKey(uint32_t key) {
    if (!m_properties || key >= m_keys.size())
        return;
    const KeyFrameKey& values = m_keys[key];
    for (uint32_t entry = 0; entry < uint32_t(m_properties->getCount()); ++entry) {
        // Keys read before the set, or shortened by game code, write nothing for what they lack.
        if (mappedIndex(entry) < 0 || entry >= values.values.size() || !values.values[entry])
            continue;
        // The working value takes the key's in place, as an interpolation writes into it,
        // unless someone else holds it too.
        const CRefPointer<CPropertyData> working = m_properties->getValueAt(int32_t(entry));
        if (!working || working->getRefCount() > 2 || !working->assign(*values.values[entry]))
            m_properties->setAt(int32_t(entry), values.values[entry]->clone());
        writeToTarget(entry);
    }
}

void KeyFrame::interpolate(uint32_t key, float timeMs) {
    if (!m_properties)
        return;
    if (key + 1 >= m_keys.size() || timeMs <= 0) {
        setKey(key);
        return;
    }
    const KeyFrameKey& from = m_keys[key];
    const KeyFrameKey& to = m_keys[key + 1];
    const float duration = float(to.t);
    if (timeMs >= duration) {
        setKey(key + 1);
        return;
    }
    if (to.i != 0)
        return;
    const float fraction = timeMs / duration;
    for (uint32_t entry = 0; entry < uint32_t(m_properties->getCount()); ++entry) {
        if (mappedIndex(entry) < 0 || entry >= from.values.size() || entry >= to.values.size() ||
            !from.values[entry])
            continue;
        const CRefPointer<CPropertyData> working = m_properties->getValueAt(int32_t(entry));
        if (from.values[entry]->interpolate(to.values[entry].get(), working.get(), fraction))
            writeToTarget(entry);
    }
}

void KeyFrame::apply(int32_t timeMs, bool applyValues) {
    if (timeMs == 0) {
        timeMs = m_timeShift;
        const uint32_t total = totalTime();
        if (m_timeShift < 0 && total > 0)
            timeMs = int32_t(CEngineServices::instance()->getRandom()->nextMwc() % total + 1);
    }
    m_keyTime = float(timeMs);
    m_keyIndex = 0;
    advance();
    if (!m_properties || !applyValues)
        return;
    if (m_keyTime > 0 && m_keyIndex + 1 < m_keys.size() && m_keys[m_keyIndex + 1].i == -1)
        setKey(m_keyIndex);
    else
        interpolate(m_keyIndex, m_keyTime);
}

bool KeyFrame::OnUpdate(uint32_t elapsedMs) {
    if (getTarget() == nullptr || getScheduler() == nullptr || elapsedMs == 0)
        return true;
    const uint32_t before = m_keyIndex;
    m_keyTime += m_speed * float(elapsedMs);
    const bool looped = advance();
    bool keepsRunning = m_keyIndex + 1 < m_keys.size();
    if (keepsRunning) {
        if (m_keys[m_keyIndex + 1].i == 0 || m_keyIndex == before)
            interpolate(m_keyIndex, m_keyTime);
        else
            setKey(m_keyIndex);
    } else if (m_keys.size() != 0) {
        setKey(m_keys.size() - 1);
    }
    if (isRunning() && (looped || !keepsRunning)) {
        finish(truncateToInt(m_keyTime), looped);
        // What the finish set off may have started the action again (a state that follows
        // itself): it then stays on its clock.
        if (isRunning() && getScheduler() != nullptr)
            return true;
    }
    return keepsRunning;
}

bool KeyFrame::stop(bool report) {
    if (report && m_keyIndex + 1 < m_keys.size())
        setKey(m_keys.size() - 1);
    return Base::stop(report);
}

float KeyFrame::getElapsedTime() const {
    float elapsed = m_keyTime;
    for (uint32_t key = 0; key <= m_keyIndex && key < m_keys.size(); ++key)
        elapsed += float(m_keys[key].t);
    return elapsed;
}

int32_t KeyFrame::getDuration() const {
    return int32_t(totalTime());
}

CRefPointer<Base> KeyFrame::clone(BaseNode*, SceneManager*) const {
    CRefPointer<KeyFrame> copy(new KeyFrame());
    copy->setName(getName());
    copy->setInterval(getInterval());
    copy->m_timeShift = m_timeShift;
    if (m_properties)
        copy->m_properties = m_properties->clone();
    copy->m_keys = m_keys;
    return copy;
}

void KeyFrame::loadFromXml(CXmlTextReader& reader, IPropertyContentSource* owner,
                           const CStringW& elementName) {
    m_keys.clear();
    m_properties.reset();
    setInterval(uint32_t(std::max(reader.getAttributeInt(u"Period", kDefaultPeriod), 0)));
    m_timeShift = reader.getAttributeInt(u"TimeShift", 0);
    if (!reader.isEmptyElement()) {
        while (reader.readNext()) {
            const int32_t kind = reader.nodeKind();
            if (kind == CXmlTextReader::kEndElement && reader.nodeName() == elementName)
                break;
            if (kind != CXmlTextReader::kElement)
                continue;
            if (reader.nodeName() == u"Properties") {
                m_properties = CRefPointer<CProperties>(new CProperties(owner));
                m_properties->readXml(&reader, false, reader.nodeName());
            } else if (reader.nodeName() == u"KeyFrame") {
                readKey(reader);
            }
        }
    }
    prepareInterpolations();
    mapProperties();
}

void KeyFrame::readKey(const CXmlTextReader& reader) {
    const uint32_t valueCount = m_properties ? uint32_t(m_properties->getCount()) : 0;
    if ((m_keys.size() + 1) * uint64_t(valueCount) > kMaxKeyValues) {
        CLogger::instance()->logChars("Key frame has too many keys; the rest are dropped",
                                      CLogger::LevelWarning);
        return;
    }
    KeyFrameKey key;
    key.t = uint32_t(std::max(reader.getAttributeInt(u"t", 0), 0));
    key.g = reader.getAttributeInt(u"g", -1);
    key.i = reader.getAttributeInt(u"i", -1) == 0 ? 0 : -1;
    for (uint32_t entry = 0; entry < valueCount; ++entry) {
        CRefPointer<CPropertyData> value = m_properties->getValueAt(int32_t(entry));
        if (value) {
            value = value->clone();
            value->fromStringW(reader.getAttribute(attributeName(u"Value", entry).c_str()));
        }
        key.values.append(std::move(value));
    }
    m_keys.append(std::move(key));
}

void KeyFrame::prepareInterpolations() {
    for (uint32_t key = 1; key < m_keys.size(); ++key) {
        const KeyFrameKey& from = m_keys[key - 1];
        const KeyFrameKey& to = m_keys[key];
        for (uint32_t entry = 0; entry < from.values.size() && entry < to.values.size(); ++entry) {
            if (from.values[entry])
                from.values[entry]->prepareInterpolation(to.values[entry].get());
        }
    }
}

void KeyFrame::saveToXml(CXmlTextWriter& writer, const CStringW& elementName) const {
    CArray<CStringW> names;
    CArray<CStringW> values;
    if (getInterval() != kDefaultPeriod) {
        names.append(CStringW(u"Period"));
        values.append(CStringW(getInterval()));
    }
    if (m_timeShift != 0) {
        names.append(CStringW(u"TimeShift"));
        values.append(CStringW(m_timeShift));
    }
    openXmlElement(writer, elementName, false, names, values);
    writer.writeNewLine();
    if (m_properties && m_properties->getCount() != 0)
        m_properties->writeXml(&writer, false, CStringW(u"Properties"), true);
    for (const KeyFrameKey& key : m_keys) {
        if (key.values.size() == 0)
            continue;
        CArray<CStringW> keyNames;
        CArray<CStringW> keyValues;
        keyNames.append(CStringW(u"t"));
        keyValues.append(CStringW(key.t));
        if (key.g != -1) {
            keyNames.append(CStringW(u"g"));
            keyValues.append(CStringW(key.g));
        }
        if (key.i != -1) {
            keyNames.append(CStringW(u"i"));
            keyValues.append(CStringW(key.i));
        }
        for (uint32_t entry = 0; entry < key.values.size(); ++entry) {
            keyNames.append(attributeName(u"Value", entry));
            keyValues.append(key.values[entry] ? key.values[entry]->toStringW() : CStringW());
        }
        writer.openElement(u"KeyFrame", true, keyNames, keyValues);
        writer.writeNewLine();
    }
    writer.closeElement(elementName.c_str());
}
