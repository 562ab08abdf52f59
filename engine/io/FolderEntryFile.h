#pragma once

#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/DiskInputFile.h"

// A disk file below a mounted folder that answers the name it was asked for, not its disk path.
class CFolderEntryFile : public CDiskInputFile {
public:
    CFolderEntryFile(const CStringW& diskPath, const CStringW& entryName);

    const CStringW& getName() const override { return m_entryName; }

protected:
    ~CFolderEntryFile() override = default;

private:
    CStringW m_entryName;
};

// The opened file, or null when it does not open.
CRefPointer<IInputFile> createFolderEntryFile(const CStringW& diskPath, const CStringW& entryName);
