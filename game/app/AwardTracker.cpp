#include "game/app/AwardTracker.h"

#include "engine/core/Array.h"
#include "engine/core/Engine.h"
#include "engine/core/MathHelpers.h"
#include "engine/core/NumberList.h"
#include "engine/core/StringFunctions.h"
#include "engine/io/ProfileManager.h"

namespace {

constexpr int32_t kTargets[GAwardTracker::kAwardCount] = {1,     30,    30,    8,  6,  5,  9,  7, 5,
                                                          10000, 12500, 15000, 20, 30, 10, 15, 5};

bool isAward(int32_t index) {
    return index >= 0 && index < GAwardTracker::kAwardCount;
}

bool isBestValue(int32_t index) {
    return index >= 3 && index <= 11;
}

void loadValues(int32_t (&values)[GAwardTracker::kAwardCount], const CStringW& text) {
    for (int32_t& value : values)
        value = 0;
    int32_t read = 0;
    scanNumbers(text.c_str(), [&](float value) {
        values[read++] = truncateToInt(value);
        return read < GAwardTracker::kAwardCount;
    });
}

CString joinValues(const int32_t (&values)[GAwardTracker::kAwardCount]) {
    CArray<int> list;
    for (int32_t value : values)
        list.append(value);
    return joinIntList(list);
}

CStringW textKey(const char16_t* prefix, int32_t index) {
    return CStringW(prefix) + CStringW(index + 1) + u"%";
}

} // namespace

// Progress read from a profile may hold any number, so sums are made wide.
bool GAwardTracker::reportProgress(int32_t index, int32_t value) {
    if (!isAward(index))
        return false;
    const int32_t old = m_progress[index];
    const int32_t target = kTargets[index];
    if (isBestValue(index)) {
        if (value > old && value >= target)
            m_progress[index] = value;
    } else if (value == 0) {
        m_progress[index] = 0;
    } else if (value > 0 && int64_t(old) + value <= target) {
        m_progress[index] = old + value;
    }
    if (old >= target || m_progress[index] < target)
        return false;
    m_state[index] = 1;
    return true;
}

int32_t GAwardTracker::isAchieved(int32_t index) const {
    return isAward(index) ? m_state[index] : 0;
}

void GAwardTracker::setAchieved(int32_t index, int32_t state) {
    if (isAward(index))
        m_state[index] = state;
}

CStringW GAwardTracker::getBeforeTextKey(int32_t index) {
    return textKey(u"%AwardBefore_", index);
}

CStringW GAwardTracker::getAfterTextKey(int32_t index) {
    return textKey(u"%AwardAfter_", index);
}

void GAwardTracker::save() const {
    CEngine* engine = CEngine::instance();
    CProfileManager* profiles = engine != nullptr ? engine->getProfileManager() : nullptr;
    CProfileParameters* player = profiles != nullptr ? profiles->getActiveProfile() : nullptr;
    if (player == nullptr)
        return;
    player->setString("AchievementsProgress", joinValues(m_progress));
    player->setString("AchievementsViewState", joinValues(m_state));
    player->notifyChanged();
}

void GAwardTracker::loadProgress(const CStringW& text) {
    loadValues(m_progress, text);
}

void GAwardTracker::loadViewState(const CStringW& text) {
    loadValues(m_state, text);
}
