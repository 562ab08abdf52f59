#pragma once

#include <cstddef>
#include <cstdint>

// A script of reads, writes and seeks with the result and position expected after each.
enum class Op { Read, Write, Seek, SeekRelative };

struct Step {
    Op op;
    int32_t arg;
    int32_t result; // bytes moved, or 1/0 for a seek
    int32_t position;
};

// Applies the steps to a file; returns the index of the first step that went wrong, or -1.
// Reads and writes move at most 64 bytes.
template <typename File, size_t N>
int runSteps(File& file, const Step (&steps)[N]) {
    uint8_t buffer[64] = {};
    for (size_t i = 0; i < N; ++i) {
        const Step& s = steps[i];
        int32_t result = 0;
        switch (s.op) {
        case Op::Read:
            if constexpr (requires { file.readBytes(buffer, s.arg); }) {
                result = file.readBytes(buffer, s.arg);
            }
            break;
        case Op::Write:
            if constexpr (requires { file.writeBytes(buffer, s.arg); }) {
                result = file.writeBytes(buffer, s.arg);
            }
            break;
        case Op::Seek:
            result = file.seekTo(s.arg, false);
            break;
        case Op::SeekRelative:
            result = file.seekTo(s.arg, true);
            break;
        }
        if (result != s.result || file.getPosition() != s.position) {
            return int(i);
        }
    }
    return -1;
}
