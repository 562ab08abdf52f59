#pragma once

#include <cstdint>

#include "engine/core/String.h"
#include "engine/io/IInputFile.h"
#include "engine/io/IOutputFile.h"

// A fixed block of memory read and written as a file. Nothing is copied: the block stays the
// caller's unless deleteWhenDropped hands it over, in which case it is freed with delete[].
// The block never grows; reads and writes stop at its end.
class CMemoryBlockFile : public IInputFile, public IOutputFile {
public:
    CMemoryBlockFile(uint8_t* data, int32_t size, const CStringW& name, bool deleteWhenDropped);

    int32_t readBytes(void* buffer, int32_t count) override;
    int32_t writeBytes(const void* buffer, int32_t count) override;
    // Targets from 0 to the size are accepted; others are refused and leave the position.
    bool seekTo(int32_t position, bool relative) override;
    int32_t readBytesAt(int32_t position, void* buffer, int32_t count) override;
    int32_t getLength() const override { return m_size; }
    int32_t getPosition() const override { return m_position; }
    const CStringW& getName() const override { return m_name; }

protected:
    ~CMemoryBlockFile() override;

private:
    // How many of count bytes fit between the position and the end.
    int32_t clip(int32_t count) const;

    uint8_t* m_data;
    int32_t m_size;
    int32_t m_position = 0;
    CStringW m_name;
    bool m_deleteWhenDropped;
};
