#pragma once

#include <cstdint>

#include "engine/core/RefCounted.h"

class IInputFile;
class IShaderCallback;

// Makes material types from shader programs. Every creating operation answers the new material
// type, or -1 when none was made. Programs, files and paths may each be none.
class IShaderServices : public virtual CRefCounted {
public:
    virtual int32_t createHighLevelMaterial(const char* vertexProgram, const char* vertexEntry,
                                            int32_t vertexTarget, const char* pixelProgram,
                                            const char* pixelEntry, int32_t pixelTarget,
                                            IShaderCallback* callback, int32_t baseMaterialType,
                                            int32_t userData) = 0;
    // Reads each file whole into a text and calls createHighLevelMaterial.
    virtual int32_t createHighLevelMaterialFromFiles(IInputFile* vertexFile,
                                                     const char* vertexEntry, int32_t vertexTarget,
                                                     IInputFile* pixelFile, const char* pixelEntry,
                                                     int32_t pixelTarget, IShaderCallback* callback,
                                                     int32_t baseMaterialType,
                                                     int32_t userData) = 0;
    // Opens each path through the file system and calls createHighLevelMaterialFromFiles.
    virtual int32_t createHighLevelMaterialFromPaths(
        const char16_t* vertexPath, const char* vertexEntry, int32_t vertexTarget,
        const char16_t* pixelPath, const char* pixelEntry, int32_t pixelTarget,
        IShaderCallback* callback, int32_t baseMaterialType, int32_t userData) = 0;
    virtual int32_t createAsmMaterial(const char* vertexProgram, const char* pixelProgram,
                                      IShaderCallback* callback, int32_t baseMaterialType,
                                      int32_t userData) = 0;
    virtual int32_t createAsmMaterialFromPaths(const char16_t* vertexPath,
                                               const char16_t* pixelPath, IShaderCallback* callback,
                                               int32_t baseMaterialType, int32_t userData) = 0;
    virtual int32_t createAsmMaterialFromFiles(IInputFile* vertexFile, IInputFile* pixelFile,
                                               IShaderCallback* callback, int32_t baseMaterialType,
                                               int32_t userData) = 0;
};
