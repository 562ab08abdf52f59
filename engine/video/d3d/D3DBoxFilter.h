#pragma once

#include <cstdint>

// One mip level from the level above it: each lower pixel averages the 2 x 2 upper pixels it
// covers, channel by channel, truncating. An upper level one pixel wide or high averages that
// one column or row with itself.
struct MipLevelView {
    uint8_t* bits;
    int32_t pitch;
    uint32_t width;
    uint32_t height;
};

void boxFilterA8R8G8B8(const MipLevelView& upper, const MipLevelView& lower);
// R5G6B5, or A1R5G5B5 with its alpha bit.
void boxFilter16(const MipLevelView& upper, const MipLevelView& lower, bool a1r5g5b5);
// A1R5G5B5 by its 5-bit fields as they are; the alpha bit only where all four pixels have it.
void boxFilterA1R5G5B5Fields(const MipLevelView& upper, const MipLevelView& lower);
// A4R4G4B4 by its 4-bit fields as they are.
void boxFilterA4R4G4B4(const MipLevelView& upper, const MipLevelView& lower);
