#pragma once

#include "engine/video/IImageDecoder.h"

// The engine's qimg container: a colour part and an optional alpha part, each raw pixels, PNG or
// JPEG, followed by a 16-byte footer that ends with the bytes "GMIQ".
class CQimgImageDecoder : public IImageDecoder {
public:
    bool acceptsExtension(const CStringW& extension) const override;
    // Looks at the last four bytes of the file.
    bool acceptsContent(IInputFile* file) const override;
    CRefPointer<CSoftwareImage> load(IInputFile* file, const CContentKey& key) const override;
};
