#include "engine/core/PropertyDataScalars.h"

#include <cmath>

#include "engine/core/NumberList.h"
#include "engine/core/StringFunctions.h"

namespace {

constexpr int64_t kInt32Min = -2147483648LL;
constexpr int64_t kInt32Max = 2147483647LL;

int32_t saturateToInt32(int64_t value) {
    return int32_t(value < kInt32Min ? kInt32Min : (value > kInt32Max ? kInt32Max : value));
}

bool isBlank(char ch) {
    return ch == ' ' || (ch >= '\t' && ch <= '\r');
}

int32_t readInt(const char* text) {
    while (isBlank(*text))
        ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    int64_t magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        // Past 2^31 only saturation matters; stop growing so nothing overflows.
        if (magnitude <= kInt32Max)
            magnitude = magnitude * 10 + (*text - '0');
    }
    return saturateToInt32(negative ? -magnitude : magnitude);
}

// Toward zero; NaN gives 0 and values beyond any 32-bit difference are clamped, so the
// conversion is always defined.
int64_t truncateStep(float step) {
    if (std::isnan(step))
        return 0;
    constexpr float kLimit = 1099511627776.0f; // 2^40
    if (step >= kLimit)
        return int64_t(kLimit);
    if (step <= -kLimit)
        return -int64_t(kLimit);
    return int64_t(step);
}

float lerp(float from, float to, float t) {
    return from + (to - from) * t;
}

// The float tuples, taken apart into arrays and put together again.
template <typename Value>
struct FloatTuple;

template <>
struct FloatTuple<CColorf> {
    static constexpr uint32_t kCount = 4;
    static void split(const CColorf& v, float* f) {
        f[0] = v.r;
        f[1] = v.g;
        f[2] = v.b;
        f[3] = v.a;
    }
    static CColorf join(const float* f) { return CColorf(f[0], f[1], f[2], f[3]); }
};

template <>
struct FloatTuple<CVector2d> {
    static constexpr uint32_t kCount = 2;
    static void split(const CVector2d& v, float* f) {
        f[0] = v.x;
        f[1] = v.y;
    }
    static CVector2d join(const float* f) { return CVector2d(f[0], f[1]); }
};

template <>
struct FloatTuple<CVector3d> {
    static constexpr uint32_t kCount = 3;
    static void split(const CVector3d& v, float* f) {
        f[0] = v.x;
        f[1] = v.y;
        f[2] = v.z;
    }
    static CVector3d join(const float* f) { return CVector3d(f[0], f[1], f[2]); }
};

template <>
struct FloatTuple<CRect> {
    static constexpr uint32_t kCount = 4;
    static void split(const CRect& v, float* f) {
        f[0] = v.left;
        f[1] = v.top;
        f[2] = v.right;
        f[3] = v.bottom;
    }
    static CRect join(const float* f) { return CRect(f[0], f[1], f[2], f[3]); }
};

template <typename String, typename Value>
String tupleText(const Value& value) {
    float f[4];
    FloatTuple<Value>::split(value, f);
    String text(f[0]);
    for (uint32_t i = 1; i < FloatTuple<Value>::kCount; ++i) {
        text.append(";");
        text.append(f[i]);
    }
    return text;
}

template <typename Value, typename Char>
Value readTuple(const Char* text) {
    float f[4];
    readNumberList(text, f, FloatTuple<Value>::kCount);
    return FloatTuple<Value>::join(f);
}

// Exact comparison, so a NaN equals nothing.
template <typename Value>
bool sameTuple(const Value& a, const Value& b) {
    float fa[4];
    float fb[4];
    FloatTuple<Value>::split(a, fa);
    FloatTuple<Value>::split(b, fb);
    for (uint32_t i = 0; i < FloatTuple<Value>::kCount; ++i) {
        if (!(fa[i] == fb[i]))
            return false;
    }
    return true;
}

template <typename Value>
Value lerpTuple(const Value& from, const Value& to, float t) {
    float ff[4];
    float ft[4];
    FloatTuple<Value>::split(from, ff);
    FloatTuple<Value>::split(to, ft);
    for (uint32_t i = 0; i < FloatTuple<Value>::kCount; ++i)
        ff[i] = lerp(ff[i], ft[i], t);
    return FloatTuple<Value>::join(ff);
}

} // namespace

// ---- int

CStringW CPropertyDataInt::toStringW() const {
    return CStringW(int(m_value));
}

CString CPropertyDataInt::toString() const {
    return CString(int(m_value));
}

void CPropertyDataInt::fromString(const CString& text) {
    m_value = readInt(text.c_str());
}

void CPropertyDataInt::fromStringW(const CStringW& text) {
    fromString(CString(text.c_str()));
}

bool CPropertyDataInt::equals(const CPropertyData* other) const {
    const CPropertyDataInt* same = sameType(other);
    return same && same->m_value == m_value;
}

bool CPropertyDataInt::interpolate(const CPropertyData* to, CPropertyData* out, float t) const {
    const CPropertyDataInt* end = sameType(to);
    CPropertyDataInt* result = sameType(out);
    if (!end || !result)
        return false;
    const int64_t difference = int64_t(end->m_value) - m_value;
    result->m_value = saturateToInt32(m_value + truncateStep(float(difference) * t));
    return true;
}

// ---- bool

CStringW CPropertyDataBool::toStringW() const {
    return CStringW(m_value ? u"true" : u"false");
}

CString CPropertyDataBool::toString() const {
    return CString(m_value ? "true" : "false");
}

void CPropertyDataBool::fromString(const CString& text) {
    m_value = text == "true";
}

void CPropertyDataBool::fromStringW(const CStringW& text) {
    fromString(CString(text.c_str()));
}

bool CPropertyDataBool::equals(const CPropertyData* other) const {
    const CPropertyDataBool* same = sameType(other);
    return same && same->m_value == m_value;
}

bool CPropertyDataBool::interpolate(const CPropertyData* to, CPropertyData* out, float t) const {
    const CPropertyDataBool* end = sameType(to);
    CPropertyDataBool* result = sameType(out);
    if (!end || !result)
        return false;
    const bool value = t == 1.0f ? end->m_value : m_value;
    const bool changed = result->m_value != value;
    result->m_value = value;
    return changed;
}

// ---- float

CStringW CPropertyDataFloat::toStringW() const {
    return CStringW(m_value);
}

CString CPropertyDataFloat::toString() const {
    return CString(m_value);
}

void CPropertyDataFloat::fromString(const CString& text) {
    parseFloat(text.c_str(), m_value);
}

void CPropertyDataFloat::fromStringW(const CStringW& text) {
    fromString(CString(text.c_str()));
}

bool CPropertyDataFloat::equals(const CPropertyData* other) const {
    const CPropertyDataFloat* same = sameType(other);
    return same && same->m_value == m_value;
}

bool CPropertyDataFloat::interpolate(const CPropertyData* to, CPropertyData* out, float t) const {
    const CPropertyDataFloat* end = sameType(to);
    CPropertyDataFloat* result = sameType(out);
    if (!end || !result)
        return false;
    result->m_value = lerp(m_value, end->m_value, t);
    return true;
}

// ---- color

CStringW CPropertyDataColor::toStringW() const {
    return formatHexW(m_value.value);
}

CString CPropertyDataColor::toString() const {
    return formatHex(m_value.value);
}

void CPropertyDataColor::fromString(const CString& text) {
    parseHex(text.c_str(), m_value.value);
}

void CPropertyDataColor::fromStringW(const CStringW& text) {
    parseHexW(text.c_str(), m_value.value);
}

bool CPropertyDataColor::equals(const CPropertyData* other) const {
    const CPropertyDataColor* same = sameType(other);
    return same && same->m_value == m_value;
}

bool CPropertyDataColor::interpolate(const CPropertyData* to, CPropertyData* out, float t) const {
    const CPropertyDataColor* end = sameType(to);
    CPropertyDataColor* result = sameType(out);
    if (!end || !result)
        return false;
    result->m_value = end->m_value.interpolate(m_value, t);
    return true;
}

// ---- colorf

CStringW CPropertyDataColorf::toStringW() const {
    return tupleText<CStringW>(m_value);
}

CString CPropertyDataColorf::toString() const {
    return tupleText<CString>(m_value);
}

void CPropertyDataColorf::fromString(const CString& text) {
    m_value = readTuple<CColorf>(text.c_str());
}

void CPropertyDataColorf::fromStringW(const CStringW& text) {
    m_value = readTuple<CColorf>(text.c_str());
}

bool CPropertyDataColorf::equals(const CPropertyData* other) const {
    const CPropertyDataColorf* same = sameType(other);
    return same && sameTuple(same->m_value, m_value);
}

bool CPropertyDataColorf::interpolate(const CPropertyData* to, CPropertyData* out, float t) const {
    const CPropertyDataColorf* end = sameType(to);
    CPropertyDataColorf* result = sameType(out);
    if (!end || !result)
        return false;
    result->m_value = lerpTuple(m_value, end->m_value, t);
    return true;
}

// ---- vector2d

CStringW CPropertyDataVector2d::toStringW() const {
    return tupleText<CStringW>(m_value);
}

CString CPropertyDataVector2d::toString() const {
    return tupleText<CString>(m_value);
}

void CPropertyDataVector2d::fromString(const CString& text) {
    m_value = CVector2d::fromText(text.c_str());
}

void CPropertyDataVector2d::fromStringW(const CStringW& text) {
    m_value = CVector2d::fromText(text.c_str());
}

bool CPropertyDataVector2d::equals(const CPropertyData* other) const {
    const CPropertyDataVector2d* same = sameType(other);
    return same && same->m_value == m_value;
}

bool CPropertyDataVector2d::interpolate(const CPropertyData* to, CPropertyData* out,
                                        float t) const {
    const CPropertyDataVector2d* end = sameType(to);
    CPropertyDataVector2d* result = sameType(out);
    if (!end || !result)
        return false;
    result->m_value = lerpTuple(m_value, end->m_value, t);
    return true;
}

// ---- vector3d

CStringW CPropertyDataVector3d::toStringW() const {
    return tupleText<CStringW>(m_value);
}

CString CPropertyDataVector3d::toString() const {
    return tupleText<CString>(m_value);
}

void CPropertyDataVector3d::fromString(const CString& text) {
    m_value = CVector3d::fromText(text.c_str());
}

void CPropertyDataVector3d::fromStringW(const CStringW& text) {
    m_value = CVector3d::fromText(text.c_str());
}

bool CPropertyDataVector3d::equals(const CPropertyData* other) const {
    const CPropertyDataVector3d* same = sameType(other);
    return same && m_value.equals(same->m_value, 1e-6f);
}

bool CPropertyDataVector3d::interpolate(const CPropertyData* to, CPropertyData* out,
                                        float t) const {
    const CPropertyDataVector3d* end = sameType(to);
    CPropertyDataVector3d* result = sameType(out);
    if (!end || !result)
        return false;
    result->m_value = lerpTuple(m_value, end->m_value, t);
    return true;
}

// ---- rect

CStringW CPropertyDataRect::toStringW() const {
    return tupleText<CStringW>(m_value);
}

CString CPropertyDataRect::toString() const {
    return tupleText<CString>(m_value);
}

void CPropertyDataRect::fromString(const CString& text) {
    m_value = readTuple<CRect>(text.c_str());
}

void CPropertyDataRect::fromStringW(const CStringW& text) {
    m_value = readTuple<CRect>(text.c_str());
}

bool CPropertyDataRect::equals(const CPropertyData* other) const {
    const CPropertyDataRect* same = sameType(other);
    return same && same->m_value == m_value;
}

bool CPropertyDataRect::interpolate(const CPropertyData* to, CPropertyData* out, float t) const {
    const CPropertyDataRect* end = sameType(to);
    CPropertyDataRect* result = sameType(out);
    if (!end || !result)
        return false;
    result->m_value = lerpTuple(m_value, end->m_value, t);
    return true;
}

// ---- factories

CRefPointer<CPropertyDataInt> makeIntProperty(int32_t value) {
    return CRefPointer<CPropertyDataInt>(new CPropertyDataInt(value));
}

CRefPointer<CPropertyDataBool> makeBoolProperty(bool value) {
    return CRefPointer<CPropertyDataBool>(new CPropertyDataBool(value));
}

CRefPointer<CPropertyDataFloat> makeFloatProperty(float value) {
    return CRefPointer<CPropertyDataFloat>(new CPropertyDataFloat(value));
}

CRefPointer<CPropertyDataColor> makeColorProperty(CColor value) {
    return CRefPointer<CPropertyDataColor>(new CPropertyDataColor(value));
}

CRefPointer<CPropertyDataVector2d> makeVector2dProperty(CVector2d value) {
    return CRefPointer<CPropertyDataVector2d>(new CPropertyDataVector2d(value));
}

CRefPointer<CPropertyDataVector3d> makeVector3dProperty(CVector3d value) {
    return CRefPointer<CPropertyDataVector3d>(new CPropertyDataVector3d(value));
}

CVector3d getPropertyVector3d(const CRefPointer<CPropertyData>& value) {
    const CPropertyDataVector3d* vector = castPropertyData<CPropertyDataVector3d>(value.get());
    return vector ? vector->getValue() : CVector3d();
}
