#pragma once

#include <cstdint>

#include "engine/core/Color.h"
#include "engine/core/PropertyData.h"
#include "engine/core/Rect.h"
#include "engine/core/Vector2d.h"
#include "engine/core/Vector3d.h"

// The number-like property values. Floats are written as "%0f" (six decimals), tuples of
// floats joined by ";", colours as "%08x".

class CPropertyDataInt final : public CPropertyDataOf<CPropertyDataInt, 1> {
public:
    static constexpr const char16_t* kKeyword = u"int";
    static constexpr const char16_t* kClassName = u"CPropertyDataInt";

    explicit CPropertyDataInt(int32_t value = 0) : m_value(value) {}

    int32_t getValue() const { return m_value; }
    void setValue(int32_t value) { m_value = value; }

    CRefPointer<CPropertyData> clone() const override;
    CStringW toStringW() const override;
    CString toString() const override;
    // Leading blanks, a sign and digits; anything else ends the number. Numbers beyond 32 bits
    // saturate.
    void fromString(const CString& text) override;
    void fromStringW(const CStringW& text) override;
    bool equals(const CPropertyData* other) const override;
    // start + trunc((to - start) * t), computed in 64 bits and saturated to 32.
    bool interpolate(const CPropertyData* to, CPropertyData* out, float t) const override;

private:
    ~CPropertyDataInt() override = default;

    int32_t m_value;
};

class CPropertyDataBool final : public CPropertyDataOf<CPropertyDataBool, 2> {
public:
    static constexpr const char16_t* kKeyword = u"bool";
    static constexpr const char16_t* kClassName = u"CPropertyDataBool";

    explicit CPropertyDataBool(bool value = false) : m_value(value) {}

    bool getValue() const { return m_value != 0; }
    void setValue(bool value) { m_value = value ? 1 : 0; }

    CRefPointer<CPropertyData> clone() const override;
    CStringW toStringW() const override;
    CString toString() const override;
    // True exactly for "true".
    void fromString(const CString& text) override;
    void fromStringW(const CStringW& text) override;
    bool equals(const CPropertyData* other) const override;
    // The end value at t == 1 exactly, else the start; true when out changed.
    bool interpolate(const CPropertyData* to, CPropertyData* out, float t) const override;

private:
    ~CPropertyDataBool() override = default;

    uint8_t m_value;
};

class CPropertyDataFloat final : public CPropertyDataOf<CPropertyDataFloat, 3> {
public:
    static constexpr const char16_t* kKeyword = u"float";
    static constexpr const char16_t* kClassName = u"CPropertyDataFloat";

    explicit CPropertyDataFloat(float value = 0) : m_value(value) {}

    float getValue() const { return m_value; }
    void setValue(float value) { m_value = value; }

    CRefPointer<CPropertyData> clone() const override;
    CStringW toStringW() const override;
    CString toString() const override;
    // parseFloat from the first character: no blanks skipped, "+" reads as 0.
    void fromString(const CString& text) override;
    void fromStringW(const CStringW& text) override;
    bool equals(const CPropertyData* other) const override;
    bool interpolate(const CPropertyData* to, CPropertyData* out, float t) const override;

private:
    ~CPropertyDataFloat() override = default;

    float m_value;
};

class CPropertyDataColor final : public CPropertyDataOf<CPropertyDataColor, 4> {
public:
    static constexpr const char16_t* kKeyword = u"color";
    static constexpr const char16_t* kClassName = u"CPropertyDataColor";

    explicit CPropertyDataColor(CColor value = CColor()) : m_value(value) {}

    CColor getValue() const { return m_value; }
    void setValue(CColor value) { m_value = value; }

    CRefPointer<CPropertyData> clone() const override;
    CStringW toStringW() const override;
    CString toString() const override;
    // Hexadecimal digits from the first character, without prefix.
    void fromString(const CString& text) override;
    void fromStringW(const CStringW& text) override;
    bool equals(const CPropertyData* other) const override;
    // Each channel trunc(t * to + (1 - t) * start).
    bool interpolate(const CPropertyData* to, CPropertyData* out, float t) const override;

private:
    ~CPropertyDataColor() override = default;

    CColor m_value;
};

// Values of two to four floats. Reading skips everything but "-" and digits, so any
// separator works and missing numbers are 0. Interpolation goes component by component.

class CPropertyDataColorf final : public CPropertyDataOf<CPropertyDataColorf, 5> {
public:
    static constexpr const char16_t* kKeyword = u"colorf";
    static constexpr const char16_t* kClassName = u"CPropertyDataColorf";

    explicit CPropertyDataColorf(CColorf value = CColorf()) : m_value(value) {}

    CColorf getValue() const { return m_value; }
    void setValue(CColorf value) { m_value = value; }

    CRefPointer<CPropertyData> clone() const override;
    CStringW toStringW() const override;
    CString toString() const override;
    void fromString(const CString& text) override;
    void fromStringW(const CStringW& text) override;
    bool equals(const CPropertyData* other) const override;
    bool interpolate(const CPropertyData* to, CPropertyData* out, float t) const override;

private:
    ~CPropertyDataColorf() override = default;

    CColorf m_value;
};

class CPropertyDataVector2d final : public CPropertyDataOf<CPropertyDataVector2d, 6> {
public:
    static constexpr const char16_t* kKeyword = u"vector2d";
    static constexpr const char16_t* kClassName = u"CPropertyDataVector2d";

    explicit CPropertyDataVector2d(CVector2d value = CVector2d()) : m_value(value) {}

    CVector2d getValue() const { return m_value; }
    void setValue(CVector2d value) { m_value = value; }

    CRefPointer<CPropertyData> clone() const override;
    CStringW toStringW() const override;
    CString toString() const override;
    void fromString(const CString& text) override;
    void fromStringW(const CStringW& text) override;
    bool equals(const CPropertyData* other) const override;
    bool interpolate(const CPropertyData* to, CPropertyData* out, float t) const override;

private:
    ~CPropertyDataVector2d() override = default;

    CVector2d m_value;
};

class CPropertyDataVector3d final : public CPropertyDataOf<CPropertyDataVector3d, 7> {
public:
    static constexpr const char16_t* kKeyword = u"vector3d";
    static constexpr const char16_t* kClassName = u"CPropertyDataVector3d";

    explicit CPropertyDataVector3d(CVector3d value = CVector3d()) : m_value(value) {}

    CVector3d getValue() const { return m_value; }
    void setValue(CVector3d value) { m_value = value; }

    CRefPointer<CPropertyData> clone() const override;
    CStringW toStringW() const override;
    CString toString() const override;
    void fromString(const CString& text) override;
    void fromStringW(const CStringW& text) override;
    // Every component within 1e-6, bounds included.
    bool equals(const CPropertyData* other) const override;
    bool interpolate(const CPropertyData* to, CPropertyData* out, float t) const override;

private:
    ~CPropertyDataVector3d() override = default;

    CVector3d m_value;
};

class CPropertyDataRect final : public CPropertyDataOf<CPropertyDataRect, 8> {
public:
    static constexpr const char16_t* kKeyword = u"rect";
    static constexpr const char16_t* kClassName = u"CPropertyDataRect";

    explicit CPropertyDataRect(CRect value = CRect()) : m_value(value) {}

    CRect getValue() const { return m_value; }
    void setValue(CRect value) { m_value = value; }

    CRefPointer<CPropertyData> clone() const override;
    CStringW toStringW() const override;
    CString toString() const override;
    void fromString(const CString& text) override;
    void fromStringW(const CStringW& text) override;
    bool equals(const CPropertyData* other) const override;
    bool interpolate(const CPropertyData* to, CPropertyData* out, float t) const override;

private:
    ~CPropertyDataRect() override = default;

    CRect m_value;
};

CRefPointer<CPropertyDataInt> makeIntProperty(int32_t value);
CRefPointer<CPropertyDataBool> makeBoolProperty(bool value);
CRefPointer<CPropertyDataFloat> makeFloatProperty(float value);
CRefPointer<CPropertyDataColor> makeColorProperty(CColor value);
CRefPointer<CPropertyDataVector2d> makeVector2dProperty(CVector2d value);
CRefPointer<CPropertyDataVector3d> makeVector3dProperty(CVector3d value);

// The vector of a value of kind vector3d, else (0, 0, 0).
CVector3d getPropertyVector3d(const CRefPointer<CPropertyData>& value);
