#!/usr/bin/env python3
"""Writes the walk grids of the level settings ("wgrid.bin") from their description.

The description (content/media/walkgrids.json) names, for each grid file, its cell size, its
columns and rows, the extra entries the file carries unread, and the regions: for each location
template, the cells around the cell of a location built from it and the weight each cell takes
(0 to 255; weights make walking through a cell dearer, none forbids it). A region is a list of
rectangles, each with the first and last column offset, the first and last row offset and the
weight; later rectangles overwrite earlier ones where they meet.

The file is little-endian: cell size, columns, rows, the count and the extra entries, the count
of regions, then each region as its name's length in one byte, the name, the count of entries
and the entries. An entry packs the weight in bits 0-7, the row offset in bits 8-15 and the
column offset in bits 16-23, both as signed bytes. Regions are written in the order given.

Usage: tools/make-walkgrids.py DESCRIPTION.json CONTENT-FOLDER
"""
import json
import os
import struct
import sys


def entry(column, row, weight):
    if not (-128 <= column <= 127 and -128 <= row <= 127 and 0 <= weight <= 255):
        raise ValueError(f"region cell ({column}, {row}) weight {weight} out of range")
    return (column & 0xFF) << 16 | (row & 0xFF) << 8 | weight


def region_entries(rectangles):
    """The entries of a region, one per cell, in column-then-row order."""
    cells = {}
    for rectangle in rectangles:
        first_column, last_column = rectangle["columns"]
        first_row, last_row = rectangle["rows"]
        for column in range(first_column, last_column + 1):
            for row in range(first_row, last_row + 1):
                cells[(column, row)] = rectangle["weight"]
    return [entry(column, row, weight) for (column, row), weight in sorted(cells.items())]


def grid_bytes(grid):
    out = struct.pack("<iiiI", grid["cellSize"], grid["columns"], grid["rows"],
                      len(grid.get("extra", [])))
    out += b"".join(struct.pack("<I", value) for value in grid.get("extra", []))
    regions = grid.get("regions", {})
    out += struct.pack("<I", len(regions))
    for name, rectangles in regions.items():
        encoded = name.encode("ascii")
        if len(encoded) > 255:
            raise ValueError(f"region name {name} is longer than 255 bytes")
        entries = region_entries(rectangles)
        out += struct.pack("<B", len(encoded)) + encoded + struct.pack("<I", len(entries))
        out += b"".join(struct.pack("<I", value) for value in entries)
    return out


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1], encoding="utf-8") as source:
        grids = json.load(source)
    for name, grid in grids.items():
        path = os.path.join(sys.argv[2], name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(grid_bytes(grid))


if __name__ == "__main__":
    main()
