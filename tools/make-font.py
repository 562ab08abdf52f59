#!/usr/bin/python3
"""Makes a bitmap font (a .qfnt description and its page images) from a TrueType font.

Usage:
  tools/make-font.py [options] FONT.ttf OUTPUT.qfnt

  FONT.ttf            a TrueType or OpenType font, e.g. one Debian ships in fonts-dejavu-core:
                      /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
  OUTPUT.qfnt         the description to write; the pages are written beside it as
                      OUTPUT_0.png, OUTPUT_1.png, ... and named in it relative to its folder

Options:
  --size PX           glyph size in pixels (the font's em), default 16
  --chars TEXT        the characters to include (default: printable ASCII and Latin-1)
  --chars-file FILE   the characters of a UTF-8 text file (line ends ignored), added to --chars
  --page-size N       width and height of each page image, a power of two, default 256
  --padding N         transparent pixels around each glyph, default 1
  --spacing X;Y       global spacing: X after every character, Y between lines, default 0;0
  --no-kerning        write no kerning pairs

Example, the game's body text:
  tools/make-font.py --size 18 /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf \\
      content/fonts/Body.qfnt

Glyphs are white, with the coverage in the alpha channel, so a text node's colour tints them.
Metrics come from FreeType's hinted layout (whole-pixel advances keep the text sharp); kerning
pairs from the font's kerning tables through the text-shaping layout, rounded to whole pixels.
Characters the font has no glyph for are left out. The output is the same for the same input.

The description, UTF-8 with a byte-order mark:
  <Font Type="Bitmap">
    <Properties><vector2d Name="GlobalKerning" Value="X;Y"/></Properties>   only when not 0;0
    <Texture Filename="OUTPUT_0.png"/>                  one per page, numbered from 0
    <c c="A" i="0" r="x1,y1,x2,y2" b="bx;by" a="ax;ay"/>
    <k c="AV" k="-1"/>
  </Font>
"r" is the glyph's rectangle in pixels of page "i"; "b" is the space before the glyph (its
left bearing, its top below the line's top) and "a" the space after it (to the next pen
position, to the line's bottom), so that b + size + a is the advance and the line height.

Needs python3-pil (Debian); the text-shaping layout also needs libraqm0 for kerning.
"""
import argparse
import os
import sys
from xml.sax.saxutils import escape

from PIL import Image, ImageDraw, ImageFont, features

DEFAULT_CHARS = "".join(chr(c) for c in range(32, 127)) + "".join(
    chr(c) for c in range(160, 256) if c != 173)


def parse_arguments(argv):
    parser = argparse.ArgumentParser(
        description="Makes a bitmap font (.qfnt and page PNGs) from a TrueType font.")
    parser.add_argument("font", help="TrueType or OpenType font file")
    parser.add_argument("output", help="the .qfnt file to write")
    parser.add_argument("--size", type=int, default=16)
    parser.add_argument("--chars", default=None)
    parser.add_argument("--chars-file", default=None)
    parser.add_argument("--page-size", type=int, default=256)
    parser.add_argument("--padding", type=int, default=1)
    parser.add_argument("--spacing", default="0;0")
    parser.add_argument("--no-kerning", action="store_true")
    args = parser.parse_args(argv)
    if args.page_size < 16 or args.page_size & (args.page_size - 1):
        parser.error("--page-size must be a power of two of at least 16")
    if args.size < 1 or args.padding < 0:
        parser.error("--size must be positive and --padding not negative")
    return args


def wanted_characters(args):
    text = args.chars if args.chars is not None else (
        "" if args.chars_file else DEFAULT_CHARS)
    if args.chars_file:
        with open(args.chars_file, encoding="utf-8") as source:
            text += source.read().replace("\r", "").replace("\n", "")
    seen = []
    for ch in text:
        # One UTF-16 unit per character: the engine reads text unit by unit.
        if ord(ch) <= 0xFFFF and ch not in seen:
            seen.append(ch)
    return seen


def signature(font, ch):
    """What the font draws for the character: its advance, box and pixels."""
    box = font.getbbox(ch)
    image = Image.new("L", (max(1, box[2] - box[0]), max(1, box[3] - box[1])), 0)
    ImageDraw.Draw(image).text((-box[0], -box[1]), ch, font=font, fill=255)
    return font.getlength(ch), box, image.tobytes()


def drawable_characters(font, characters):
    """The characters the font has a glyph of its own for: others draw its missing-glyph box."""
    missing = signature(font, "\U0010FFFD")
    return [ch for ch in characters if ch == " " or signature(font, ch) != missing]


class Glyph:
    def __init__(self, ch, font, line_height):
        self.ch = ch
        left, top, right, bottom = font.getbbox(ch)
        advance = int(round(font.getlength(ch)))
        self.image = None
        if right > left and bottom > top:
            mask = Image.new("L", (right - left, bottom - top), 0)
            ImageDraw.Draw(mask).text((-left, -top), ch, font=font, fill=255)
            ink = mask.getbbox()
            if ink:
                # The box FreeType answers may hold blank columns; keep only the ink.
                mask = mask.crop(ink)
                left, top = left + ink[0], top + ink[1]
                right, bottom = left + mask.width, top + mask.height
                self.image = Image.new("RGBA", mask.size, (255, 255, 255, 0))
                self.image.putalpha(mask)
        if not self.image:
            left = top = right = bottom = 0
        self.width = right - left
        self.height = bottom - top
        self.before = (left, top)
        self.after = (advance - right, line_height - bottom)
        self.page = 0
        self.position = (0, 0)


def pack(glyphs, page_size, padding):
    """Places the glyphs in rows, tallest first, opening a new page when one is full.

    The page's top-left pixel stays transparent for the glyphs without an image."""
    pages = 0
    x = y = row_height = 0
    order = sorted((g for g in glyphs if g.image), key=lambda g: (-g.height, ord(g.ch)))
    for glyph in order:
        w, h = glyph.width + 2 * padding, glyph.height + 2 * padding
        if w + 1 > page_size or h + 1 > page_size:
            sys.exit(f"glyph {glyph.ch!r} does not fit on a page of {page_size} pixels")
        if pages == 0:
            pages, x, y, row_height = 1, 1, 1, 0
        if x + w > page_size:
            x, y, row_height = 1, y + row_height, 0
        if y + h > page_size:
            pages, x, y, row_height = pages + 1, 1, 1, 0
        glyph.page = pages - 1
        glyph.position = (x + padding, y + padding)
        x += w
        row_height = max(row_height, h)
    return max(pages, 1)


def kerning_pairs(path, size, characters):
    if not features.check("raqm"):
        print("no text-shaping layout (libraqm): writing no kerning pairs", file=sys.stderr)
        return []
    shaped = ImageFont.truetype(path, size, layout_engine=ImageFont.Layout.RAQM)
    width = {ch: shaped.getlength(ch) for ch in characters}
    pairs = []
    for first in characters:
        for second in characters:
            value = round(shaped.getlength(first + second) - width[first] - width[second])
            if value:
                pairs.append((first, second, value))
    return pairs


def number(value):
    return str(int(value)) if float(value).is_integer() else f"{value:g}"


def attribute(value):
    return escape(value, {'"': "&quot;", "\r": "&#xD;", "\n": "&#xA;"})


def write_font(args, glyphs, page_count, pairs):
    folder = os.path.dirname(os.path.abspath(args.output))
    stem = os.path.splitext(os.path.basename(args.output))[0]
    os.makedirs(folder, exist_ok=True)
    page_names = [f"{stem}_{index}.png" for index in range(page_count)]
    for index, name in enumerate(page_names):
        page = Image.new("RGBA", (args.page_size, args.page_size), (255, 255, 255, 0))
        for glyph in glyphs:
            if glyph.image and glyph.page == index:
                page.paste(glyph.image, glyph.position)
        page.save(os.path.join(folder, name), optimize=True)
    lines = ['<?xml version="1.0"?>', '<Font Type="Bitmap">']
    spacing = args.spacing.replace(",", ";").split(";")
    if any(float(part or 0) for part in spacing):
        x, y = (float(spacing[0] or 0), float(spacing[1] if len(spacing) > 1 else 0))
        lines.append(f'  <Properties><vector2d Name="GlobalKerning" '
                     f'Value="{number(x)};{number(y)}"/></Properties>')
    for name in page_names:
        lines.append(f'  <Texture Filename="{attribute(name)}"/>')
    for glyph in glyphs:
        x1, y1 = glyph.position if glyph.image else (0, 0)
        rect = f"{x1},{y1},{x1 + glyph.width},{y1 + glyph.height}"
        lines.append(f'  <c c="{attribute(glyph.ch)}" i="{glyph.page}" r="{rect}" '
                     f'b="{number(glyph.before[0])};{number(glyph.before[1])}" '
                     f'a="{number(glyph.after[0])};{number(glyph.after[1])}"/>')
    for first, second, value in pairs:
        lines.append(f'  <k c="{attribute(first + second)}" k="{value}"/>')
    lines.append("</Font>")
    with open(args.output, "w", encoding="utf-8-sig", newline="\r\n") as out:
        out.write("\n".join(lines) + "\n")


def main(argv):
    args = parse_arguments(argv)
    font = ImageFont.truetype(args.font, args.size, layout_engine=ImageFont.Layout.BASIC)
    ascent, descent = font.getmetrics()
    line_height = ascent + descent
    characters = drawable_characters(font, wanted_characters(args))
    glyphs = [Glyph(ch, font, line_height) for ch in characters]
    page_count = pack(glyphs, args.page_size, args.padding)
    pairs = [] if args.no_kerning else kerning_pairs(args.font, args.size, characters)
    write_font(args, glyphs, page_count, pairs)
    print(f"{args.output}: {len(glyphs)} glyphs on {page_count} page(s), "
          f"{len(pairs)} kerning pairs, line height {line_height}")


if __name__ == "__main__":
    main(sys.argv[1:])
