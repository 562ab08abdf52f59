#pragma once

#include <cstdint>

#include "engine/core/Properties.h"
#include "engine/core/PropertyData.h"
#include "engine/core/RefPointer.h"

// A nested property set, shared by reference. It has no text form, equals only a value
// holding the same set, and is never interpolated. In XML it is an element "properties"
// holding the set's values.
class CPropertyDataProperties final : public CPropertyDataOf<CPropertyDataProperties, 12> {
public:
    static constexpr const char16_t* kKeyword = u"properties";
    static constexpr const char16_t* kClassName = u"CPropertyDataProperties";

    CPropertyDataProperties() = default;
    explicit CPropertyDataProperties(CRefPointer<CProperties> properties);

    CProperties* getProperties() const { return m_properties.get(); }
    void setProperties(CRefPointer<CProperties> properties);

    // Clones the nested set deeply.
    CRefPointer<CPropertyData> clone() const override;
    CStringW toStringW() const override;
    CString toString() const override;
    void fromString(const CString& text) override;
    void fromStringW(const CStringW& text) override;
    bool equals(const CPropertyData* other) const override;
    bool interpolate(const CPropertyData* to, CPropertyData* out, float t) const override;
    // Reads into the held set, or into a new one without owner, so content values inside
    // ignore their text.
    void readXml(CXmlTextReader& reader) override;
    // Writes nothing without a set.
    void writeXml(CXmlTextWriter& writer, const CString& name) const override;

private:
    friend class CProperties;

    ~CPropertyDataProperties() override = default;

    // The depth is this set's nesting below the set being read; false when a set below was
    // too deep to read.
    bool readXmlAtDepth(CXmlTextReader& reader, int32_t depth);

    CRefPointer<CProperties> m_properties;
};
