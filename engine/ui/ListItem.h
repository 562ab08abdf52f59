#pragma once

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/video/AtlasTexture.h"

// One entry of a list: text and image columns for the children named "Text" and "Image" of
// the element that shows it, the template that element takes (none: the element's own), the
// state of its check box, whether it is enabled, and an object it keeps alive for its owner.
struct ListItem {
    CArray<CStringW> texts;
    CArray<CRefPointer<CAtlasTexture>> images;
    CNameId templateName;
    bool checked = false;
    bool enabled = true;
    CRefPointer<CRefCounted> attached;
};
