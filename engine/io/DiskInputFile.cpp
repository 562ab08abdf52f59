#include "engine/io/DiskInputFile.h"

#include "engine/io/Path.h"

CDiskInputFile::CDiskInputFile(const CStringW& name) : m_name(name) {
    if (!name.isEmpty()) {
        m_stream.openForReading(toDiskPath(name).c_str());
    }
}

int32_t CDiskInputFile::readBytes(void* buffer, int32_t count) {
    return m_stream.read(buffer, count);
}

int32_t CDiskInputFile::readBytesAt(int32_t position, void* buffer, int32_t count) {
    return m_stream.readAt(position, buffer, count);
}

bool CDiskInputFile::seekTo(int32_t position, bool relative) {
    return m_stream.seek(position, relative);
}

CRefPointer<IInputFile> createDiskInputFile(const CStringW& name) {
    CDiskInputFile* file = new CDiskInputFile(name);
    if (!file->isOpen()) {
        file->release();
        return nullptr;
    }
    return CRefPointer<IInputFile>(file);
}
