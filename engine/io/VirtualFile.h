#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/String.h"
#include "engine/io/IInputFile.h"
#include "engine/io/IOutputFile.h"

// A growable file in memory, kept in equal blocks that are allocated as writes reach them and
// freed only with the file. Its size is the highest position ever written.
class CVirtualFile : public IInputFile, public IOutputFile {
public:
    CVirtualFile(const CStringW& name, uint32_t blockSize);

    int32_t readBytes(void* buffer, int32_t count) override;
    // Returns 0 and logs when a block cannot be allocated; the size never reaches 2 GiB.
    int32_t writeBytes(const void* buffer, int32_t count) override;
    // Targets from 0 to the size are accepted; others are refused and leave the position.
    bool seekTo(int32_t position, bool relative) override;
    int32_t getLength() const override { return static_cast<int32_t>(m_size); }
    int32_t getPosition() const override { return static_cast<int32_t>(m_position); }
    const CStringW& getName() const override { return m_name; }

protected:
    ~CVirtualFile() override;

private:
    // Appends blocks until the capacity exceeds end; false when memory runs out.
    bool reserveBeyond(uint32_t end);
    // Copies count bytes between the blocks at the position and buffer, in either direction.
    template <bool toBlocks, typename Buffer>
    void copyAtPosition(Buffer* buffer, uint32_t count);

    CArray<uint8_t*> m_blocks;
    uint32_t m_blockSize;
    uint32_t m_size = 0;
    uint32_t m_position = 0;
    CStringW m_name;
};
