#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/IInputFile.h"
#include "engine/io/StdioFile.h"

// A regular file on disk opened for reading in binary mode; its length is measured at open.
// Folders, devices and files of 2 GiB or more do not open. Derived classes may answer another
// name than the disk path.
class CDiskInputFile : public IInputFile {
public:
    // An empty name opens nothing.
    explicit CDiskInputFile(const CStringW& name);

    int32_t readBytes(void* buffer, int32_t count) override;
    // Refuses targets before the start or beyond 2 GiB.
    bool seekTo(int32_t position, bool relative) override;
    // One positional read of the file, safe beside any other reads.
    int32_t readBytesAt(int32_t position, void* buffer, int32_t count) override;
    int32_t getLength() const override { return m_stream.getLength(); }
    int32_t getPosition() const override { return m_stream.tell(); }
    const CStringW& getName() const override { return m_name; }
    virtual bool isOpen() const { return m_stream.isOpen(); }

protected:
    ~CDiskInputFile() override = default;

private:
    CStringW m_name;
    CStdioFile m_stream;
};

// The opened file, or null when it does not open.
CRefPointer<IInputFile> createDiskInputFile(const CStringW& name);
