#pragma once

#include <cstdint>

#include "engine/core/Vector2d.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/SpriteImage.h"
#include "engine/video/QuadBatcher.h"

// A node that draws one atlas texture over its bounds as a 3 x 3 grid, so that frames and panels
// take any size: the corners keep their size in pixels, the edges stretch along themselves and
// the centre both ways.
class NineGridSpriteNode : public NodeClass<NineGridSpriteNode, BaseNode> {
public:
    static constexpr uint32_t kTypeId = 4;
    static constexpr const char16_t* kTypeName = u"NineGridSpriteNode";
    static constexpr uint32_t kQuadCount = 9;

    NineGridSpriteNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const PropertyTable& classPropertyTable();

    void collectDrawables(RenderList& list) override;
    // Builds the grid and adds its quads to the driver's batch; the clip is not used.
    void render(IRenderDriver* driver, const CRect* clip) override;
    // Anywhere inside the bounds, unless the tint is nearly transparent.
    bool hitTest(const CVector3d& point) override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;

    CAtlasTexture* getImage() const { return m_image.get(); }
    // The grid follows at the next render.
    void setImage(CAtlasTexture* image) { m_image.set(image); }
    // Width of the left column and height of the top row, in pixels of both the image and the
    // node.
    void setTopLeftDelta(const CVector2d& delta) { m_topLeftDelta = delta; }
    // Width of the right column and height of the bottom row.
    void setBottomRightDelta(const CVector2d& delta) { m_bottomRightDelta = delta; }
    const CVector2d& getTopLeftDelta() const { return m_topLeftDelta; }
    const CVector2d& getBottomRightDelta() const { return m_bottomRightDelta; }

protected:
    ~NineGridSpriteNode() override = default;

private:
    // False without an image whose page has a driver texture.
    bool buildGrid();

    CSpriteImage m_image;
    // Row by row from the top-left, each with the corners top-left, top-right, bottom-right,
    // bottom-left in world space.
    CQuadRecord m_quads[kQuadCount];
    CVector2d m_topLeftDelta{10, 10};
    CVector2d m_bottomRightDelta{10, 10};
};
