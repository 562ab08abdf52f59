#pragma once

#include <cstdint>

#include "engine/core/Color.h"
#include "engine/core/PropertyData.h"
#include "engine/core/Rect.h"
#include "engine/core/Vector2d.h"
#include "engine/core/Vector3d.h"

// The number-like property values. Floats are written as "%0f" (six decimals), tuples of
// floats joined by ";", colours as "%08x".

class CPropertyDataInt final : public CPropertyDataValueOf<CPropertyDataInt, 1, int32_t> {
public:
    static constexpr const char16_t* kKeyword = u"int";
    static constexpr const char16_t* kClassName = u"CPropertyDataInt";

    using CPropertyDataValueOf::CPropertyDataValueOf;

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
};

class CPropertyDataBool final : public CPropertyDataValueOf<CPropertyDataBool, 2, bool> {
public:
    static constexpr const char16_t* kKeyword = u"bool";
    static constexpr const char16_t* kClassName = u"CPropertyDataBool";

    using CPropertyDataValueOf::CPropertyDataValueOf;

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
};

class CPropertyDataFloat final : public CPropertyDataValueOf<CPropertyDataFloat, 3, float> {
public:
    static constexpr const char16_t* kKeyword = u"float";
    static constexpr const char16_t* kClassName = u"CPropertyDataFloat";

    using CPropertyDataValueOf::CPropertyDataValueOf;

    CStringW toStringW() const override;
    CString toString() const override;
    // parseFloat from the first character: no blanks skipped, "+" reads as 0.
    void fromString(const CString& text) override;
    void fromStringW(const CStringW& text) override;
    bool equals(const CPropertyData* other) const override;
    bool interpolate(const CPropertyData* to, CPropertyData* out, float t) const override;

private:
    ~CPropertyDataFloat() override = default;
};

class CPropertyDataColor final : public CPropertyDataValueOf<CPropertyDataColor, 4, CColor> {
public:
    static constexpr const char16_t* kKeyword = u"color";
    static constexpr const char16_t* kClassName = u"CPropertyDataColor";

    using CPropertyDataValueOf::CPropertyDataValueOf;

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
};

// Values of two to four floats. Reading skips everything but "-" and digits, so any
// separator works and missing numbers are 0. Interpolation goes component by component.

class CPropertyDataColorf final : public CPropertyDataValueOf<CPropertyDataColorf, 5, CColorf> {
public:
    static constexpr const char16_t* kKeyword = u"colorf";
    static constexpr const char16_t* kClassName = u"CPropertyDataColorf";

    using CPropertyDataValueOf::CPropertyDataValueOf;

    CStringW toStringW() const override;
    CString toString() const override;
    void fromString(const CString& text) override;
    void fromStringW(const CStringW& text) override;
    bool equals(const CPropertyData* other) const override;
    bool interpolate(const CPropertyData* to, CPropertyData* out, float t) const override;

private:
    ~CPropertyDataColorf() override = default;
};

class CPropertyDataVector2d final
    : public CPropertyDataValueOf<CPropertyDataVector2d, 6, CVector2d> {
public:
    static constexpr const char16_t* kKeyword = u"vector2d";
    static constexpr const char16_t* kClassName = u"CPropertyDataVector2d";

    using CPropertyDataValueOf::CPropertyDataValueOf;

    CStringW toStringW() const override;
    CString toString() const override;
    void fromString(const CString& text) override;
    void fromStringW(const CStringW& text) override;
    bool equals(const CPropertyData* other) const override;
    bool interpolate(const CPropertyData* to, CPropertyData* out, float t) const override;

private:
    ~CPropertyDataVector2d() override = default;
};

class CPropertyDataVector3d final
    : public CPropertyDataValueOf<CPropertyDataVector3d, 7, CVector3d> {
public:
    static constexpr const char16_t* kKeyword = u"vector3d";
    static constexpr const char16_t* kClassName = u"CPropertyDataVector3d";

    using CPropertyDataValueOf::CPropertyDataValueOf;

    CStringW toStringW() const override;
    CString toString() const override;
    void fromString(const CString& text) override;
    void fromStringW(const CStringW& text) override;
    // Every component within 1e-6, bounds included.
    bool equals(const CPropertyData* other) const override;
    bool interpolate(const CPropertyData* to, CPropertyData* out, float t) const override;

private:
    ~CPropertyDataVector3d() override = default;
};

class CPropertyDataRect final : public CPropertyDataValueOf<CPropertyDataRect, 8, CRect> {
public:
    static constexpr const char16_t* kKeyword = u"rect";
    static constexpr const char16_t* kClassName = u"CPropertyDataRect";

    using CPropertyDataValueOf::CPropertyDataValueOf;

    CStringW toStringW() const override;
    CString toString() const override;
    void fromString(const CString& text) override;
    void fromStringW(const CStringW& text) override;
    bool equals(const CPropertyData* other) const override;
    bool interpolate(const CPropertyData* to, CPropertyData* out, float t) const override;

private:
    ~CPropertyDataRect() override = default;
};

CRefPointer<CPropertyDataInt> makeIntProperty(int32_t value);
CRefPointer<CPropertyDataBool> makeBoolProperty(bool value);
CRefPointer<CPropertyDataFloat> makeFloatProperty(float value);
CRefPointer<CPropertyDataColor> makeColorProperty(CColor value);
CRefPointer<CPropertyDataVector2d> makeVector2dProperty(CVector2d value);
CRefPointer<CPropertyDataVector3d> makeVector3dProperty(CVector3d value);

// The vector of a value of kind vector3d, else (0, 0, 0).
CVector3d getPropertyVector3d(const CRefPointer<CPropertyData>& value);
