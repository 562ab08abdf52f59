#include "engine/scene/Drawable.h"

#include <algorithm>
#include <bit>

namespace {

// Depth and key as one number in the list's order. Depths map to unsigned integers that order
// like the floats (0 and -0 alike), and every NaN gets a fixed place, so that the order stays
// strict whatever a transform produced.
uint64_t orderOf(const Drawable& entry) {
    const float depth = entry.depth == 0.0f ? 0.0f : entry.depth;
    const uint32_t bits = std::bit_cast<uint32_t>(depth);
    const uint32_t ordered = (bits & 0x80000000u) != 0 ? ~bits : bits | 0x80000000u;
    return uint64_t(ordered) << 32 | entry.sortKey;
}

} // namespace

void sortRenderList(RenderList& list) {
    std::sort(list.begin(), list.end(),
              [](const Drawable& a, const Drawable& b) { return orderOf(a) < orderOf(b); });
}
