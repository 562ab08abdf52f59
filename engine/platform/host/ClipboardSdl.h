#pragma once

#include "engine/io/IClipboard.h"

// The desktop's clipboard through SDL. It needs SDL's video running, which a
// CHostWindowSystemSdl keeps while it lives; without it the clipboard reads as empty.
class CClipboardSdl : public IClipboard {
public:
    void setText(const CString& text) override;
    CString getText() override;
};
