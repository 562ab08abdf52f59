#pragma once

#include <algorithm>
#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/String.h"

// Archive readers keep their entries sorted by name (CStringW::lessThan: letter case and
// separators count) and look names up by binary search. Entries of equal names keep their
// order in the archive.
template <typename Entry>
void sortEntriesByName(CArray<Entry>& entries) {
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& left, const Entry& right) {
        return left.name.lessThan(right.name);
    });
}

// The index of an entry of that name, or -1.
template <typename Entry>
int32_t findEntryByName(const CArray<Entry>& entries, const CStringW& name) {
    int32_t low = 0;
    int32_t high = int32_t(entries.size()) - 1;
    while (low <= high) {
        const int32_t middle = low + (high - low) / 2;
        const CStringW& found = entries[uint32_t(middle)].name;
        if (found == name) {
            return middle;
        }
        if (name.lessThan(found)) {
            high = middle - 1;
        } else {
            low = middle + 1;
        }
    }
    return -1;
}
