#pragma once

#include "engine/io/ArchiveReaderFactory.h"

// Mounts packed archives: names ending in "qca", or files starting with the magic "QCA\0".
class CQcaReaderFactory : public CArchiveReaderFactory {
public:
    using CArchiveReaderFactory::CArchiveReaderFactory;

    bool acceptsContent(IInputFile* file) override;
    bool acceptsName(const CStringW& path) override;

protected:
    ~CQcaReaderFactory() override = default;

    CRefPointer<IVirtualFilesReader> createReader(IInputFile* file, const char* password) override;
};
