#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefCounted.h"

struct CVideoMode {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bits = 0;

    bool operator==(const CVideoMode& other) const = default;
};

// The display modes the screen offers, each once, ascending by width, then height, then bits;
// with the desktop's mode and the screen's metrics as the device found them.
class CVideoModeList : public CRefCounted {
public:
    // A mode already listed is skipped.
    void addMode(const CVideoMode& mode);
    uint32_t getModeCount() const { return m_modes.size(); }
    const CVideoMode& getMode(uint32_t index) const { return m_modes[index]; }

    void setDesktopMode(const CVideoMode& mode) { m_desktopMode = mode; }
    const CVideoMode& getDesktopMode() const { return m_desktopMode; }
    void setScreenMetrics(const CVideoMode& metrics) { m_screenMetrics = metrics; }
    const CVideoMode& getScreenMetrics() const { return m_screenMetrics; }

private:
    CArray<CVideoMode> m_modes;
    CVideoMode m_desktopMode;
    CVideoMode m_screenMetrics;
};
