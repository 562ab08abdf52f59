#include "engine/video/IMaterialPass.h"

void IMaterialPass::applyStates(const RenderMaterial&, const RenderMaterial&, bool,
                                IRendererServices*) {}

bool IMaterialPass::beforeDraw(IRendererServices*, uint32_t) {
    return true;
}

void IMaterialPass::restoreStates() {}

bool IMaterialPass::usesTransparency() const {
    return false;
}

int32_t IMaterialPass::capabilityLevel() const {
    return 0;
}
