#!/usr/bin/python3
"""Makes resources/data/setup-glyphs.ttf: the font "Setup" that draws the
main window's loading indicator.

U+E052..U+E0CB hold 122 frames of a spinning comet of dots, one frame a code
point, turning once around; U+000D and U+0020 are blank. The label shows one
code point after the other, so the frames must turn evenly and the last must
lead back into the first.

Run with the system Python, which has fontTools:
    /usr/bin/python3 resources/scripts/make_glyph_font.py
The output is committed; the build does not run this.
"""

import math
import os
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

FIRST_FRAME = 0xE052
FRAME_COUNT = 122
UNITS_PER_EM = 1000
ASCENT = 880
DESCENT = 120
CENTRE = (500, 380)
RING_RADIUS = 320
DOT_COUNT = 8
DOT_SPACING_DEGREES = 36
LARGEST_DOT = 120
SMALLEST_DOT = 45
# 2026-01-01 as seconds since 1904-01-01, so that every run makes the same bytes.
TIMESTAMP = 3850156800


def draw_dot(pen, cx, cy, radius):
    """A circle as one closed quadratic contour, drawn clockwise as TrueType
    wants its outer contours."""
    corners = 8
    reach = radius / math.cos(math.pi / corners)
    off_curve = []
    for k in range(corners):
        angle = -2 * math.pi * k / corners
        off_curve.append((round(cx + reach * math.cos(angle)),
                          round(cy + reach * math.sin(angle))))
    pen.qCurveTo(*off_curve, None)
    pen.closePath()


def frame_glyph(frame):
    """Frame `frame` of the spinner: the comet's head turns clockwise by
    1/FRAME_COUNT of a turn per frame."""
    pen = TTGlyphPen(None)
    head = 90 - 360.0 * frame / FRAME_COUNT
    for dot in range(DOT_COUNT):
        angle = math.radians(head + dot * DOT_SPACING_DEGREES)
        share = dot / (DOT_COUNT - 1)
        radius = LARGEST_DOT - (LARGEST_DOT - SMALLEST_DOT) * share
        draw_dot(pen,
                 CENTRE[0] + RING_RADIUS * math.cos(angle),
                 CENTRE[1] + RING_RADIUS * math.sin(angle),
                 radius)
    return pen.glyph()


def blank_glyph():
    return TTGlyphPen(None).glyph()


def build(path):
    glyph_order = [".notdef", "cr", "space"]
    glyphs = {".notdef": blank_glyph(), "cr": blank_glyph(), "space": blank_glyph()}
    cmap = {0x000D: "cr", 0x0020: "space"}
    metrics = {".notdef": (UNITS_PER_EM, 0), "cr": (0, 0), "space": (UNITS_PER_EM // 2, 0)}
    for frame in range(FRAME_COUNT):
        name = "frame%03d" % frame
        glyph_order.append(name)
        glyph = frame_glyph(frame)
        glyphs[name] = glyph
        cmap[FIRST_FRAME + frame] = name

    builder = FontBuilder(UNITS_PER_EM, isTTF=True)
    builder.font.recalcTimestamp = False
    builder.setupGlyphOrder(glyph_order)
    builder.setupCharacterMap(cmap)
    builder.setupGlyf(glyphs)
    for name in glyph_order:
        if name.startswith("frame"):
            glyphs[name].recalcBounds(builder.font["glyf"])
            metrics[name] = (UNITS_PER_EM, glyphs[name].xMin)
    builder.setupHorizontalMetrics(metrics)
    builder.setupHorizontalHeader(ascent=ASCENT, descent=-DESCENT)
    builder.setupNameTable({
        "copyright": "Made for Brisma; free to use with the program.",
        "familyName": "Setup",
        "styleName": "Regular",
        "uniqueFontIdentifier": "Brisma: Setup 1.03",
        "fullName": "Setup",
        "version": "Version 1.03",
        "psName": "Setup",
    })
    builder.setupOS2(sTypoAscender=ASCENT, sTypoDescender=-DESCENT, sTypoLineGap=0,
                     usWinAscent=ASCENT, usWinDescent=DESCENT, achVendID="BRSM",
                     fsType=0)
    builder.setupPost()
    builder.setupHead(unitsPerEm=UNITS_PER_EM, fontRevision=1.03,
                      created=TIMESTAMP, modified=TIMESTAMP)
    builder.save(path)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "setup-glyphs.ttf")
    build(out)


if __name__ == "__main__":
    main()
