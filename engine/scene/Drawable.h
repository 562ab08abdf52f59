#pragma once

#include <cstdint>

#include "engine/core/Array.h"

class BaseNode;

// One entry of a render list: a node that draws itself, its depth (the z translation of its
// absolute matrix) and a sort key, the texture it draws with (0 for none), so that runs of one
// texture end up next to each other.
struct Drawable {
    BaseNode* node;
    float depth;
    uint32_t sortKey;
};

using RenderList = CArray<Drawable>;

// Ascending by depth, entries of equal depth by the key compared as unsigned; entries equal in
// both keep no particular order. Sorts in place without allocating.
void sortRenderList(RenderList& list);
