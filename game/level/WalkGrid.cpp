#include "game/level/WalkGrid.h"

#include <cmath>

namespace {

// Cells further out than this from the grid stand for every point beyond, so that huge or
// broken coordinates never overflow a conversion.
constexpr float kFarCell = float(1 << 20);

template <typename T>
void fillArray(CArray<T>& array, uint32_t count, T value) {
    array.clear();
    array.reallocate(count);
    for (uint32_t i = 0; i < count; ++i)
        array.append(value);
}

int32_t toCellNumber(float cells) {
    if (cells >= kFarCell)
        return int32_t(kFarCell);
    if (!(cells > -kFarCell)) // below, or not a number
        return -int32_t(kFarCell);
    return int32_t(cells);
}

} // namespace

uint32_t WalkGrid::makeRegionEntry(int32_t columnOffset, int32_t rowOffset, uint8_t weight) {
    return uint32_t(uint8_t(columnOffset)) << 16 | uint32_t(uint8_t(rowOffset)) << 8 | weight;
}

void WalkGrid::setDefaults() {
    m_cellSize = kDefaultCellSize;
    allocate(kDefaultColumns, kDefaultRows);
    m_regions.clear();
    m_extraEntries.clear();
}

void WalkGrid::allocate(int32_t columns, int32_t rows) {
    free();
    m_columns = columns;
    m_rows = rows;
    if (columns <= 0 || rows <= 0 || columns > kMaxSide || rows > kMaxSide)
        return;
    const uint32_t cells = uint32_t(columns) * uint32_t(rows);
    fillArray<uint8_t>(m_weights, cells, 0);
    fillArray<uint8_t>(m_marks, cells, 0);
    fillArray<uint32_t>(m_parents, cells, 0);
    fillArray<float>(m_costs, cells, 0);
    fillArray<float>(m_totals, cells, 0);
    fillArray<uint32_t>(m_heapPositions, cells, 0);
    fillArray<uint32_t>(m_heap, cells + 1, 0);
}

void WalkGrid::free() {
    m_weights.clear();
    m_marks.clear();
    m_parents.clear();
    m_costs.clear();
    m_totals.clear();
    m_heapPositions.clear();
    m_heap.clear();
    m_openCount = 0;
}

void WalkGrid::clearWeights() {
    allocate(m_columns, m_rows);
}

void WalkGrid::stampRegion(WalkGridCell cell, CNameId templateName) {
    for (uint32_t entry : getRegion(templateName)) {
        const WalkGridCell target{cell.column + int8_t(entry >> 16), cell.row + int8_t(entry >> 8)};
        setWeight(target, uint8_t(entry));
    }
}

WalkGridCell WalkGrid::cellAt(const CVector2d& point) const {
    const float size = float(m_cellSize);
    return {toCellNumber(std::trunc(point.x / size)), toCellNumber(std::trunc(point.y / size))};
}

CVector2d WalkGrid::centreOf(WalkGridCell cell) const {
    const float size = float(m_cellSize);
    return {(float(cell.column) + 0.5f) * size, (float(cell.row) + 0.5f) * size};
}

bool WalkGrid::contains(WalkGridCell cell) const {
    return hasCells() && cell.column >= 0 && cell.column < m_columns && cell.row >= 0 &&
           cell.row < m_rows;
}

uint8_t WalkGrid::getWeight(WalkGridCell cell) const {
    return contains(cell) ? m_weights[indexOf(cell)] : 0;
}

void WalkGrid::setWeight(WalkGridCell cell, uint8_t weight) {
    if (contains(cell))
        m_weights[indexOf(cell)] = weight;
}

bool WalkGrid::containsPoint(const CVector2d& point) const {
    const double width = double(m_columns) * m_cellSize;
    const double height = double(m_rows) * m_cellSize;
    return point.x >= 0 && point.x < width && point.y >= 0 && point.y < height;
}

void WalkGrid::findPath(const CVector2d& start, const CVector2d& target, CArray<CVector2d>& points,
                        bool smooth) {
    if (m_cellSize == 0) {
        points.append(target);
        points.append(start);
        return;
    }
    if (!containsPoint(start) || !containsPoint(target))
        return;
    search(cellAt(start), cellAt(target), m_cellPath, smooth);
    const uint32_t first = points.size();
    if (points.allocated() < first + m_cellPath.size())
        points.reallocate(first + m_cellPath.size());
    for (uint32_t i = m_cellPath.size(); i-- > 0;)
        points.append(centreOf(m_cellPath[i]));
    if (points.size() - first > 1) {
        points[first] = target;
        points[points.size() - 1] = start;
    }
}
