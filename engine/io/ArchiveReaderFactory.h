#pragma once

#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/IInputFile.h"
#include "engine/io/IVirtualFilesReader.h"

// The factories of archives that are files: a reader for any file, and for a path the file
// opened through the file system, so that an archive inside a mounted one mounts too.
class CArchiveReaderFactory : public IVirtualFilesReaderFactory {
public:
    using IVirtualFilesReaderFactory::IVirtualFilesReaderFactory;

    // A reader whatever the file holds, read from position 0; none without a file.
    CRefPointer<IVirtualFilesReader> createFromFile(IInputFile* file, const char* password) final;
    CRefPointer<IVirtualFilesReader> createFromPath(const CStringW& path,
                                                    const char* password) final;

protected:
    ~CArchiveReaderFactory() override = default;

    // The reader of the archive's kind for a file at position 0.
    virtual CRefPointer<IVirtualFilesReader> createReader(IInputFile* file,
                                                          const char* password) = 0;
};
