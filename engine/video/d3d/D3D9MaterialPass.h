#pragma once

#include <cstdint>

#include "engine/video/IMaterialPass.h"

// The base of the Direct3D 9 driver's material renderers: a renderer that can also take shader
// variables by name.
class CD3D9MaterialPass : public IMaterialPass {
public:
    // Renderers without named variables refuse, with a log line.
    virtual bool setVariable(bool vertex, const char* name, const float* data, int32_t count);
};
