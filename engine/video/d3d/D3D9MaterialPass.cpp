#include "engine/video/d3d/D3D9MaterialPass.h"

#include "engine/video/d3d/D3DLog.h"

bool CD3D9MaterialPass::setVariable(bool, const char*, const float*, int32_t) {
    logD3DInformation("Invalid material to set variable in.");
    return false;
}
