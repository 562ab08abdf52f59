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

A region may instead list its cells as [column, row, weight], one entry each in the order given,
as "--describe" writes a region that no rectangle gives: that turns a "wgrid.bin" (such as one
the level's editor wrote with F2) back into its entry of the description, so that building the
entry again gives the same bytes.

Usage: tools/make-walkgrids.py DESCRIPTION.json CONTENT-FOLDER
       tools/make-walkgrids.py --describe WGRID.BIN NAME DESCRIPTION.json
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


def listed_entries(region):
    """The entries of a region: its cells as listed, or its rectangles' cells in order."""
    if isinstance(region, dict):
        return [entry(column, row, weight) for column, row, weight in region["cells"]]
    return region_entries(region)


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
        entries = listed_entries(rectangles)
        out += struct.pack("<B", len(encoded)) + encoded + struct.pack("<I", len(entries))
        out += b"".join(struct.pack("<I", value) for value in entries)
    return out


def signed_byte(value):
    return value - 256 if value > 127 else value


def describe_region(entries):
    """One rectangle when the entries are exactly its cells in the order the rectangles give,
    else the cells as listed."""
    cells = []
    for value in entries:
        if value >> 24:
            raise ValueError(f"region entry {value:#010x} has bits 24-31 set")
        cells.append([signed_byte(value >> 16 & 0xFF), signed_byte(value >> 8 & 0xFF),
                      value & 0xFF])
    if not cells:
        return []
    columns = [min(c[0] for c in cells), max(c[0] for c in cells)]
    rows = [min(c[1] for c in cells), max(c[1] for c in cells)]
    rectangle = {"columns": columns, "rows": rows, "weight": cells[0][2]}
    if region_entries([rectangle]) == list(entries):
        return [rectangle]
    return {"cells": cells}


def describe_grid(data):
    """The description of a "wgrid.bin"; a file that ends early or runs on is refused."""
    def take(count):
        nonlocal offset
        if offset + count > len(data):
            raise ValueError("the grid file ends early")
        offset += count
        return data[offset - count:offset]

    def words(count, form="I"):
        return list(struct.unpack(f"<{count}{form}", take(4 * count)))

    offset = 0
    cell_size, columns, rows = words(3, "i")
    extra = words(words(1)[0])
    regions = {}
    for _ in range(words(1)[0]):
        name = take(take(1)[0]).decode("ascii")
        if name in regions:
            raise ValueError(f"region {name} occurs twice")
        regions[name] = describe_region(words(words(1)[0]))
    if offset != len(data):
        raise ValueError("the grid file runs on after its regions")
    return {"cellSize": cell_size, "columns": columns, "rows": rows, "extra": extra,
            "regions": regions}


def format_region(region):
    if not region:
        return "[]"
    if isinstance(region, list):
        return "[\n" + ",\n".join(" " * 8 + json.dumps(r) for r in region) + "\n      ]"
    cells = region["cells"]
    lines = [", ".join(json.dumps(c) for c in cells[i:i + 6]) for i in range(0, len(cells), 6)]
    return "{\"cells\": [\n" + ",\n".join(" " * 8 + line for line in lines) + "\n      ]}"


def format_description(grids):
    """The description as the content keeps it: one rectangle or six cells a line."""
    out = []
    for name, grid in grids.items():
        fields = [f'    "{key}": {json.dumps(grid[key])}'
                  for key in ("cellSize", "columns", "rows", "extra")]
        regions = [f"      {json.dumps(region)}: {format_region(cells)}"
                   for region, cells in grid.get("regions", {}).items()]
        fields.append('    "regions": {\n' + ",\n".join(regions) + "\n    }" if regions
                      else '    "regions": {}')
        out.append(f"  {json.dumps(name)}: {{\n" + ",\n".join(fields) + "\n  }")
    return "{\n" + ",\n".join(out) + "\n}\n"


def describe(grid_path, name, description_path):
    with open(grid_path, "rb") as source:
        grid = describe_grid(source.read())
    grids = {}
    if os.path.exists(description_path):
        with open(description_path, encoding="utf-8") as source:
            grids = json.load(source)
    grids[name] = grid
    with open(description_path, "w", encoding="utf-8") as out:
        out.write(format_description(grids))


def main():
    if len(sys.argv) == 5 and sys.argv[1] == "--describe":
        describe(*sys.argv[2:])
        return
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
