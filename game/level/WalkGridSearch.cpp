#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "game/level/WalkGrid.h"

// The search keeps the order in which the game has always found its paths: an unweighted
// estimate in cells, the stop as soon as the target is put on the open list, and the heap's
// treatment of equal totals. Players see the paths, so these stay as they are.

namespace {

// Marks of the search.
constexpr uint8_t kUnseen = 0;
constexpr uint8_t kOpen = 11;
constexpr uint8_t kClosed = 12;

// A diagonal step costs this many straight ones: nearly its length when the path is smoothed
// afterwards, and so much otherwise that unsmoothed paths keep to rows and columns.
constexpr float kSmoothDiagonal = 1.4f;
constexpr float kPlainDiagonal = 10.0f;

} // namespace

bool WalkGrid::search(WalkGridCell start, WalkGridCell target, CArray<WalkGridCell>& path,
                      bool smooth) {
    path.truncate(0);
    if (!contains(start) || !contains(target) || start == target)
        return false;
    std::memset(m_marks.data(), kUnseen, m_marks.size());
    const uint32_t startIndex = indexOf(start);
    const uint32_t targetIndex = indexOf(target);
    m_costs[startIndex] = 0;
    m_heap[1] = startIndex;
    m_heapPositions[startIndex] = 1;
    m_openCount = 1;
    const float diagonalFactor = smooth ? kSmoothDiagonal : kPlainDiagonal;
    do {
        const uint32_t current = popCheapest();
        m_marks[current] = kClosed;
        visitNeighbours(current, target, diagonalFactor);
        if (m_marks[targetIndex] == kOpen) {
            tracePath(startIndex, targetIndex, path);
            if (smooth)
                smoothPath(path);
            return true;
        }
    } while (m_openCount != 0);
    return false;
}

float WalkGrid::estimate(uint32_t index, WalkGridCell target) const {
    const WalkGridCell cell = cellOf(index);
    return float(std::abs(cell.column - target.column) + std::abs(cell.row - target.row));
}

void WalkGrid::visitNeighbours(uint32_t current, WalkGridCell target, float diagonalFactor) {
    const WalkGridCell at = cellOf(current);
    const float currentCost = m_costs[current];
    for (int32_t row = at.row - 1; row <= at.row + 1; ++row) {
        if (row < 0 || row >= m_rows)
            continue;
        for (int32_t column = at.column - 1; column <= at.column + 1; ++column) {
            if (column < 0 || column >= m_columns)
                continue;
            const uint32_t index = indexOf({column, row});
            if (m_marks[index] == kClosed)
                continue;
            float step = float(m_weights[index] + 1);
            if (column != at.column && row != at.row)
                step *= diagonalFactor;
            const float cost = currentCost + step;
            if (m_marks[index] == kUnseen)
                openCell(index, current, cost, target);
            else if (m_costs[index] > cost)
                improveCell(index, current, cost, target);
        }
    }
}

// A new item rises above the items of an equal total.
void WalkGrid::openCell(uint32_t index, uint32_t parent, float cost, WalkGridCell target) {
    m_parents[index] = parent;
    m_costs[index] = cost;
    m_totals[index] = cost + estimate(index, target);
    m_marks[index] = kOpen;
    ++m_openCount;
    m_heap[m_openCount] = index;
    m_heapPositions[index] = m_openCount;
    siftUp(m_openCount, true);
}

// An improved item rises only above dearer ones.
void WalkGrid::improveCell(uint32_t index, uint32_t parent, float cost, WalkGridCell target) {
    m_parents[index] = parent;
    m_costs[index] = cost;
    m_totals[index] = cost + estimate(index, target);
    siftUp(m_heapPositions[index], false);
}

uint32_t WalkGrid::popCheapest() {
    const uint32_t cheapest = m_heap[1];
    swapHeapItems(1, m_openCount);
    --m_openCount;
    uint32_t position = 1;
    for (;;) {
        uint32_t chosen = position;
        const uint32_t left = 2 * position;
        if (left <= m_openCount && m_totals[m_heap[left]] <= m_totals[m_heap[chosen]])
            chosen = left;
        if (left + 1 <= m_openCount && m_totals[m_heap[left + 1]] <= m_totals[m_heap[chosen]])
            chosen = left + 1;
        if (chosen == position)
            return cheapest;
        swapHeapItems(position, chosen);
        position = chosen;
    }
}

void WalkGrid::siftUp(uint32_t position, bool overEqual) {
    while (position > 1) {
        const uint32_t parent = position / 2;
        const float above = m_totals[m_heap[parent]];
        const float own = m_totals[m_heap[position]];
        if (overEqual ? above < own : above <= own)
            return;
        swapHeapItems(parent, position);
        position = parent;
    }
}

void WalkGrid::swapHeapItems(uint32_t a, uint32_t b) {
    std::swap(m_heap[a], m_heap[b]);
    m_heapPositions[m_heap[a]] = a;
    m_heapPositions[m_heap[b]] = b;
}

// Parents always lead to cells closed earlier, so the chain from the target ends at the start.
void WalkGrid::tracePath(uint32_t startIndex, uint32_t targetIndex,
                         CArray<WalkGridCell>& path) const {
    uint32_t length = 1;
    for (uint32_t index = targetIndex; index != startIndex; index = m_parents[index])
        ++length;
    if (path.allocated() < length)
        path.reallocate(length);
    for (uint32_t i = 0; i < length; ++i)
        path.append(WalkGridCell());
    uint32_t at = length;
    for (uint32_t index = targetIndex; index != startIndex; index = m_parents[index])
        path[--at] = cellOf(index);
    path[0] = cellOf(startIndex);
}

// Each kept cell is followed by the furthest cell after it that a clear line reaches; the
// path is compacted in place, kept cells never passing the cell being looked from.
void WalkGrid::smoothPath(CArray<WalkGridCell>& path) const {
    const uint32_t count = path.size();
    uint32_t anchor = 0;
    uint32_t kept = 1;
    while (anchor + 2 < count) {
        uint32_t candidate = anchor + 2;
        while (candidate < count && isLineClear(path[anchor], path[candidate]))
            ++candidate;
        anchor = candidate - 1;
        path[kept++] = path[anchor];
    }
    for (uint32_t i = anchor + 1; i < count; ++i)
        path[kept++] = path[i];
    path.truncate(kept);
}

// Walks the line in unit steps from the corner of one cell toward the corner of the other.
// A line from or to a cell outside the grid is never clear.
bool WalkGrid::isLineClear(WalkGridCell from, WalkGridCell to) const {
    if (!contains(from) || !contains(to))
        return false;
    const float dx = float(to.column - from.column);
    const float dy = float(to.row - from.row);
    const float length = std::sqrt(dx * dx + dy * dy);
    const float stepX = length > 0 ? dx / length : 0;
    const float stepY = length > 0 ? dy / length : 0;
    const float lastColumn = float(m_columns - 1);
    const float lastRow = float(m_rows - 1);
    float x = float(from.column);
    float y = float(from.row);
    for (float t = 0; t <= length; t += 1) {
        const WalkGridCell cell{int32_t(std::clamp(std::floor(x), 0.0f, lastColumn)),
                                int32_t(std::clamp(std::floor(y), 0.0f, lastRow))};
        if (m_weights[indexOf(cell)] > kSmoothingWall)
            return false;
        x += stepX;
        y += stepY;
    }
    return true;
}
