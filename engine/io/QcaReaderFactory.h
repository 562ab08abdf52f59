#pragma once

#include "engine/io/IVirtualFilesReader.h"

// Mounts packed archives: names ending in "qca", or files starting with the magic "QCA\0".
class CQcaReaderFactory : public IVirtualFilesReaderFactory {
public:
    using IVirtualFilesReaderFactory::IVirtualFilesReaderFactory;

    bool acceptsContent(IInputFile* file) override;
    bool acceptsName(const CStringW& path) override;
    // A reader whatever the file holds.
    CRefPointer<IVirtualFilesReader> createFromFile(IInputFile* file,
                                                    const char* password) override;
    // Opens the path through the file system, so an archive inside another mounts too.
    CRefPointer<IVirtualFilesReader> createFromPath(const CStringW& path,
                                                    const char* password) override;

protected:
    ~CQcaReaderFactory() override = default;
};
