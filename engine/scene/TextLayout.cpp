#include "engine/scene/TextLayout.h"

#include <cmath>
#include <utility>

#include "engine/video/FontBase.h"

namespace {

// A line being split: a run of the text.
struct LineRun {
    uint32_t start;
    uint32_t length;
    bool hardBreak;
};

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

void trimRun(const CStringW& text, LineRun& run) {
    while (run.length > 0 && isBlank(text[run.start])) {
        ++run.start;
        --run.length;
    }
    while (run.length > 0 && isBlank(text[run.start + run.length - 1]))
        --run.length;
}

} // namespace

void splitTextLines(const CStringW& text, const TextSplitSettings& settings,
                    CArray<TextLine>& lines) {
    const bool wraps = settings.wordWrap && settings.font != nullptr;
    CArray<LineRun> runs;
    runs.append({0, 0, false});
    float lineWidth = 0;
    // The last place the line may be cut: the length it keeps and where reading goes on; none
    // while keep is -1.
    int64_t keep = -1;
    uint32_t resume = 0;
    const uint32_t length = text.length();
    for (uint32_t i = 0; i < length; ++i) {
        char16_t c = text[i];
        if (c == u'\r' && i + 1 < length && text[i + 1] == u'\n')
            c = text[++i];
        if (c == u'\r' || c == u'\n') {
            runs[runs.size() - 1].hardBreak = true;
            runs.append({i + 1, 0, false});
            lineWidth = 0;
            keep = -1;
            continue;
        }
        LineRun& run = runs[runs.size() - 1];
        if (wraps) {
            lineWidth +=
                (settings.font->getGlyphExtent(c, false).x + settings.spacing) * settings.scale;
            if (lineWidth > settings.width && keep >= 0) {
                run.length = uint32_t(keep);
                runs.append({resume, 0, false});
                i = resume - 1;
                lineWidth = 0;
                keep = -1;
                continue;
            }
        }
        if (c == u' ' || c == u'-') {
            keep = c == u' ' ? run.length : run.length + 1;
            resume = i + 1;
        }
        ++run.length;
    }
    lines.clear();
    for (LineRun& run : runs) {
        if (settings.trim)
            trimRun(text, run);
        TextLine line;
        line.text.assign(text.c_str() + run.start, run.length);
        line.start = run.start;
        line.hardBreak = run.hardBreak;
        lines.append(std::move(line));
    }
}

void shareJustificationWidth(float freeWidth, uint32_t spaceCount, CArray<float>& extras) {
    extras.clear();
    if (spaceCount == 0)
        return;
    const float share = std::floor(freeWidth / float(spaceCount) + 0.5f);
    while (extras.size() < spaceCount) {
        extras.append(share);
        freeWidth -= share;
        if (freeWidth <= 0) {
            extras[extras.size() - 1] += freeWidth;
            return;
        }
    }
}
