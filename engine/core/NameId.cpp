#include "engine/core/NameId.h"

namespace {

// FNV-1a over the text's characters.
template <typename String>
uint32_t hashOf(const String& text) {
    uint32_t hash = 2166136261u;
    for (uint32_t i = 0; i < text.length(); ++i)
        hash = (hash ^ uint32_t(text.c_str()[i])) * 16777619u;
    return hash;
}

} // namespace

template <typename String>
CNameTableOf<String>::~CNameTableOf() {
    for (String* text : m_texts)
        delete text;
}

template <typename String>
CNameTableOf<String>& CNameTableOf<String>::instance() {
    static CNameTableOf* const table = new CNameTableOf();
    return *table;
}

template <typename String>
int32_t CNameTableOf<String>::intern(const String& text) {
    // Missing names are common (absent attributes, unset values) and need no lookup.
    if (text.isEmpty())
        return -1;
    if ((m_texts.size() + 1) * 2 > m_slots.size())
        growSlots();
    const uint32_t mask = m_slots.size() - 1;
    uint32_t slot = hashOf(text) & mask;
    for (; m_slots[slot] != 0; slot = (slot + 1) & mask) {
        if (*m_texts[uint32_t(m_slots[slot]) - 1] == text)
            return m_slots[slot];
    }
    m_texts.append(new String(text));
    m_slots[slot] = int32_t(m_texts.size());
    return m_slots[slot];
}

template <typename String>
const String& CNameTableOf<String>::getText(int32_t id) const {
    return id > 0 && uint32_t(id) <= m_texts.size() ? *m_texts[uint32_t(id) - 1]
                                                    : String::emptyString();
}

template <typename String>
void CNameTableOf<String>::growSlots() {
    const uint32_t count = m_slots.size() > 0 ? m_slots.size() * 2 : 256;
    m_slots.clear();
    m_slots.reallocate(count);
    for (uint32_t i = 0; i < count; ++i)
        m_slots.append(0);
    for (uint32_t id = 1; id <= m_texts.size(); ++id) {
        uint32_t slot = hashOf(*m_texts[id - 1]) & (count - 1);
        while (m_slots[slot] != 0)
            slot = (slot + 1) & (count - 1);
        m_slots[slot] = int32_t(id);
    }
}

template class CNameTableOf<CString>;
template class CNameTableOf<CStringW>;
