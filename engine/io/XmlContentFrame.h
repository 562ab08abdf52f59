#pragma once

#include "engine/core/ContentKey.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/Content.h"
#include "engine/io/ContentManager.h"
#include "engine/io/IInputFile.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/io/XmlTextReader.h"

// Keeps a file's name on top of the content manager's directory stack while the file is read,
// so that names inside it resolve against the file's own folder.
class CContentDirectoryScope {
public:
    CContentDirectoryScope(CContentManager& manager, const CStringW& fileName)
        : m_manager(manager) {
        m_manager.pushDirectory(fileName);
    }
    ~CContentDirectoryScope() { m_manager.popDirectory(); }
    CContentDirectoryScope(const CContentDirectoryScope&) = delete;
    CContentDirectoryScope& operator=(const CContentDirectoryScope&) = delete;

private:
    CContentManager& m_manager;
};

// The load of the processors that read XML: opens a reader on the file, makes the object with
// make(key) and lets read(object, reader) fill it with the file's name on the directory stack.
// None when the reader does not open or make gives nothing.
template <typename Make, typename Read>
CRefPointer<CContent> loadXmlContent(CContentManager& manager, IVirtualFileSystem& files,
                                     IInputFile* file, const CContentKey& key, Make make,
                                     Read read) {
    const CRefPointer<CXmlTextReader> reader = files.openXmlReader(file);
    if (!reader)
        return nullptr;
    auto object = make(key);
    if (!object)
        return nullptr;
    const CContentDirectoryScope scope(manager, file->getName());
    read(*object, *reader);
    return object;
}
