#include "engine/core/NumberList.h"

namespace {

template <typename Char>
void readNumberListT(const Char* text, float* values, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i)
        values[i] = 0;
    if (count == 0)
        return;
    uint32_t read = 0;
    scanNumbers(text, [&](float value) {
        values[read++] = value;
        return read < count;
    });
}

} // namespace

void readNumberList(const char* text, float* values, uint32_t count) {
    readNumberListT(text, values, count);
}

void readNumberList(const char16_t* text, float* values, uint32_t count) {
    readNumberListT(text, values, count);
}

void parseFourFloats(const char* text, float (&values)[4]) {
    readNumberListT(text, values, 4);
}

void parseFourFloats(const char16_t* text, float (&values)[4]) {
    readNumberListT(text, values, 4);
}
