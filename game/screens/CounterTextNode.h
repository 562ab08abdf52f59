#pragma once

#include <cstdint>

#include "engine/core/ScheduledObject.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/TextNode.h"

// A text showing a whole number that counts from "StartValue" to "EndValue" over
// "CountingTime" once "StartCounting" is set, for the animated totals of the screens: grouped
// digits, money or minutes and seconds. It counts on the clock of the scene that draws it, in
// ticks of 30 ms, and only once drawn: a counter under a hidden parent waits.
class GCounterTextNode : public NodeClass<GCounterTextNode, TextNode>, public CScheduledObject {
public:
    static constexpr uint32_t kTypeId = 1124;
    static constexpr const char16_t* kTypeName = u"GCounterTextNode";

    enum EDisplayMode : int32_t {
        DISPLAY_GROUPED = 0,
        DISPLAY_MONEY = 1,
        DISPLAY_MINUTES_SECONDS = 2,
    };

    GCounterTextNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const PropertyTable& classPropertyTable();

    // While the latch is set, also joins the clock of the scene the node is in.
    void collectDrawables(RenderList& list) override;
    // The latch and the values, not the running count: a copy counts only once started anew.
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    // "StartCounting" is written only as false.
    void saveProperties(CProperties& properties) const override;
    // Sets the latch without starting a count or showing a value.
    void loadProperties(const CProperties& properties) override;
    // One step of a running count; false when none runs.
    bool OnUpdate(uint32_t elapsedMs) override;

    // True starts a count from the start value unless the latch is already set; false clears
    // the latch and stops the count.
    void setStartCounting(bool start);
    bool getStartCounting() const { return m_startCounting; }
    bool isCounting() const { return m_counting; }
    // Shows the value as the display mode writes it; an unknown mode leaves the text.
    void showValue(int32_t value);

    // Stored only: a running count takes them up at its next tick.
    void setStartValue(int32_t value) { m_startValue = value; }
    void setEndValue(int32_t value) { m_endValue = value; }
    void setCountingTime(int32_t ms) { m_countingTime = ms; }
    void setValueDisplayMode(int32_t mode) { m_displayMode = mode; }
    int32_t getStartValue() const { return m_startValue; }
    int32_t getEndValue() const { return m_endValue; }
    int32_t getCountingTime() const { return m_countingTime; }
    int32_t getValueDisplayMode() const { return m_displayMode; }
    int32_t getLifeTime() const { return m_lifeTime; }

protected:
    ~GCounterTextNode() override = default;

private:
    int32_t m_startValue = 0;
    int32_t m_endValue = 100;
    int32_t m_countingTime = 1000;
    bool m_startCounting = false;
    bool m_counting = false;
    int32_t m_displayMode = DISPLAY_GROUPED;
    int32_t m_lifeTime = 0;
};
