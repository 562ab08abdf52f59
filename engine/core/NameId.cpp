#include "engine/core/NameId.h"

template <typename String>
CNameTableOf<String>::CNameTableOf() {
    m_byId.insert(-1, String());
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
    const auto result = m_byText.insert(text, m_counter + 1);
    if (!result.inserted)
        return result.position->value;
    ++m_counter;
    m_byId.insert(m_counter, text);
    return m_counter;
}

template <typename String>
const String& CNameTableOf<String>::getText(int32_t id) const {
    const auto found = m_byId.find(id);
    return found != m_byId.end() ? found->value : String::emptyString();
}

template class CNameTableOf<CString>;
template class CNameTableOf<CStringW>;
