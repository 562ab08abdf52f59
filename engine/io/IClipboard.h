#pragma once

#include "engine/core/String.h"

// The window system's clipboard, in UTF-8 as window systems speak it. The window layer
// implements it; the engine reaches it through ISystemInfo.
class IClipboard {
public:
    virtual ~IClipboard() = default;
    virtual void setText(const CString& text) = 0;
    // Empty when the clipboard holds no text.
    virtual CString getText() = 0;
};
