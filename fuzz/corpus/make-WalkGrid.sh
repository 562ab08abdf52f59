#!/usr/bin/env bash
# Writes the seed files of the walk grid fuzz target. Each file ends with five bytes that the
# format leaves unread and the target takes as its picks: the cell to stamp the regions around
# and the two points of the search.
set -euo pipefail
mkdir -p "$(dirname "$0")/WalkGrid"
cd "$(dirname "$0")/WalkGrid"

python3 - <<'PY'
import struct

def u32(*values):
    return b"".join(struct.pack("<I", v & 0xFFFFFFFF) for v in values)

def entry(column, row, weight):
    return (column & 0xFF) << 16 | (row & 0xFF) << 8 | weight

def region(name, entries):
    return bytes([len(name)]) + name + u32(len(entries)) + u32(*entries)

def grid(cell, columns, rows, extras, regions, picks):
    body = u32(cell, columns, rows, len(extras), *extras, len(regions))
    return body + b"".join(regions) + bytes(picks)

seeds = {
    # The default grid's sizes, a pad's footprint, a search across the screen.
    "default.bin": grid(20, 52, 39, [], [
        region(b"Pad", [entry(0, 0, 255), entry(1, 0, 255), entry(-1, 1, 40)]),
        region(b"Bar", [entry(0, -1, 11)])], [121, 120, 20, 220, 200]),
    # Extra entries kept as read, a region named twice, an empty name and an empty region.
    "extras.bin": grid(16, 8, 6, [1, 0xDEADBEEF], [
        region(b"Twice", [entry(2, 2, 5)]), region(b"", [entry(0, 0, 9)]),
        region(b"Twice", [entry(-2, -2, 200)]), region(b"Empty", [])], [9, 100, 30, 200, 40]),
    # A wall of 255 down the middle of a large grid, with one gap, searched across; smoothed.
    "wall.bin": grid(10, 256, 256, [], [
        region(b"Wall", [entry(0, r, 255) for r in range(-127, 128) if r != 40])],
        [200, 124, 128, 245, 128]),
    # The largest grid that the target searches, corner to corner.
    "corners.bin": grid(1, 256, 256, [], [], [0, 8, 8, 247, 247]),
    # Refused: a cell size of 0, a grid too wide, counts past the end, a cut file.
    "zero-cell.bin": u32(0, 52, 39, 0, 0),
    "too-wide.bin": u32(20, 1025, 39, 0, 0),
    "extra-count.bin": u32(20, 52, 39, 0x40000000, 0),
    "region-count.bin": u32(20, 52, 39, 0, 1000) + region(b"A", []),
    "entry-count.bin": u32(20, 52, 39, 0, 1) + bytes([1]) + b"A" + u32(0xFFFFFFFF, 1),
    "cut.bin": grid(20, 52, 39, [], [region(b"Pad", [entry(0, 0, 1)])], [])[:-3],
}
for name, data in seeds.items():
    with open(name, "wb") as f:
        f.write(data)
PY
