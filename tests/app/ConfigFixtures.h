#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "engine/core/NameId.h"
#include "engine/core/Properties.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/core/Utf.h"
#include "engine/io/MemoryBlockFile.h"
#include "engine/io/VirtualFileSystem.h"
#include "engine/io/XmlTextReader.h"

// The configuration files of tests/app/fixtures and small documents written in the tests.
namespace config_fixtures {

inline std::filesystem::path fixturePath(const char* name) {
    return std::filesystem::path(VANTOR_SOURCE_DIR) / "tests" / "app" / "fixtures" / name;
}

// A file system whose only source is the fixture folder, so names such as
// "levels/common/LevelConfigs.xml" are found there.
inline CRefPointer<IVirtualFileSystem> fixtureFiles(const char* folder) {
    CRefPointer<IVirtualFileSystem> files(new CVirtualFileSystem);
    EXPECT_NE(files->addArchive(utf8ToUtf16(fixturePath(folder).string().c_str()), nullptr),
              nullptr);
    return files;
}

// A reader over an 8-bit document; the reader keeps its own copy of the text.
inline CRefPointer<CXmlTextReader> readerOver(std::string text) {
    CRefPointer<CMemoryBlockFile> file(new CMemoryBlockFile(
        reinterpret_cast<uint8_t*>(text.data()), int32_t(text.size()), u"test.xml", false));
    return CRefPointer<CXmlTextReader>(new CXmlTextReader(file.get()));
}

// Moves the reader to the first element of that name.
inline void moveToElement(CXmlTextReader& reader, const char16_t* name) {
    while (reader.readNext()) {
        if (reader.nodeKind() == CXmlTextReader::kElement && reader.nodeName() == name)
            return;
    }
    ADD_FAILURE() << "no such element";
}

inline CNameId name(const char* text) {
    return CNameId(CString(text));
}

inline std::string text(CNameId id) {
    return id.toString().c_str();
}

inline CRefPointer<CProperties> profileWithDifficulty(int32_t difficulty) {
    CRefPointer<CProperties> profile(new CProperties);
    profile->setInt("PlayerDifficulty", difficulty);
    return profile;
}

} // namespace config_fixtures
