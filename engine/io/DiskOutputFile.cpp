#include "engine/io/DiskOutputFile.h"

#include "engine/io/Path.h"

CDiskOutputFile::CDiskOutputFile(const CStringW& name, bool append) : m_name(name) {
    if (!name.isEmpty()) {
        m_stream.openForWriting(toDiskPath(name).c_str(), append);
    }
}

int32_t CDiskOutputFile::writeBytes(const void* buffer, int32_t count) {
    return m_stream.write(buffer, count);
}

bool CDiskOutputFile::seekTo(int32_t position, bool relative) {
    return m_stream.seek(position, relative);
}

CRefPointer<IOutputFile> createDiskOutputFile(const CStringW& name, bool append) {
    CDiskOutputFile* file = new CDiskOutputFile(name, append);
    if (!file->isOpen()) {
        file->release();
        return nullptr;
    }
    return CRefPointer<IOutputFile>(file);
}
