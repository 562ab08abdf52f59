#pragma once

#include <cstdint>

#include "engine/core/RefCounted.h"
#include "engine/core/String.h"

// A readable, seekable file with a length and a name: disk files, memory files and
// windows onto archive entries all look like this to their readers.
class IInputFile : public virtual CRefCounted {
public:
    // Copies up to count bytes from the current position; returns how many were copied
    // (0 at the end, and for a count of 0 or less).
    virtual int32_t readBytes(void* buffer, int32_t count) = 0;
    // Moves to position, or to the current position + position when relative.
    virtual bool seekTo(int32_t position, bool relative) = 0;
    virtual int32_t getLength() const = 0;
    virtual int32_t getPosition() const = 0;
    virtual const CStringW& getName() const = 0;
    // Copies up to count bytes from position on, leaving the file's own position; returns how
    // many were copied. An archive and the entries it hands out share one file through this,
    // from several threads: disk, memory and slice files read in place; any other file seeks
    // and reads under one process-wide lock, which then restores its position.
    virtual int32_t readBytesAt(int32_t position, void* buffer, int32_t count);
};
