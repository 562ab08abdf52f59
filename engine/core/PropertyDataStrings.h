#pragma once

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/PropertyData.h"
#include "engine/core/String.h"

// The text property values. Between the widths text converts character by character, as the
// string classes do. Interpolating copies the end value once t reaches 1.

class CPropertyDataString final : public CPropertyDataValueOf<CPropertyDataString, 9, CString> {
public:
    static constexpr const char16_t* kKeyword = u"string";
    static constexpr const char16_t* kClassName = u"CPropertyDataString";

    using CPropertyDataValueOf::CPropertyDataValueOf;

    CStringW toStringW() const override;
    CString toString() const override;
    void fromString(const CString& text) override;
    void fromStringW(const CStringW& text) override;
    bool equals(const CPropertyData* other) const override;
    bool interpolate(const CPropertyData* to, CPropertyData* out, float t) const override;

private:
    ~CPropertyDataString() override = default;
};

class CPropertyDataStringW final : public CPropertyDataValueOf<CPropertyDataStringW, 10, CStringW> {
public:
    static constexpr const char16_t* kKeyword = u"stringw";
    static constexpr const char16_t* kClassName = u"CPropertyDataStringW";

    using CPropertyDataValueOf::CPropertyDataValueOf;

    CStringW toStringW() const override;
    CString toString() const override;
    void fromString(const CString& text) override;
    void fromStringW(const CStringW& text) override;
    bool equals(const CPropertyData* other) const override;
    bool interpolate(const CPropertyData* to, CPropertyData* out, float t) const override;

private:
    ~CPropertyDataStringW() override = default;
};

// Has no text form: its text is empty and reading text leaves it as it is. In XML each string
// is a child element "stringw".
class CPropertyDataStringWArray final
    : public CPropertyDataValueOf<CPropertyDataStringWArray, 11, CArray<CStringW>> {
public:
    static constexpr const char16_t* kKeyword = u"stringwArray";
    static constexpr const char16_t* kClassName = u"CPropertyDataStringWArray";

    using CPropertyDataValueOf::CPropertyDataValueOf;

    CStringW toStringW() const override;
    CString toString() const override;
    void fromString(const CString& text) override;
    void fromStringW(const CStringW& text) override;
    bool equals(const CPropertyData* other) const override;
    bool interpolate(const CPropertyData* to, CPropertyData* out, float t) const override;
    // Reads "stringw" children up to the closing "stringwArray", each by its first attribute.
    void readXml(CXmlTextReader& reader) override;
    void writeXml(CXmlTextWriter& writer, const CString& name) const override;

private:
    ~CPropertyDataStringWArray() override = default;
};

CRefPointer<CPropertyDataString> makeStringProperty(const CString& value);
// A string value holding the text of the name.
CRefPointer<CPropertyDataString> makeNameProperty(CNameId name);
CRefPointer<CPropertyDataStringW> makeStringWProperty(const CStringW& value);
CRefPointer<CPropertyDataStringWArray> makeStringArrayProperty(const CArray<CStringW>& value);

// A copy of the strings of a value of kind stringwArray, else an empty array.
CArray<CStringW> getPropertyStringArray(const CRefPointer<CPropertyData>& value);
