#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "game/level/WalkGrid.h"

// Grids drawn as text, one string per row: '.' weight 0, a digit that weight, 'x' 11 and '#'
// 255.
inline void drawGrid(WalkGrid& grid, const std::vector<std::string>& rows) {
    grid.allocate(int32_t(rows[0].size()), int32_t(rows.size()));
    for (int32_t row = 0; row < int32_t(rows.size()); ++row) {
        for (int32_t column = 0; column < int32_t(rows[row].size()); ++column) {
            const char c = rows[row][column];
            const uint8_t weight = c == '#'               ? 255
                                   : c == 'x'             ? 11
                                   : c >= '0' && c <= '9' ? c - '0'
                                                          : 0;
            grid.setWeight({column, row}, weight);
        }
    }
}

inline std::string describeCells(const CArray<WalkGridCell>& cells) {
    std::ostringstream text;
    for (const WalkGridCell& cell : cells)
        text << "(" << cell.column << "," << cell.row << ")";
    return text.str();
}

inline std::string describePoints(const CArray<CVector2d>& points) {
    std::ostringstream text;
    for (const CVector2d& point : points)
        text << "(" << point.x << "," << point.y << ")";
    return text.str();
}

// The bytes of a "wgrid.bin", little-endian.
class WalkGridBytes {
public:
    WalkGridBytes& u32(uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8)
            m_bytes += char(value >> shift);
        return *this;
    }
    WalkGridBytes& name(const std::string& text) {
        m_bytes += char(text.size());
        m_bytes += text;
        return *this;
    }
    // The file cut to that many bytes.
    WalkGridBytes& cut(size_t size) {
        m_bytes.resize(size);
        return *this;
    }
    const std::string& bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};
