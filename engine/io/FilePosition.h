#pragma once

#include <cstdint>

// Positions and sizes of files are signed 32-bit: a file of 2 GiB or more is refused.
inline constexpr int64_t kMaxFileSize = INT32_MAX;

// The target of a seek, computed wide so that a relative seek cannot overflow.
inline int64_t seekTarget(int32_t current, int32_t position, bool relative) {
    return relative ? int64_t{current} + position : int64_t{position};
}
