#pragma once

#include <cstdint>

#include "engine/core/RefCounted.h"
#include "engine/core/String.h"

// The few questions the engine asks the operating system. Outputs are written only where the
// caller passes a place for them.
class ISystemInfo : public virtual CRefCounted {
public:
    // A readable description of the system for the log; empty when it cannot be had.
    virtual CStringW getVersionText() = 0;
    // An empty text leaves the clipboard as it is.
    virtual void setClipboardText(const CStringW& text) = 0;
    // Empty when the clipboard holds no text.
    virtual CStringW getClipboardText() = 0;
    virtual bool getProcessorSpeed(uint32_t* megahertz) = 0;
    virtual bool getSystemMemory(uint64_t* totalKilobytes, uint64_t* availableKilobytes) = 0;
};
