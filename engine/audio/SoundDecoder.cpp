#include "engine/audio/SoundDecoder.h"

uint32_t bytesPerSample(int32_t sampleType) {
    switch (sampleType) {
    case kSampleMono8:
    case kSampleStereo8:
        return 1;
    case kSampleMono16:
    case kSampleStereo16:
        return 2;
    default:
        return 0;
    }
}

uint32_t CSoundDecoder::read(void*, uint32_t) {
    return 0;
}
