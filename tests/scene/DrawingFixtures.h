#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/scene/BaseNode.h"
#include "tests/scene/SceneTestNodes.h"
#include "tests/video/RecordingRenderDriver.h"

// What reached the driver, in order: scissor changes, draws and the nodes that drew.
using DrawLog = std::vector<std::string>;

class ScissorDriver : public RecordingRenderDriver {
public:
    explicit ScissorDriver(DrawLog& log) : m_log(log) {}

    void setScissorRect(const CPixelRect& rect) override {
        m_log.push_back("scissor " + std::to_string(rect.left) + "," + std::to_string(rect.top) +
                        "," + std::to_string(rect.right) + "," + std::to_string(rect.bottom));
    }
    void enableScissor(bool on) override { m_log.push_back(on ? "scissor on" : "scissor off"); }
    void drawPrimitives(const void* vertices, uint32_t vertexCount, const void* indices,
                        uint32_t primitiveCount, uint32_t vertexType, uint32_t indexType,
                        uint32_t primitiveType) override {
        RecordingRenderDriver::drawPrimitives(vertices, vertexCount, indices, primitiveCount,
                                              vertexType, indexType, primitiveType);
        m_log.push_back("draw " + std::to_string(primitiveCount / 2) + " quads");
    }

private:
    DrawLog& m_log;
};

// Draws itself: adds its own entry with its key before its children's, and one quad.
class DrawingNode : public LoggingNode {
public:
    DrawingNode(const char* name, BaseNode* parent, float depth, uint32_t key, DrawLog& log)
        : LoggingNode(name, parent), m_key(key), m_log(log) {
        setPosition({0, 0, depth});
    }

    void collectDrawables(RenderList& list) override { collectOwnAndChildDrawables(list, m_key); }

    void render(IRenderDriver* driver, const CRect*) override {
        m_log.push_back(std::string("render ") + getName().toString().c_str());
        const CVector2d corners[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        driver->getQuadBatcher()->addQuad(&m_material, corners, corners, 0, CColor(0xFFFFFFFFu));
    }

private:
    uint32_t m_key;
    DrawLog& m_log;
    RenderMaterial m_material;
};
