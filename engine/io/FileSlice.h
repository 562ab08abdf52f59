#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/IInputFile.h"

// A read-only window onto part of another file, under a name of its own. Every read is a
// positional read of the source, so any number of slices and other readers, on any threads,
// can share one source.
class CFileSlice : public IInputFile {
public:
    // The window [offset, offset + size) is clamped to the source's bytes: offsets and sizes
    // come from archive headers and may be anything. Without a source the slice is empty.
    CFileSlice(const CStringW& name, IInputFile* source, int32_t offset, int32_t size);

    int32_t readBytes(void* buffer, int32_t count) override;
    // Clamps the target into the window and always succeeds.
    bool seekTo(int32_t position, bool relative) override;
    int32_t readBytesAt(int32_t position, void* buffer, int32_t count) override;
    int32_t getLength() const override { return m_end - m_start; }
    int32_t getPosition() const override { return m_position; }
    const CStringW& getName() const override { return m_name; }

protected:
    ~CFileSlice() override = default;

private:
    CStringW m_name;
    int32_t m_start = 0;
    int32_t m_end = 0;
    int32_t m_position = 0;
    CRefPointer<IInputFile> m_source;
};

// A slice holding its own reference to source (none when source is null).
CRefPointer<IInputFile> createFileSlice(const CStringW& name, IInputFile* source, int32_t offset,
                                        int32_t size);
