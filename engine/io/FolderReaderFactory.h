#pragma once

#include "engine/io/IVirtualFilesReader.h"

// Mounts existing folders, named by a path without an extension; never by content.
class CFolderReaderFactory : public IVirtualFilesReaderFactory {
public:
    using IVirtualFilesReaderFactory::IVirtualFilesReaderFactory;

    bool acceptsContent(IInputFile*) override { return false; }
    bool acceptsName(const CStringW& path) override;
    CRefPointer<IVirtualFilesReader> createFromFile(IInputFile*, const char*) override {
        return nullptr;
    }
    // A reader over the absolute form of path when that is an existing folder; the working
    // directory is not changed. The password is not used.
    CRefPointer<IVirtualFilesReader> createFromPath(const CStringW& path,
                                                    const char* password) override;

protected:
    ~CFolderReaderFactory() override = default;
};
