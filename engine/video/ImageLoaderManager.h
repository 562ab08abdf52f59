#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/ContentKey.h"
#include "engine/core/EventReceiver.h"
#include "engine/core/RefPointer.h"
#include "engine/io/IInputFile.h"
#include "engine/io/IOutputFile.h"
#include "engine/video/IImageDecoder.h"
#include "engine/video/IImageEncoder.h"
#include "engine/video/SoftwareImage.h"

// Reads and writes images with the codec that fits the file: decoders JPEG, jpga, PNG, qimg
// and encoders JPEG, PNG, asked in that order, so the first that succeeds wins.
class CImageLoaderManager : public CEventReceiver {
public:
    // Stands for "no quality given" (100).
    static constexpr int32_t kNoQuality = -1;

    CImageLoaderManager();

    // First every decoder that takes the file's extension, then every decoder that recognises
    // the content; a decoder that accepts but fails does not stop the search. None when all fail.
    CRefPointer<CSoftwareImage> loadImage(IInputFile* file, const CContentKey& key) const;
    // With the first encoder that takes the output file's extension and writes it.
    bool writeImage(const CSoftwareImage* image, IOutputFile* file,
                    int32_t quality = kNoQuality) const;

protected:
    ~CImageLoaderManager() override = default;

private:
    CArray<CRefPointer<IImageDecoder>> m_decoders;
    CArray<CRefPointer<IImageEncoder>> m_encoders;
};
