#pragma once

#include "engine/io/ArchiveReaderFactory.h"

// Mounts zip archives: names ending in "zip" or "pk3", or files starting with a local header.
class CZipReaderFactory : public CArchiveReaderFactory {
public:
    using CArchiveReaderFactory::CArchiveReaderFactory;

    bool acceptsContent(IInputFile* file) override;
    bool acceptsName(const CStringW& path) override;

protected:
    ~CZipReaderFactory() override = default;

    // The password is not used.
    CRefPointer<IVirtualFilesReader> createReader(IInputFile* file, const char* password) override;
};
