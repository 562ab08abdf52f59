#pragma once

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/audio/OpenALAudioDriver.h"
#include "engine/audio/SoundLoaderManager.h"
#include "engine/core/Event.h"
#include "tests/audio/LoopbackOutput.h"
#include "tests/audio/SoundFixtures.h"

// An OpenAL driver on OpenAL-soft's loopback device: nothing is heard, and the test renders the
// mix itself, as 32-bit float stereo at 44100 Hz.
namespace loopback {

inline CRefPointer<COpenALAudioDriver> makeDriver(bool thread = false) {
    const CRefPointer<CSoundLoaderManager> loaders(new CSoundLoaderManager());
    AudioParameters parameters;
    parameters.driverType = 1;
    parameters.thread = thread;
    return COpenALAudioDriver::create(parameters, nullptr, loaders.get(), output());
}

// The left channel of the next frames of the mix.
inline std::vector<float> render(COpenALAudioDriver& driver, uint32_t frames) {
    static const auto renderSamples = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(
        alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    std::vector<float> stereo(size_t(frames) * 2);
    renderSamples(driver.getDevice(), stereo.data(), ALCsizei(frames));
    std::vector<float> left(frames);
    for (uint32_t i = 0; i < frames; ++i)
        left[i] = stereo[size_t(i) * 2];
    return left;
}

// Renders in steps of 0.05 s with an update event before each, as the engine's frames do
// when the driver runs without its thread.
inline std::vector<float> play(COpenALAudioDriver& driver, uint32_t frames) {
    std::vector<float> out;
    while (out.size() < frames) {
        CEventSystemFlowUpdate update(50);
        driver.OnEvent(update);
        const uint32_t step =
            frames - uint32_t(out.size()) < 2205 ? frames - uint32_t(out.size()) : 2205;
        const std::vector<float> part = render(driver, step);
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

// What a full-scale mono sample becomes in one output channel: OpenAL pans a mono source
// between the two speakers.
inline float centreGain(COpenALAudioDriver& driver) {
    const sounds::Bytes probe = sounds::wave16(1, kRate, std::vector<int16_t>(16, 16384));
    const CRefPointer<CSoundSource> source =
        driver.createSound(sounds::file(probe, "probe.wav").get(), CContentKey());
    source->play();
    const float gain = render(driver, 1)[0] * 2.0f;
    source->stop();
    render(driver, 16);
    return gain;
}

inline float peak(const std::vector<float>& samples, size_t from, size_t to) {
    float largest = 0.0f;
    for (size_t i = from; i < to && i < samples.size(); ++i)
        largest = std::fabs(samples[i]) > largest ? std::fabs(samples[i]) : largest;
    return largest;
}

} // namespace loopback
