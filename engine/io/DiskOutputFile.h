#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/IOutputFile.h"
#include "engine/io/StdioFile.h"

// A file on disk opened for writing in binary mode, created or truncated, or appended to.
class CDiskOutputFile : public IOutputFile {
public:
    // An empty name opens nothing.
    CDiskOutputFile(const CStringW& name, bool append);

    // Stops short of 2 GiB.
    int32_t writeBytes(const void* buffer, int32_t count) override;
    // Refuses targets before the start or beyond 2 GiB.
    bool seekTo(int32_t position, bool relative) override;
    int32_t getPosition() const override { return m_stream.tell(); }
    const CStringW& getName() const override { return m_name; }
    bool isOpen() const { return m_stream.isOpen(); }

protected:
    ~CDiskOutputFile() override = default;

private:
    CStringW m_name;
    CStdioFile m_stream;
};

// The opened file, or null when it does not open.
CRefPointer<IOutputFile> createDiskOutputFile(const CStringW& name, bool append);
