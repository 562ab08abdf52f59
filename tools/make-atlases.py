#!/usr/bin/env python3
"""Packs images into texture atlases: page images and the atlas description the engine reads.

The description (content/media/atlases.json) names, for each atlas file, its page size and the
images it holds, by their content names below the content folder. Each image keeps its own file
too: an atlas entry is found by the same name as long as the atlas is loaded, the file after.
Images are packed on shelves, tallest first, into as many pages as they need; each is framed by
a copy of its outer pixels so that filtering at its edges never reads a neighbour. An entry's
rectangle is x1,y1,x2,y2 in page pixels with x2 and y2 one past the image, so that x2 - x1 is
the image's width. An atlas without images is written without pages.

Usage: tools/make-atlases.py DESCRIPTION.json CONTENT-FOLDER
"""
import json
import os
import sys

from PIL import Image

EDGE = 1  # pixels of copied edge around each image
GAP = 1  # empty pixels between two framed images


def extruded(image):
    """The image with its outer rows and columns repeated EDGE times around it."""
    w, h = image.size
    framed = Image.new("RGBA", (w + 2 * EDGE, h + 2 * EDGE))
    framed.paste(image.resize((w + 2 * EDGE, h + 2 * EDGE), Image.NEAREST))
    framed.paste(image, (EDGE, EDGE))
    return framed


def pack(images, page_size):
    """Places (name, image) pairs; returns pages as lists of (name, image, x, y) in page pixels."""
    width, height = page_size
    pages = []
    order = sorted(images, key=lambda item: (-item[1].height, item[0]))
    for name, image in order:
        w, h = image.width + 2 * EDGE, image.height + 2 * EDGE
        if w > width or h > height:
            sys.exit(f"{name} ({image.width}x{image.height}) does not fit a {width}x{height} page")
        placed = False
        for page in pages:
            shelf = page["shelves"][-1]
            if shelf["x"] + w > width:
                top = shelf["y"] + shelf["height"] + GAP
                if top + h > height:
                    continue
                shelf = {"x": 0, "y": top, "height": h}
                page["shelves"].append(shelf)
            if shelf["y"] + h > height:
                continue
            page["items"].append((name, image, shelf["x"] + EDGE, shelf["y"] + EDGE))
            shelf["x"] += w + GAP
            shelf["height"] = max(shelf["height"], h)
            placed = True
            break
        if not placed:
            pages.append({"shelves": [{"x": w + GAP, "y": 0, "height": h}],
                          "items": [(name, image, EDGE, EDGE)]})
    return [page["items"] for page in pages]


def write_atlas(atlas_name, description, folder):
    images = []
    for name in description["images"]:
        with Image.open(os.path.join(folder, name)) as image:
            images.append((name, image.convert("RGBA")))
    pages = pack(images, description.get("page", [1024, 1024]))
    stem = os.path.splitext(os.path.basename(atlas_name))[0]
    path = os.path.join(folder, atlas_name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    lines = ['<?xml version="1.0" encoding="utf-8"?>', "<AtlasTextureCollection>"]
    entries = []
    for index, items in enumerate(pages):
        page_name = f"{stem}{index}.png"
        page = Image.new("RGBA", tuple(description.get("page", [1024, 1024])))
        for name, image, x, y in items:
            page.paste(extruded(image), (x - EDGE, y - EDGE))
            entries.append(f'\t<t n="{name}" i="{index}" '
                           f'r="{x},{y},{x + image.width},{y + image.height}" />')
        page.save(os.path.join(os.path.dirname(path), page_name), "PNG")
        lines.append(f'\t<a f="{page_name}" />')
    lines += sorted(entries) + ["</AtlasTextureCollection>", ""]
    with open(path, "w", encoding="ascii", newline="\n") as out:
        out.write("\n".join(lines))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1], encoding="utf-8") as source:
        atlases = json.load(source)
    for atlas_name, description in atlases.items():
        write_atlas(atlas_name, description, sys.argv[2])


if __name__ == "__main__":
    main()
