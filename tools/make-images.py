#!/usr/bin/env python3
"""Draws the game's images from a description of layers (content/media/images.json) with Pillow.

Every image is a transparent canvas of "size" pixels on which its "layers" are drawn in order.
Shapes are drawn "supersample" times larger and scaled down, so that their edges are smooth; a
translucent layer is blended over what lies below it. Colours are "#rrggbb" or "#rrggbbaa", and
a fill is a colour or a [top, bottom] pair for a gradient from the top of the shape to its
bottom. Layers, each an object with one key naming its kind:
  gradient   {"colors": [top, bottom]}                 the whole canvas
  glow       {"at": [x, y], "radius": r, "color": c}    a soft round light
  polygon    {"points": [[x, y], ...], "fill": f, "blur": b}
  box        {"rect": [x, y, w, h], "radius": r, "fill": f, "border": c, "width": w}
  ellipse    {"rect": [x, y, w, h], "fill": f, "border": c, "width": w}
  line       {"points": [[x, y], ...], "color": c, "width": w}
  star       {"at": [x, y], "radius": r, "fill": f}
  text       {"text": t, "font": file, "size": s, "at": [x, y], "anchor": "mm", "fill": c,
              "shadow": c}
A "rect" may be left out for the whole canvas. Fonts are file names in the DejaVu folder.

Usage: tools/make-images.py DESCRIPTION.json OUTPUT-FOLDER
"""
import json
import math
import os
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

FONT_FOLDER = "/usr/share/fonts/truetype/dejavu"


def color(text):
    text = text.lstrip("#")
    if len(text) not in (6, 8):
        raise ValueError(f"colour {text!r} is not #rrggbb or #rrggbbaa")
    rgba = tuple(int(text[i:i + 2], 16) for i in range(0, len(text), 2))
    return rgba if len(rgba) == 4 else rgba + (255,)


def vertical_gradient(size, top, bottom):
    """A size[0] x size[1] image running from colour top to colour bottom."""
    column = Image.new("RGBA", (1, 256))
    for y in range(256):
        t = y / 255
        column.putpixel((0, y), tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))
    return column.resize(size, Image.BILINEAR)


def paint(fill, mask):
    """A layer of colour, or of a gradient from the mask's top to its bottom, seen through mask."""
    if isinstance(fill, list):
        layer = vertical_gradient(mask.size, color(fill[0]), color(fill[1]))
        alpha = ImageChops.multiply(layer.getchannel("A"), mask)
    else:
        rgba = color(fill)
        layer = Image.new("RGBA", mask.size, rgba)
        alpha = mask.point(lambda v: v * rgba[3] // 255)
    layer.putalpha(alpha)
    return layer


class Canvas:
    """Draws at supersample times the final size; image() scales the result down once."""

    def __init__(self, size, supersample):
        self.size = tuple(size)
        self.scale = supersample
        self.big = Image.new("RGBA", (self.size[0] * self.scale, self.size[1] * self.scale))

    def image(self):
        return self.big.resize(self.size, Image.LANCZOS) if self.scale > 1 else self.big

    def scaled(self, values):
        return [v * self.scale for v in values]

    def rect(self, spec):
        x, y, w, h = spec.get("rect", [0, 0, self.size[0], self.size[1]])
        return self.scaled([x, y, x + w, y + h])

    def shape(self, fill, draw_mask, blur=0):
        """Blends fill through the mask that draw_mask(ImageDraw) draws."""
        mask = Image.new("L", self.big.size, 0)
        draw_mask(ImageDraw.Draw(mask))
        if blur:
            mask = mask.filter(ImageFilter.GaussianBlur(blur * self.scale))
        box = mask.getbbox()
        if box:
            self.big.alpha_composite(paint(fill, mask.crop(box)), dest=box[:2])

    def outlined(self, spec, draw):
        """A filled shape with an optional border ring of spec["width"] pixels inside its edge;
        draw(ImageDraw, box, inset, value) draws the shape shrunk by inset large pixels."""
        outer = self.rect(spec)
        inset = spec.get("width", 2) * self.scale if "border" in spec else 0
        inner = [outer[0] + inset, outer[1] + inset, outer[2] - inset, outer[3] - inset]
        if "border" in spec:
            def ring(d):
                draw(d, outer, 0, 255)
                draw(d, inner, inset, 0)

            self.shape(spec["border"], ring)
        if "fill" in spec:
            self.shape(spec["fill"], lambda d: draw(d, inner, inset, 255))

    def gradient(self, spec):
        top, bottom = spec["colors"]
        self.shape([top, bottom], lambda d: d.rectangle([0, 0, *self.big.size], fill=255))

    def glow(self, spec):
        x, y = self.scaled(spec["at"])
        r = spec["radius"] * self.scale / 2
        self.shape(spec["color"], lambda d: d.ellipse([x - r, y - r, x + r, y + r], fill=255),
                   blur=spec["radius"] / 3)

    def polygon(self, spec):
        points = [tuple(self.scaled(p)) for p in spec["points"]]
        self.shape(spec["fill"], lambda d: d.polygon(points, fill=255), spec.get("blur", 0))

    def box(self, spec):
        radius = spec.get("radius", 0) * self.scale
        self.outlined(spec, lambda d, box, inset, value: d.rounded_rectangle(
            box, radius=max(0, radius - inset), fill=value))

    def ellipse(self, spec):
        self.outlined(spec, lambda d, box, inset, value: d.ellipse(box, fill=value))

    def line(self, spec):
        points = [tuple(self.scaled(p)) for p in spec["points"]]
        width = round(spec.get("width", 2) * self.scale)
        self.shape(spec["color"], lambda d: d.line(points, fill=255, width=width, joint="curve"))

    def star(self, spec):
        x, y = spec["at"]
        outer = spec["radius"]
        points = []
        for i in range(10):
            r = outer if i % 2 == 0 else outer * 0.45
            angle = math.pi * (i / 5 - 0.5)
            points.append([x + r * math.cos(angle), y + r * math.sin(angle)])
        self.polygon({"points": points, "fill": spec["fill"]})

    def text(self, spec):
        font = ImageFont.truetype(os.path.join(FONT_FOLDER, spec["font"]),
                                  spec["size"] * self.scale)
        anchor = spec.get("anchor", "mm")
        x, y = self.scaled(spec["at"])

        def write(offset):
            return lambda d: d.text((x + offset, y + offset), spec["text"], font=font,
                                    anchor=anchor, fill=255)

        if "shadow" in spec:
            offset = max(1, spec["size"] // 16)
            self.shape(spec["shadow"], write(offset * self.scale), blur=offset)
        self.shape(spec.get("fill", "#ffffff"), write(0))


def draw_image(description):
    canvas = Canvas(description["size"], description.get("supersample", 4))
    for layer in description["layers"]:
        (kind, spec), = layer.items()
        getattr(canvas, kind)(spec)
    return canvas.image()


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1], encoding="utf-8") as source:
        images = json.load(source)
    for name, description in images.items():
        path = os.path.join(sys.argv[2], name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        draw_image(description).save(path, "PNG")


if __name__ == "__main__":
    main()
