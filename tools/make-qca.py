#!/usr/bin/env python3
"""Packs a folder into a packed archive (.qca), the format the engine mounts as "assets.qca".

Layout, little-endian: a 16-byte plain header (magic b"QCA\\0", directory offset, entry count,
reserved 0), the entries' data back to back, then the directory: per entry a u16 name length,
the name bytes ('/' separates folders), the u32 data offset and the u32 data size. Every byte
after the header is combined by exclusive-or with the password byte (position - 16) mod L.

Usage: tools/make-qca.py [--password TEXT] OUTPUT.qca FOLDER
The functions below are also imported by the test fixture scripts to build damaged archives.
"""
import argparse
import os
import struct
import sys

MAGIC = b"QCA\0"
HEADER_SIZE = 16


def scramble(archive, password):
    """Scrambles (or unscrambles) every byte after the header in place."""
    if not password:
        return archive
    # Whole copies of the password per chunk, so that every chunk starts at key position 0.
    chunk = len(password) * max(1, (1 << 20) // len(password))
    key = password * (chunk // len(password))
    for start in range(HEADER_SIZE, len(archive), chunk):
        end = min(start + chunk, len(archive))
        mixed = int.from_bytes(archive[start:end], "little") ^ int.from_bytes(
            key[:end - start], "little")
        archive[start:end] = mixed.to_bytes(end - start, "little")
    return archive


def layout(entries):
    """Places the data of (name, data) pairs back to back after the header.

    Returns the data and the directory records (name, offset, size)."""
    data = bytearray()
    records = []
    for name, payload in entries:
        records.append((name, HEADER_SIZE + len(data), len(payload)))
        data += payload
    return bytes(data), records


def directory(records):
    return b"".join(
        struct.pack("<H", len(name)) + name + struct.pack("<II", offset, size)
        for name, offset, size in records)


def assemble(data, records, password=b"", count=None, magic=MAGIC):
    """The archive bytes; count and magic may be overridden to make damaged archives."""
    directory_offset = HEADER_SIZE + len(data)
    header = magic + struct.pack("<III", directory_offset,
                                 len(records) if count is None else count, 0)
    return bytes(scramble(bytearray(header + data + directory(records)), password))


def pack(entries, password=b""):
    data, records = layout(entries)
    return assemble(data, records, password)


def collect(folder):
    """Every file below folder as (name bytes with '/' separators, contents), sorted by name."""
    entries = []
    for root, dirs, files in os.walk(folder):
        dirs.sort()
        for file_name in sorted(files):
            path = os.path.join(root, file_name)
            name = os.path.relpath(path, folder).replace(os.sep, "/")
            with open(path, "rb") as source:
                entries.append((os.fsencode(name), source.read()))
    return entries


def main():
    parser = argparse.ArgumentParser(description="Packs a folder into a .qca archive.")
    parser.add_argument("--password", default="", help="8-bit text; empty scrambles nothing")
    parser.add_argument("output")
    parser.add_argument("folder")
    args = parser.parse_args()
    entries = collect(args.folder)
    for name, payload in entries:
        if len(name) > 0xFFFF:
            sys.exit(f"name too long: {name!r}")
    archive = pack(entries, os.fsencode(args.password))
    if len(archive) > 0x7FFFFFFF:
        sys.exit("archive would reach 2 GiB")
    with open(args.output, "wb") as out:
        out.write(archive)


if __name__ == "__main__":
    main()
