#pragma once

#include <string>

#include "engine/io/IClipboard.h"

// Stands in for the window system's clipboard; counts writes so tests can tell an untouched
// clipboard from one written with the same text.
class FakeClipboard : public IClipboard {
public:
    void setText(const CString& text) override {
        this->text = text.c_str();
        ++writes;
    }
    CString getText() override { return CString(text.c_str()); }

    std::string text;
    int writes = 0;
};
