#pragma once

#include <cstdint>

#include "engine/core/RefCounted.h"
#include "engine/core/String.h"

// The player's seventeen awards: for each a progress value, a fixed target and a state (0 open,
// 1 reached and not yet seen on the awards screen, 2 seen). Counting awards (0 to 2, 12 to 16)
// add up reports and are reset by a report of 0; best-value awards (3 to 11) keep the best
// report that reaches the target. The active player's profile stores both as ";"-joined lists.
class GAwardTracker : public CRefCounted {
public:
    static constexpr int32_t kAwardCount = 17;

    GAwardTracker() = default;

    // True exactly when this report brought the progress from below the target to it; the
    // state is then 1. An index outside 0 to 16 changes nothing.
    bool reportProgress(int32_t index, int32_t value);
    // The state; 0 outside 0 to 16.
    int32_t isAchieved(int32_t index) const;
    // Nothing outside 0 to 16.
    void setAchieved(int32_t index, int32_t state);

    // The dictionary keys shown before and after award index is reached: "%AwardBefore_1%"
    // for index 0.
    static CStringW getBeforeTextKey(int32_t index);
    static CStringW getAfterTextKey(int32_t index);

    // Writes both lists into the active player's profile and has the profiles saved; nothing
    // without an active player.
    void save() const;
    // Every value 0, then the numbers of the text in order, up to seventeen; whatever else the
    // text holds is passed over.
    void loadProgress(const CStringW& text);
    void loadViewState(const CStringW& text);

protected:
    ~GAwardTracker() override = default;

private:
    int32_t m_progress[kAwardCount] = {};
    int32_t m_state[kAwardCount] = {};
};
