#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/SpriteNode.h"
#include "engine/ui/ButtonNode.h"

// The button of one level on the map: the ordinary or the current look ("MapButton",
// "MapButtonCurrent" of the template collection) and a star sprite, the template's "Star",
// showing the best grade reached there. The grade is kept by the button, so a new look shows
// it too; a disabled (locked) button hides its star.
class GMapLocationButton : public NodeClass<GMapLocationButton, ButtonNode> {
public:
    static constexpr uint32_t kTypeId = 1127;
    static constexpr const char16_t* kTypeName = u"GMapLocationButton";

    enum EStarType : int32_t {
        STAR_BRONZE = 1,
        STAR_SILVER = 2,
        STAR_GOLD = 3,
    };

    using NodeClass::NodeClass;

    static const PropertyTable& classPropertyTable();

    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    void setEnabled(bool enabled) override;
    // Rebinds the star to the new template's "Star" and shows the kept grade on it.
    void applyTemplate() override;
    // "AssociatedLevelIndex" is written only when it is not -1.
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;

    void setCurrent(bool current);
    // 1 bronze, 2 silver, 3 gold; any other value leaves the star without an image.
    void setStarType(int32_t type);
    int32_t getStarType() const { return m_starType; }
    SpriteNode* getStarNode() const { return m_star.get(); }
    void setAssociatedLevelIndex(int32_t index) { m_associatedLevelIndex = index; }
    int32_t getAssociatedLevelIndex() const { return m_associatedLevelIndex; }

protected:
    ~GMapLocationButton() override = default;

private:
    void bindStar();

    int32_t m_associatedLevelIndex = -1;
    int32_t m_starType = -1;
    CRefPointer<SpriteNode> m_star;
};
