#include "engine/audio/WaveSoundLoader.h"

#include "engine/audio/WaveSoundDecoder.h"

bool CWaveSoundLoader::acceptsExtension(const CStringW& extension) const {
    return extension == u"wav";
}

bool CWaveSoundLoader::acceptsContent(IInputFile* file) const {
    WaveFormat format;
    return file && CWaveSoundDecoder::parse(*file, format);
}

CRefPointer<CSoundDecoder> CWaveSoundLoader::load(IInputFile* file, const CContentKey&) const {
    CRefPointer<CSoundDecoder> decoder(new CWaveSoundDecoder(CRefPointer<IInputFile>::share(file)));
    return decoder->getTotalSamples() != 0 ? decoder : nullptr;
}
