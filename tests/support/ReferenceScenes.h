#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/RefPointer.h"
#include "engine/video/IRenderDriver.h"
#include "engine/video/ImageTexture.h"
#include "engine/video/SoftwareImage.h"

// The reference scenes every video driver draws alike, on a 96 x 72 screen: flat shapes, images,
// fog and light, the materials of one and two textures, and a render target. Their pictures
// are the OpenGL driver's golden PNGs, which the other drivers must match.
constexpr uint32_t kReferenceSceneWidth = 96;
constexpr uint32_t kReferenceSceneHeight = 72;

// The driver a scene draws with, and the image textures it keeps for the frame.
struct ReferenceSceneCanvas {
    IRenderDriver& driver;
    std::vector<CRefPointer<CImageTexture>> images;

    CImageTexture* imageTexture(const CRefPointer<CSoftwareImage>& image);
    // The usual first steps of a frame's 2D drawing.
    void begin2D(CColor clearColor = CColor(0xFF000000));
};

struct ReferenceScene {
    // The golden picture's name.
    const char* golden;
    void (*draw)(ReferenceSceneCanvas& canvas);
};

constexpr size_t kReferenceSceneCount = 6;
extern const ReferenceScene kReferenceScenes[kReferenceSceneCount];
