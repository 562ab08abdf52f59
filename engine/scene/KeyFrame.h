#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/Properties.h"
#include "engine/core/PropertyData.h"
#include "engine/core/RefPointer.h"
#include "engine/scene/Base.h"

// One key of a key-frame timeline: a value per animated property, the milliseconds from the
// previous key, the key to continue at once this one is reached (-1 none) and whether the
// values move linearly towards this key (0) or hold and jump on arrival (-1).
struct KeyFrameKey {
    CArray<CRefPointer<CPropertyData>> values;
    uint32_t t = 0;
    int32_t g = -1;
    int32_t i = -1;
};

// Animates properties of its node through timed keys, at the interval "Period" (20 ms unless
// the file says otherwise). A jump back ("g") makes it loop: it reports completion at its first
// wrap and goes on animating until it is stopped; otherwise it reports when it reaches its last
// key, with the time left over past it.
class KeyFrame : public ActionClass<KeyFrame> {
public:
    static constexpr uint32_t kTypeId = 1;
    static constexpr const char16_t* kTypeName = u"KeyFrame";
    // Keys times properties a file may give one action; the keys beyond are dropped.
    static constexpr uint32_t kMaxKeyValues = 1u << 20;

    KeyFrame();

    // Maps the animated properties to the node's property table and rewinds.
    void setTarget(BaseNode* node) override;
    // Jumps to the time (0: the start offset, "TimeShift"; a negative offset starts at a random
    // point of the timeline) and, with applyValues, writes the values of that time.
    void apply(int32_t timeMs, bool applyValues) override;
    float getElapsedTime() const override;
    int32_t getDuration() const override;
    // With report, the last key's values are written first.
    bool stop(bool report) override;
    CRefPointer<Base> clone(BaseNode* node, SceneManager* sceneManager) const override;
    void loadFromXml(CXmlTextReader& reader, IPropertyContentSource* owner,
                     const CStringW& elementName) override;
    void saveToXml(CXmlTextWriter& writer, const CStringW& elementName) const override;

    bool OnUpdate(uint32_t elapsedMs) override;

    // Game code edits keys in place; values are shared with copies, so it replaces a value
    // rather than changing it.
    CArray<KeyFrameKey>& getKeys() { return m_keys; }
    const CArray<KeyFrameKey>& getKeys() const { return m_keys; }
    // The animated properties with their working values; none until read.
    CProperties* getProperties() const { return m_properties.get(); }
    float getSpeed() const { return m_speed; }
    void setSpeed(float speed) { m_speed = speed; }
    int32_t getTimeShift() const { return m_timeShift; }
    uint32_t getKeyIndex() const { return m_keyIndex; }

protected:
    ~KeyFrame() override = default;

private:
    void mapProperties();
    // Steps over the keys whose time has passed, at most once round the timeline; true when a
    // jump went back.
    bool advance();
    void setKey(uint32_t key);
    void interpolate(uint32_t key, float timeMs);
    // Writes value `entry` of the working set to the node.
    void writeToTarget(uint32_t entry);
    int32_t mappedIndex(uint32_t entry) const;
    uint32_t totalTime() const;
    void readKey(const CXmlTextReader& reader);
    void prepareInterpolations();

    CArray<int32_t> m_propertyMap;
    CArray<KeyFrameKey> m_keys;
    uint32_t m_keyIndex = 0;
    float m_keyTime = 0;
    CRefPointer<CProperties> m_properties;
    int32_t m_timeShift = 0;
    float m_speed = 1.0f;
};

// The action when it is a KeyFrame, else none.
KeyFrame* asKeyFrame(Base* action);
