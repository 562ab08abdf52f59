#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/RefPointer.h"
#include "engine/video/IRenderDriver.h"
#include "engine/video/ImageTexture.h"
#include "engine/video/RenderMaterial.h"
#include "engine/video/SoftwareImage.h"

class CQuadBatcher;

// The reference scenes every video driver draws alike, on a 96 x 72 screen: flat shapes, images,
// fog and light, the materials of one and two textures, a render target, and lines and pixels.
// Their pictures are the OpenGL driver's golden PNGs, which the other drivers must match.
constexpr uint32_t kReferenceSceneWidth = 96;
constexpr uint32_t kReferenceSceneHeight = 72;

// The pieces the scenes are drawn from, for the driver tests that draw scenes of their own.
namespace reference_scenes {

// Vertex colours and textures as they are: no lighting.
RenderMaterial flatMaterial(uint32_t type = MATERIAL_SOLID);
// Eight by eight: a colour checker whose alpha falls from left to right.
uint32_t checkerTexel(int32_t x, int32_t y);
// The material's texture stretched over the rectangle.
void addQuad(CQuadBatcher& batch, const RenderMaterial& material, float left, float top,
             float right, float bottom, CColor color);

} // namespace reference_scenes

// The driver a scene draws with, and the image textures it keeps for the frame.
struct ReferenceSceneCanvas {
    IRenderDriver& driver;
    std::vector<CRefPointer<CImageTexture>> images;

    // An image texture, kept with the canvas, made from an image the caller fills.
    CImageTexture* imageTexture(const CRefPointer<CSoftwareImage>& image);
    // The usual first steps of a frame's 2D drawing.
    void begin2D(CColor clearColor = CColor(0xFF000000));
};

struct ReferenceScene {
    // The golden picture's name.
    const char* golden;
    void (*draw)(ReferenceSceneCanvas& canvas);
};

constexpr size_t kReferenceSceneCount = 7;
extern const ReferenceScene kReferenceScenes[kReferenceSceneCount];
