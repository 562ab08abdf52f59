#pragma once

#include <cstdint>
#include <cstdio>

// The one place that talks to the C library's buffered file streams. Paths are UTF-8 with '/'
// separators; every stream is binary. Sizes and positions beyond 2 GiB are refused.
class CStdioFile {
public:
    CStdioFile() = default;
    CStdioFile(const CStdioFile&) = delete;
    CStdioFile& operator=(const CStdioFile&) = delete;
    ~CStdioFile() { close(); }

    // Opens an existing regular file; folders, devices, pipes and files of 2 GiB or more fail.
    bool openForReading(const char* path);
    // Creates or truncates the file, or appends to it.
    bool openForWriting(const char* path, bool append);
    void close();

    bool isOpen() const { return m_stream != nullptr; }
    // The size measured when the file was opened for reading.
    int32_t getLength() const { return m_length; }

    int32_t read(void* buffer, int32_t count);
    // Reads at position through the descriptor, past the stream's buffer and position; the
    // file is only read, so the buffer stays true.
    int32_t readAt(int32_t position, void* buffer, int32_t count) const;
    int32_t write(const void* buffer, int32_t count);
    // Refuses targets outside 0 .. 2 GiB - 1.
    bool seek(int32_t position, bool relative);
    int32_t tell() const;

private:
    std::FILE* m_stream = nullptr;
    int32_t m_length = 0;
};
