#!/usr/bin/env python3
"""Builds the game's content: stages every file the game reads in one folder, then packs that
folder into the archive "assets.qca" with the game's password.

The folder receives the text sources of content/assets as they are, then the media that the
tools make from the descriptions in content/media: images (make-images.py), texture atlases
packed from those images (make-atlases.py), sounds (make-sounds.py), bitmap fonts made from
DejaVu fonts (make-font.py; fonts.json gives each font file its TrueType font and pixel size),
the levels' walk grids (make-walkgrids.py) and the level plan (make-levels.py: the level lists
and their briefing texts, made from the staged files).
The staged folder mirrors the archive, so it can also be copied to "assets" next to the
program to try changes.

Usage: tools/build-content.py SOURCE-FOLDER STAGE-FOLDER ARCHIVE PASSWORD-HEADER
"""
import importlib.util
import json
import os
import re
import shutil
import subprocess
import sys

TOOLS = os.path.dirname(os.path.abspath(__file__))
TRUETYPE_FOLDER = "/usr/share/fonts/truetype/dejavu"


def load_tool(file_name):
    spec = importlib.util.spec_from_file_location(file_name.replace("-", "_"),
                                                  os.path.join(TOOLS, file_name))
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def read_password(header):
    """The text of kContentArchivePassword, which must be a plain string literal."""
    with open(header, encoding="ascii") as source:
        match = re.search(r'kContentArchivePassword\[\]\s*=\s*"([^"\\]*)";', source.read())
    if not match:
        sys.exit(f"{header}: no plain kContentArchivePassword literal")
    return match.group(1).encode("ascii")


def start_tool(file_name, *arguments):
    return subprocess.Popen([sys.executable, os.path.join(TOOLS, file_name), *arguments])


def start_fonts(description, stage):
    with open(description, encoding="utf-8") as source:
        fonts = json.load(source)
    jobs = []
    for name, font in fonts.items():
        output = os.path.join(stage, name)
        os.makedirs(os.path.dirname(output), exist_ok=True)
        jobs.append(start_tool("make-font.py", "--size", str(font["size"]), "--page-size", "512",
                               os.path.join(TRUETYPE_FOLDER, font["font"]), output))
    return jobs


def finish(jobs):
    for job in jobs:
        if job.wait() != 0:
            sys.exit(f"{' '.join(job.args)} failed")


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    source, stage, archive, header = sys.argv[1:]
    password = read_password(header)
    shutil.rmtree(stage, ignore_errors=True)
    shutil.copytree(os.path.join(source, "assets"), stage)
    media = os.path.join(source, "media")
    # The tools write separate files, so they run side by side; the atlases and the level
    # plan's settings need the images.
    jobs = [start_tool("make-sounds.py", os.path.join(media, "sounds.json"), stage),
            start_tool("make-walkgrids.py", os.path.join(media, "walkgrids.json"), stage)]
    jobs += start_fonts(os.path.join(media, "fonts.json"), stage)
    finish([start_tool("make-images.py", os.path.join(media, "images.json"), stage)])
    jobs.append(start_tool("make-atlases.py", os.path.join(media, "atlases.json"), stage))
    jobs.append(start_tool("make-levels.py", os.path.join(media, "levels.json"), stage))
    finish(jobs)

    qca = load_tool("make-qca.py")
    packed = qca.pack(qca.collect(stage), password)
    os.makedirs(os.path.dirname(os.path.abspath(archive)), exist_ok=True)
    with open(archive + ".part", "wb") as out:
        out.write(packed)
    os.replace(archive + ".part", archive)


if __name__ == "__main__":
    main()
