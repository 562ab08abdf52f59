#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/scene/BaseProgressBarNode.h"
#include "engine/scene/NodeClass.h"
#include "game/screens/EllipseSectorNode.h"

// A progress bar shown as a pie: it sets the angles of the ellipse sector "Ellipse" of its
// template by the value's share of the range. "FillType" 0 fills clockwise from the top, 1
// empties: the sector runs from the value's angle to the full turn.
class EllipseProgressBarNode : public NodeClass<EllipseProgressBarNode, BaseProgressBarNode> {
public:
    static constexpr uint32_t kTypeId = 1125;
    static constexpr const char16_t* kTypeName = u"EllipseProgressBarNode";

    enum EFillType : int32_t {
        FILL_CLOCKWISE = 0,
        FILL_EMPTYING = 1,
    };

    EllipseProgressBarNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const PropertyTable& classPropertyTable();

    void applyTemplate() override;
    void updateVisual() override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;

    // Stored only; the next change of the value shows it.
    void setFillType(int32_t type) { m_fillType = type; }
    int32_t getFillType() const { return m_fillType; }
    GEllipseSectorNode* getEllipse() const { return m_ellipse.get(); }

protected:
    ~EllipseProgressBarNode() override = default;

private:
    CRefPointer<GEllipseSectorNode> m_ellipse;
    int32_t m_fillType = FILL_CLOCKWISE;
};
