#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/scene/Base.h"

// Sends named states down to its node's children when applied: to all of them, or to the
// direct children named in the entry. On a clock it leaves at the first tick without reporting.
class SetStates : public ActionClass<SetStates> {
public:
    static constexpr uint32_t kTypeId = 3;
    static constexpr const char16_t* kTypeName = u"SetStates";

    struct Entry {
        CNameId stateName;
        CArray<CNameId> children;
    };

    SetStates();

    void apply(int32_t timeMs, bool applyValues) override;
    float getElapsedTime() const override { return 0; }
    int32_t getDuration() const override { return 0; }
    CRefPointer<Base> clone(BaseNode* node, SceneManager* sceneManager) const override;
    void loadFromXml(CXmlTextReader& reader, IPropertyContentSource* owner,
                     const CStringW& elementName) override;
    void saveToXml(CXmlTextWriter& writer, const CStringW& elementName) const override;

    const CArray<Entry>& getEntries() const { return m_entries; }

protected:
    ~SetStates() override = default;

private:
    void readEntry(const CXmlTextReader& reader);

    CArray<Entry> m_entries;
};
