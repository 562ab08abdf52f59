#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/RefCounted.h"

class CXmlTextReader;

// One point of a path: where it is, how far a traveller may stray to either side of it, the
// traveller's scale there, and the length of the car spline segment that starts here (-1 until
// the first car on the path has measured it).
struct PathPoint {
    float x = 0;
    float y = 0;
    float d1 = 0;
    float d2 = 0;
    float s = 1;
    float segmentLength = -1;
};

// A named list of points of a paths file, shared by its set and by every node travelling it.
class GPath : public CRefCounted {
public:
    GPath() = default;

    // Reads the "Path" element the reader stands on and its "p" points, up to its end tag.
    // Numbers that are not finite read as 0, so no traveller is put at such a place.
    void load(CXmlTextReader& reader);

    CNameId id;
    CArray<PathPoint> points;
    int32_t time[2] = {0, 0};
    CArray<CNameId> objects;
    // Travelled both ways.
    bool bi = false;

protected:
    ~GPath() override = default;
};
