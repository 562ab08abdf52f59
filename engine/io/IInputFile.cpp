#include "engine/io/IInputFile.h"

#include <mutex>

int32_t IInputFile::readBytesAt(int32_t position, void* buffer, int32_t count) {
    static std::mutex lock;
    const std::lock_guard<std::mutex> held(lock);
    const int32_t previous = getPosition();
    const int32_t got = seekTo(position, false) ? readBytes(buffer, count) : 0;
    seekTo(previous, false);
    return got;
}
