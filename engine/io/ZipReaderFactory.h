#pragma once

#include "engine/io/IVirtualFilesReader.h"

// Mounts zip archives: names ending in "zip" or "pk3", or files starting with a local header.
class CZipReaderFactory : public IVirtualFilesReaderFactory {
public:
    using IVirtualFilesReaderFactory::IVirtualFilesReaderFactory;

    bool acceptsContent(IInputFile* file) override;
    bool acceptsName(const CStringW& path) override;
    // A reader whatever the file holds; the password is not used.
    CRefPointer<IVirtualFilesReader> createFromFile(IInputFile* file,
                                                    const char* password) override;
    // Opens the path through the file system, so a zip inside a mounted archive mounts too.
    CRefPointer<IVirtualFilesReader> createFromPath(const CStringW& path,
                                                    const char* password) override;

protected:
    ~CZipReaderFactory() override = default;
};
