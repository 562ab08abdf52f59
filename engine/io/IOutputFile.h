#pragma once

#include <cstdint>

#include "engine/core/RefCounted.h"
#include "engine/core/String.h"

// A writable, seekable file with a name.
class IOutputFile : public virtual CRefCounted {
public:
    // Writes up to count bytes at the current position; returns how many were written
    // (0 for a count of 0 or less).
    virtual int32_t writeBytes(const void* buffer, int32_t count) = 0;
    // Moves to position, or to the current position + position when relative.
    virtual bool seekTo(int32_t position, bool relative) = 0;
    virtual int32_t getPosition() const = 0;
    virtual const CStringW& getName() const = 0;
};
