#include "engine/audio/OggSoundLoader.h"

#include "engine/audio/OggSoundDecoder.h"

bool COggSoundLoader::acceptsExtension(const CStringW& extension) const {
    return extension == u"ogg";
}

bool COggSoundLoader::acceptsContent(IInputFile* file) const {
    return COggSoundDecoder::isOggVorbis(file);
}

CRefPointer<CSoundDecoder> COggSoundLoader::load(IInputFile* file, const CContentKey&) const {
    CRefPointer<CSoundDecoder> decoder(new COggSoundDecoder(CRefPointer<IInputFile>::share(file)));
    return decoder->getTotalSamples() != 0 ? decoder : nullptr;
}
