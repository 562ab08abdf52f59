#pragma once

#include <cstdint>

#include "engine/scene/BaseProgressBarNode.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/SpriteNode.h"

// A progress bar made of two images of one size: the filled part shows the second image
// ("AtlasTexture2") and the rest the first ("AtlasTexture1"). A bar no higher than wide fills
// from the left, any other from the bottom, whatever the images' shape. The images are shown
// by two internal sprites, "_Texture1" and "_Texture2", each cut to its part.
class GTwoSpritesProgressBarNode
    : public NodeClass<GTwoSpritesProgressBarNode, BaseProgressBarNode> {
public:
    static constexpr uint32_t kTypeId = 1126;
    static constexpr const char16_t* kTypeName = u"GTwoSpritesProgressBarNode";

    GTwoSpritesProgressBarNode(const CContentKey& key, BaseNode* parent,
                               SceneManager* sceneManager);

    static const PropertyTable& classPropertyTable();

    // The two sprites come before the template and the children.
    void collectDrawables(RenderList& list) override;
    void updateAbsoluteTransform() override;
    void updateAbsoluteColor() override;
    void updateVisual() override;
    // A bar read from a file shows its value at once.
    void OnLoaded() override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    void saveProperties(CProperties& properties) const override;
    // Sets the images without placing the sprites.
    void loadProperties(const CProperties& properties) override;

    // Each also places the sprites.
    void setAtlasTexture1(CAtlasTexture* texture);
    void setAtlasTexture2(CAtlasTexture* texture);
    CAtlasTexture* getAtlasTexture1() const { return m_first->getImage(); }
    CAtlasTexture* getAtlasTexture2() const { return m_second->getImage(); }
    SpriteNode& getFirstSprite() const { return *m_first; }
    SpriteNode& getSecondSprite() const { return *m_second; }

protected:
    ~GTwoSpritesProgressBarNode() override;

private:
    SpriteNode* makeSprite(const char* name);
    static void releaseSprite(SpriteNode* sprite);
    static void place(SpriteNode& sprite, float x, float y, float width, float height,
                      CVector2d pivot);

    // Internal children: attached to the bar, which holds them, but not among its children.
    SpriteNode* m_first = nullptr;
    SpriteNode* m_second = nullptr;
};
