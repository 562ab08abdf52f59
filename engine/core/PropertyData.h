#pragma once

#include <cstdint>
#include <type_traits>

#include "engine/core/NameId.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"

class CXmlTextReader;
class CXmlTextWriter;

// A small, reference-counted, self-describing value of one of fifteen types: node properties,
// key frames, settings and every "Properties" block of a file are sets of them. Text forms
// never depend on the locale; reading text is forgiving and never reports an error.
class CPropertyData : public CRefCounted {
public:
    // The keyword names the type in XML and in the type registry.
    virtual const CStringW& getTypeKeyword() const = 0;
    virtual const CStringW& getClassName() const = 0;
    virtual int32_t getTypeId() const = 0;
    // True for the value's own type id and for 0.
    virtual bool isKindOf(int32_t typeId) const;
    // A new value of the same type holding a copy of this one.
    virtual CRefPointer<CPropertyData> clone() const = 0;
    virtual CStringW toStringW() const = 0;
    virtual CString toString() const = 0;
    virtual void fromString(const CString& text) = 0;
    virtual void fromStringW(const CStringW& text) = 0;
    // A value of another type, or none, is never equal.
    virtual bool equals(const CPropertyData* other) const = 0;
    // Puts the value at fraction t of the way from this value to `to` into `out`; true when
    // out was given a value. Nothing happens unless to and out are of this value's type.
    virtual bool interpolate(const CPropertyData* to, CPropertyData* out, float t) const = 0;
    // Called once with the next key value before interpolating toward it.
    virtual void prepareInterpolation(const CPropertyData* to);
    // Takes the value of another of its own type in place; false, changing nothing, for any
    // other or for a type that cannot.
    virtual bool assign(const CPropertyData& other) {
        (void)other;
        return false;
    }
    // The current element's "Value" attribute read as text.
    virtual void readXml(CXmlTextReader& reader);
    // One empty element named by the keyword with the attributes "Name" and "Value"; the line
    // end after it is the caller's.
    virtual void writeXml(CXmlTextWriter& writer, const CString& name) const;

protected:
    ~CPropertyData() override = default;
};

// A clone of the held value; none for none.
inline CRefPointer<CPropertyData> clonePropertyValue(const CRefPointer<CPropertyData>& holder) {
    return holder ? holder->clone() : CRefPointer<CPropertyData>();
}

// The value as a T when it is of T's kind, else null.
template <typename T>
T* castPropertyData(CPropertyData* value) {
    return value && value->isKindOf(T::kTypeId) ? static_cast<T*>(value) : nullptr;
}

template <typename T>
const T* castPropertyData(const CPropertyData* value) {
    return value && value->isKindOf(T::kTypeId) ? static_cast<const T*>(value) : nullptr;
}

// The parts every value class shares: its id, keyword and class name. Keyword and class name
// are built on first use and kept until the process ends.
template <typename Derived, int32_t TypeId>
class CPropertyDataOf : public CPropertyData {
public:
    static constexpr int32_t kTypeId = TypeId;

    const CStringW& getTypeKeyword() const override {
        static const CStringW keyword(Derived::kKeyword);
        return keyword;
    }

    const CStringW& getClassName() const override {
        static const CStringW className(Derived::kClassName);
        return className;
    }

    int32_t getTypeId() const override { return TypeId; }

protected:
    // The other value when it is of this exact type, else null.
    static const Derived* sameType(const CPropertyData* other) {
        return other && other->getTypeId() == TypeId ? static_cast<const Derived*>(other) : nullptr;
    }

    static Derived* sameType(CPropertyData* other) {
        return other && other->getTypeId() == TypeId ? static_cast<Derived*>(other) : nullptr;
    }
};

// A value class holding one value of its own: the value, its accessors, the constructor from
// it and a clone that copies it. Plain small values travel by value, others by reference.
template <typename Derived, int32_t TypeId, typename Value>
class CPropertyDataValueOf : public CPropertyDataOf<Derived, TypeId> {
    using Param = std::conditional_t<std::is_trivially_copyable_v<Value>, Value, const Value&>;

public:
    CPropertyDataValueOf() = default;
    explicit CPropertyDataValueOf(Param value) : m_value(value) {}

    Param getValue() const { return m_value; }
    void setValue(Param value) { m_value = value; }

    CRefPointer<CPropertyData> clone() const override {
        return CRefPointer<CPropertyData>(new Derived(m_value));
    }
    bool assign(const CPropertyData& other) override {
        const Derived* same = CPropertyDataOf<Derived, TypeId>::sameType(&other);
        if (same != nullptr)
            m_value = same->getValue();
        return same != nullptr;
    }

protected:
    ~CPropertyDataValueOf() override = default;

    Value m_value{};
};

// Texts of a value that may be missing: empty for none.
CString getPropertyText(const CRefPointer<CPropertyData>& value);
CStringW getPropertyTextW(const CRefPointer<CPropertyData>& value);
void copyPropertyTextW(CStringW& out, const CRefPointer<CPropertyData>& value);
CNameId getPropertyNameId(const CPropertyData* value);
