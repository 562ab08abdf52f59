#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/String.h"

class CFontBase;

// One line of a laid-out text: a run of the text's characters.
struct TextLine {
    CStringW text;
    // Where the line's first character stands in the text it was split from.
    uint32_t start = 0;
    // Ended at a line break of the text, not by word wrap.
    bool hardBreak = false;
};

struct TextSplitSettings {
    // Without a font nothing wraps.
    const CFontBase* font = nullptr;
    float scale = 1;
    // Spacing after every character.
    float spacing = 0;
    // Lines wrap when they grow wider than this.
    float width = 0;
    bool wordWrap = false;
    // Leading and trailing blanks are dropped from every line.
    bool trim = false;
};

// Splits the text at its line breaks (CR LF, CR or LF) and, with word wrap, where a line grows
// too wide: before its last space, which is dropped, or after its last hyphen. A line without
// either grows beyond the width. There is always at least one line.
void splitTextLines(const CStringW& text, const TextSplitSettings& settings,
                    CArray<TextLine>& lines);

// The widths that the spaces of a justified line add in turn, at most one a space, each the
// free width shared out and rounded; once the free width is used up the last one takes the
// remainder, so that the line ends on the width.
void shareJustificationWidth(float freeWidth, uint32_t spaceCount, CArray<float>& extras);
