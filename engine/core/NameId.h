#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/String.h"

// Interned texts: each distinct text gets an id in the order it is first interned (1, 2, 3 ...);
// the empty text is -1. The process-wide tables only grow, so ids and the texts handed out
// stay valid for the life of the process.
template <typename String>
class CNameTableOf {
public:
    CNameTableOf() = default;
    ~CNameTableOf();
    CNameTableOf(const CNameTableOf&) = delete;
    CNameTableOf& operator=(const CNameTableOf&) = delete;

    // The process-wide table, built on first use and never destroyed, so names stay usable in
    // static destructors.
    static CNameTableOf& instance();

    int32_t intern(const String& text);
    // The text of an id; the shared empty string for an id that was never given out.
    const String& getText(int32_t id) const;

private:
    // Doubles the slots and files every id again.
    void growSlots();

    // The texts by id - 1, each allocated once so that the texts handed out never move.
    CArray<String*> m_texts;
    // Ids by the hash of their text, with open addressing: 0 marks a free slot. At most half
    // full, so that a lookup compares one text or two.
    CArray<int32_t> m_slots;
};

using CNameTable = CNameTableOf<CString>;
using CNameTableW = CNameTableOf<CStringW>;

extern template class CNameTableOf<CString>;
extern template class CNameTableOf<CStringW>;

// An 8-bit name interned in CNameTable; compares and copies as one integer.
class CNameId {
public:
    CNameId() = default;
    explicit CNameId(const CString& text) : m_id(CNameTable::instance().intern(text)) {}

    int32_t getId() const { return m_id; }
    const CString& toString() const { return CNameTable::instance().getText(m_id); }

    bool operator==(const CNameId& other) const = default;
    // Unsigned, so the empty name (-1) sorts after every other name.
    bool operator<(const CNameId& other) const { return uint32_t(m_id) < uint32_t(other.m_id); }

private:
    int32_t m_id = -1;
};

// The name of a fixed text, for code that finds nodes and states by the names it knows.
inline CNameId nameOf(const char* text) {
    return CNameId(CString(text));
}
