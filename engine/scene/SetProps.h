#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/Properties.h"
#include "engine/core/RefPointer.h"
#include "engine/scene/Base.h"

// Writes a set of property values to its node when applied; on a clock it leaves at the first
// tick without reporting, so in a state's main list it never finishes.
class SetProps : public ActionClass<SetProps> {
public:
    static constexpr uint32_t kTypeId = 2;
    static constexpr const char16_t* kTypeName = u"SetProps";

    SetProps();

    void setTarget(BaseNode* node) override;
    void apply(int32_t timeMs, bool applyValues) override;
    float getElapsedTime() const override { return 0; }
    int32_t getDuration() const override { return 0; }
    CRefPointer<Base> clone(BaseNode* node, SceneManager* sceneManager) const override;
    void loadFromXml(CXmlTextReader& reader, IPropertyContentSource* owner,
                     const CStringW& elementName) override;
    void saveToXml(CXmlTextWriter& writer, const CStringW& elementName) const override;

    CProperties& getProperties() { return *m_properties; }

protected:
    ~SetProps() override = default;

private:
    void mapProperties();

    CArray<int32_t> m_propertyMap;
    CRefPointer<CProperties> m_properties;
};
