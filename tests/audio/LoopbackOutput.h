#pragma once

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <cstdint>

#include "engine/audio/OpenALAudioDriver.h"

// OpenAL-soft's loopback device as an OpenAL output: nothing is heard, and the mix advances only
// as far as a test renders it, as 32-bit float stereo at 44100 Hz.
namespace loopback {

constexpr uint32_t kRate = 44100;

inline ALCdevice* openLoopback(const char*) {
    const auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
        alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    return open ? open(nullptr) : nullptr;
}

inline const OpenALOutput& output() {
    static const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                        ALC_STEREO_SOFT,
                                        ALC_FORMAT_TYPE_SOFT,
                                        ALC_FLOAT_SOFT,
                                        ALC_FREQUENCY,
                                        ALCint(kRate),
                                        0};
    static const OpenALOutput loopbackOutput = {openLoopback, attributes};
    return loopbackOutput;
}

} // namespace loopback
