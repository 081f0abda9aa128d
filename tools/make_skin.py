#!/usr/bin/env python3
"""Draws every skin image of the client from code and writes them to res/skin,
the program icon to res/icon/veskplay.ico, the resource lines to
res/skin/skin.rc.inc and a contact sheet of all images, their frames and a
few assembled windows to res/skin/contact_sheet.png.

    python3 tools/make_skin.py

Needs ImageMagick 6 (/usr/bin/convert) and the WenQuanYi Zen Hei font
(fonts-wqy-zenhei) for the Chinese labels. The output is committed, so the
build never runs this; rerun it only to change the look. The drawing is
deterministic: the same tools give byte-identical PNGs on every run.

Theme: deep navy panels lit from the top in gold, red for closing and for
the one thing the player should not miss (the account-binding banner), and
light content areas where the windows draw dark text of their own.
"""

import math
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
RES = os.path.join(ROOT, "res")
SKIN_DIR = os.path.join(RES, "skin")
ICON_DIR = os.path.join(RES, "icon")

sys.path.insert(0, HERE)
import check_skin  # noqa: E402  (the table of sizes and frames lives there)

CONVERT = "/usr/bin/convert"  # /usr/local/bin may hold a stand-in that is not ImageMagick
CJK = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
SERIF_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"
SANS_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

# Palette. Every colour of the skin comes from here.
ABYSS = "#070B14"  # deepest shade, shadows
NAVY = "#0D1424"  # panel bottoms, game window body
PANEL = "#16203A"  # panel tops
RAISED = "#1F2B4A"  # button faces
RAISED_HI = "#2E3F6C"  # button faces, hover
LINE = "#2C3A5E"  # borders and separators
LINE_HI = "#41558A"
STEEL = "#8E9BB6"  # muted text and glyphs
MIST = "#C9D2E3"  # normal text on dark
SNOW = "#F4F6FA"  # bright text on dark
GOLD_DK = "#7D5F28"
GOLD = "#D4A546"
GOLD_HI = "#F5D47E"
GOLD_PALE = "#FFEDB8"
RED = "#CF4A3F"
RED_HI = "#E8695C"
RED_DK = "#962E27"
WINE = "#5E1C1C"  # banner face
WINE_DK = "#360D0F"
PAPER = "#FAFAFA"  # settings body, drawn by the dialog itself
PAPER_EDGE = "#BFC7D6"
INK = "#3A3F36"  # settings text colour, drawn by the dialog itself
PARCHMENT = "#F6F2EA"
PARCHMENT_DK = "#E2DACB"

PNG_OUT = [
    "-define", "png:exclude-chunk=bKGD,cHRM,EXIF,gAMA,iCCP,iTXt,sRGB,tEXt,zCCP,zTXt,date,time",
    "-define", "png:compression-level=9",
]

_tmp_dir = None
_tmp_count = 0


# ---------------------------------------------------------------- basics

def im(*args):
    """Runs ImageMagick's convert; list arguments are spliced in."""
    flat = []

    def add(items):
        for a in items:
            if isinstance(a, (list, tuple)):
                add(a)
            else:
                flat.append(str(a))

    add(args)
    subprocess.run([CONVERT] + flat, check=True)


def tmp(tag="t"):
    global _tmp_count
    _tmp_count += 1
    return os.path.join(_tmp_dir, "%04d_%s.miff" % (_tmp_count, tag))


def canvas(w, h, color="none"):
    return ["-size", "%dx%d" % (w, h), "xc:%s" % color]


def rgba(hex_color, alpha):
    h = hex_color.lstrip("#")
    return "rgba(%d,%d,%d,%.3f)" % (int(h[0:2], 16), int(h[2:4], 16), int(h[4:6], 16), alpha)


def mix(c1, c2, t):
    """Colour between c1 (t = 0) and c2 (t = 1)."""
    a = [int(c1.lstrip("#")[i : i + 2], 16) for i in (0, 2, 4)]
    b = [int(c2.lstrip("#")[i : i + 2], 16) for i in (0, 2, 4)]
    return "#%02X%02X%02X" % tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def circle(cx, cy, r):
    return "circle %g,%g %g,%g" % (cx, cy, cx + r, cy)


def poly(points):
    return "polygon " + " ".join("%g,%g" % p for p in points)


def draw(w, h, mvg, bg="none", ss=1):
    """Draws MVG (in final pixel units) on a w x h canvas; ss > 1 draws that
    many times larger and averages down, for small glyphs."""
    out = tmp("draw")
    if ss == 1:
        im(canvas(w, h, bg), "-draw", mvg, out)
    else:
        im(canvas(w * ss, h * ss, bg), "-draw", "affine %d,0,0,%d,0,0 %s" % (ss, ss, mvg),
           "-filter", "Box", "-resize", "%dx%d!" % (w, h), out)
    return out


def paint(w, h, spec):
    """A w x h image of a colour, or of a gradient:
    ("v", top, bottom), ("h", left, right), ("r", cx, cy, rx, ry, inner, outer),
    ("ramp", y0, y1, c0, c1): c0 above y0, c1 below y1, a gradient between."""
    out = tmp("paint")
    if isinstance(spec, str):
        im(canvas(w, h, spec), out)
    elif spec[0] == "v":
        im("-size", "%dx%d" % (w, h), "gradient:%s-%s" % (spec[1], spec[2]), out)
    elif spec[0] == "h":
        im("-size", "%dx%d" % (w, h), "-define", "gradient:direction=east",
           "gradient:%s-%s" % (spec[1], spec[2]), out)
    elif spec[0] == "r":
        _, cx, cy, rx, ry, c1, c2 = spec
        im("-size", "%dx%d" % (w, h), "-define", "gradient:center=%g,%g" % (cx, cy),
           "-define", "gradient:radii=%g,%g" % (rx, ry), "radial-gradient:%s-%s" % (c1, c2), out)
    elif spec[0] == "ramp":
        _, y0, y1, c0, c1 = spec
        parts = []
        if y0 > 0:
            parts += ["(", canvas(w, y0, c0), ")"]
        parts += ["(", "-size", "%dx%d" % (w, y1 - y0), "gradient:%s-%s" % (c0, c1), ")"]
        if y1 < h:
            parts += ["(", canvas(w, h - y1, c1), ")"]
        im(parts, "-append", out)
    else:
        raise ValueError(spec)
    return out


def hfade(w, h, color, alpha=1.0):
    """A band that fades in from the left, full in the middle, out to the right."""
    out = tmp("hfade")
    half = w // 2
    c = rgba(color, alpha)
    none = rgba(color, 0)
    im("(", "-size", "%dx%d" % (half, h), "-define", "gradient:direction=east", "gradient:%s-%s" % (none, c), ")",
       "(", "-size", "%dx%d" % (w - half, h), "-define", "gradient:direction=east", "gradient:%s-%s" % (c, none), ")",
       "+append", out)
    return out


def clip(src, mask):
    """src with its alpha multiplied by mask's alpha."""
    out = tmp("clip")
    im(src, "-alpha", "set", mask, "-compose", "DstIn", "-composite", out)
    return out


def cut(src, mask):
    """src with mask's shape removed."""
    out = tmp("cut")
    im(src, mask, "-compose", "DstOut", "-composite", out)
    return out


def shape(w, h, mvg, spec, ss=1):
    """The paint spec inside the shape drawn by mvg (fill only)."""
    mask = draw(w, h, "fill white stroke none " + mvg, ss=ss)
    if isinstance(spec, str):
        return recolor(mask, spec)
    return clip(paint(w, h, spec), mask)


def recolor(src, color, alpha=1.0):
    """src's shape (its alpha) filled with one colour."""
    out = tmp("recolor")
    im(src, "-alpha", "extract", "-background", color, "-alpha", "shape",
       "-channel", "A", "-evaluate", "multiply", alpha, "+channel", out)
    return out


def fade(src, alpha):
    out = tmp("fade")
    im(src, "-channel", "A", "-evaluate", "multiply", alpha, "+channel", out)
    return out


def glow(src, color, sigma, alpha=1.0, spread=0):
    """A soft halo of one colour around src's shape."""
    out = tmp("glow")
    grow = ["-morphology", "Dilate", "Disk:%g" % spread] if spread else []
    im(src, "-alpha", "extract", grow, "-blur", "0x%g" % sigma, "-background", color, "-alpha", "shape",
       "-channel", "A", "-evaluate", "multiply", alpha, "+channel", out)
    return out


def edge(mask, width):
    """The inner rim of mask's shape, width pixels wide."""
    out = tmp("edge")
    im(mask, "(", "+clone", "-channel", "A", "-morphology", "Erode", "Disk:%g" % width, "+channel", ")",
       "-compose", "DstOut", "-composite", out)
    return out


def stack(w, h, items, bg="none"):
    """Composites items (path, or (path, x, y[, compose])) onto a canvas."""
    args = canvas(w, h, bg)
    for it in items:
        if it is None:
            continue
        if isinstance(it, str):
            path, x, y, comp = it, 0, 0, "Over"
        else:
            path, x, y = it[0], it[1], it[2]
            comp = it[3] if len(it) > 3 else "Over"
        args += [path, "-geometry", "%+d%+d" % (x, y), "-compose", comp, "-composite"]
    out = tmp("stack")
    im(args, out)
    return out


def text(w, h, s, size, color, x=0, y=0, gravity="Center", font=CJK, bold=0.0, kerning=None):
    """Text on a transparent w x h canvas, placed by gravity and offset."""
    out = tmp("text")
    args = canvas(w, h) + ["-font", font, "-pointsize", size, "-fill", color, "-gravity", gravity]
    if bold:
        args += ["-stroke", color, "-strokewidth", bold]
    if kerning is not None:
        args += ["-kerning", kerning]
    im(args, "-annotate", "%+d%+d" % (x, y), s, out)
    return out


def place(src, w, h, x, y):
    """src put at (x, y) on a transparent w x h canvas."""
    return stack(w, h, [(src, x, y)])


def crop(src, x, y, w, h):
    out = tmp("crop")
    im(src, "-crop", "%dx%d%+d%+d" % (w, h, x, y), "+repage", out)
    return out


def append(frames, vertical=True):
    out = tmp("frames")
    im(frames, "-append" if vertical else "+append", out)
    return out


def save(src, image_id, alpha=True):
    """Writes a skin image as 8-bit RGBA (alpha) or RGB PNG."""
    path = os.path.join(SKIN_DIR, "%d.png" % image_id)
    if alpha:
        im(src, "-depth", 8, "-strip", PNG_OUT, "PNG32:" + path)
    else:
        im(src, "-background", "black", "-alpha", "remove", "-alpha", "off", "-depth", 8, "-strip", PNG_OUT,
           "PNG24:" + path)
    return path


def png(image_id):
    return os.path.join(SKIN_DIR, "%d.png" % image_id)


# ---------------------------------------------------------------- glyphs
# Each returns MVG in a 16 x 16 box (home, forum, headset, coin, refresh,
# shield) or in the given box; drawn with draw(..., ss=4).

def glyph_home(c):
    return ("fill %s stroke none path 'M 8,1.2 L 15.2,7.6 L 13.3,7.6 L 13.3,14.6 L 9.6,14.6 L 9.6,10.4 "
            "L 6.4,10.4 L 6.4,14.6 L 2.7,14.6 L 2.7,7.6 L 0.8,7.6 Z'" % c)


def glyph_agent(c, gap="black"):
    """Customer service: a person wearing a headset. Returns (shape, gap):
    the gap is cut out first so head, band and shoulders stay apart."""
    body = ("fill %s stroke none %s path 'M 2.2,16 C 2.2,12.4 4.9,11.2 8,11.2 C 11.1,11.2 13.8,12.4 13.8,16 Z' "
            "fill none stroke %s stroke-width 1.35 path 'M 2.5,8 A 5.5,5.5 0 0 1 13.5,8' "
            "fill %s stroke none roundrectangle 0.9,6.6 3.9,10.8 1.1,1.1 roundrectangle 12.1,6.6 15.1,10.8 1.1,1.1"
            % (c, circle(8, 6.9, 3.0), c, c))
    cut_out = "fill %s stroke none %s" % (gap, circle(8, 6.9, 4.25))
    return body, cut_out


def glyph_refresh(c):
    """A clockwise arrow around most of a circle."""
    cx, cy, r = 8.0, 8.4, 5.0
    a0, a1 = math.radians(25), math.radians(292)
    p0 = (cx + r * math.cos(a0), cy + r * math.sin(a0))
    p1 = (cx + r * math.cos(a1), cy + r * math.sin(a1))
    tx, ty = -math.sin(a1), math.cos(a1)  # direction of travel at the end
    nx, ny = math.cos(a1), math.sin(a1)
    tip = (p1[0] + tx * 3.0, p1[1] + ty * 3.0)
    b1 = (p1[0] + nx * 2.6 - tx * 0.4, p1[1] + ny * 2.6 - ty * 0.4)
    b2 = (p1[0] - nx * 2.6 - tx * 0.4, p1[1] - ny * 2.6 - ty * 0.4)
    return ("fill none stroke %s stroke-width 1.7 path 'M %.2f,%.2f A %g,%g 0 1 1 %.2f,%.2f' "
            "fill %s stroke none %s" % (c, p0[0], p0[1], r, r, p1[0], p1[1], c, poly([tip, b1, b2])))


def icon_forum(c):
    """Two speech bubbles: the back one as an outline, the front one solid."""
    back = draw(16, 16, "fill none stroke %s stroke-width 1.3 roundrectangle 5.6,1.4 15,8.6 2.2,2.2" % c, ss=4)
    gap = draw(16, 16, "fill black stroke black stroke-width 2.6 roundrectangle 1,5.2 11,12.6 2.4,2.4 "
                       "polygon 3,12 3,15.4 6.6,12", ss=4)
    front = draw(16, 16, "fill %s stroke none roundrectangle 1,5.2 11,12.6 2.4,2.4 polygon 3,12 3,15.4 6.6,12" % c,
                 ss=4)
    return stack(16, 16, [cut(back, gap), front])


def icon_coin(c):
    coin = draw(16, 16, "fill %s stroke none %s" % (c, circle(8, 8, 7.2)), ss=4)
    ring = draw(16, 16, "fill none stroke black stroke-width 0.9 %s" % circle(8, 8, 5.6), ss=4)
    yen = text(16, 16, "¥", 10, "black", 0, 0, font=SANS_BOLD)
    return cut(cut(coin, ring), yen)


def icon_shield(c):
    body = draw(16, 16, "fill %s stroke none path 'M 8,0.8 L 14.6,3 L 14.6,7.6 C 14.6,11.4 11.6,13.9 8,15.4 "
                        "C 4.4,13.9 1.4,11.4 1.4,7.6 L 1.4,3 Z'" % c, ss=4)
    mark = draw(16, 16, "fill black stroke none roundrectangle 7,3.6 9,9.4 0.8,0.8 %s" % circle(8, 11.7, 1.15), ss=4)
    return cut(body, mark)


def icon_big(name, c, size):
    """A glyph drawn at size pixels instead of 16."""
    k = size / 16.0
    if name != "headset":
        raise ValueError(name)
    body, gap = glyph_agent(c)
    a = "affine %g,0,0,%g,0,0 " % (k, k)
    head = draw(size, size, a + "fill %s stroke none %s" % (c, circle(8, 6.9, 3.0)), ss=4)
    return stack(size, size, [cut(draw(size, size, a + body, ss=4), draw(size, size, a + gap, ss=4)), head])


def icon(name, c):
    if name == "home":
        return draw(16, 16, glyph_home(c), ss=4)
    if name == "headset":
        body, gap = glyph_agent(c)
        head = draw(16, 16, "fill %s stroke none %s" % (c, circle(8, 6.9, 3.0)), ss=4)
        return stack(16, 16, [cut(draw(16, 16, body, ss=4), draw(16, 16, gap, ss=4)), head])
    if name == "refresh":
        return draw(16, 16, glyph_refresh(c), ss=4)
    if name == "forum":
        return icon_forum(c)
    if name == "coin":
        return icon_coin(c)
    if name == "shield":
        return icon_shield(c)
    raise ValueError(name)


def sigil_points(cx, top, w, h):
    """The V of the emblem: outer outline and the two facets (left, right)."""
    x0 = cx - w / 2.0
    p = lambda fx, fy: (x0 + fx * w, top + fy * h)  # noqa: E731
    outline = [p(0, 0), p(0.33, 0), p(0.5, 0.6), p(0.67, 0), p(1, 0), p(0.5, 1)]
    left = [p(0, 0), p(0.33, 0), p(0.5, 0.6), p(0.5, 1)]
    right = [p(0.5, 0.6), p(0.67, 0), p(1, 0), p(0.5, 1)]
    return outline, left, right


def sigil(w, h, cx, top, sw, sh, bright=1.0, ss=1):
    """The faceted gold V on a transparent w x h canvas."""
    outline, left, right = sigil_points(cx, top, sw, sh)
    lf = shape(w, h, poly(left), ("ramp", int(top), int(top + sh), GOLD_PALE, GOLD), ss=ss)
    rt = shape(w, h, poly(right), ("ramp", int(top), int(top + sh), GOLD, GOLD_DK), ss=ss)
    rim = draw(w, h, "fill none stroke %s stroke-width %g %s" % (rgba(ABYSS, 0.6), max(1.0, sw / 90.0), poly(outline)),
               ss=ss)
    v = stack(w, h, [lf, rt, rim])
    return fade(v, bright) if bright < 1.0 else v


def sparkle(w, h, cx, cy, r, color, ss=1):
    """A four-pointed star."""
    k = r * 0.22
    pts = [(cx, cy - r), (cx + k, cy - k), (cx + r, cy), (cx + k, cy + k),
           (cx, cy + r), (cx - k, cy + k), (cx - r, cy), (cx - k, cy - k)]
    return draw(w, h, "fill %s stroke none %s" % (color, poly(pts)), ss=ss)


def diamond(w, h, cx, cy, rx, ry, ss=4):
    """A small faceted gold diamond."""
    top = draw(w, h, "fill %s stroke none %s" % (GOLD_HI, poly([(cx - rx, cy), (cx, cy - ry), (cx + rx, cy)])), ss=ss)
    bot = draw(w, h, "fill %s stroke none %s" % (GOLD_DK, poly([(cx - rx, cy), (cx, cy + ry), (cx + rx, cy)])), ss=ss)
    mid = draw(w, h, "fill %s stroke none %s" % (GOLD, poly([(cx - rx * 0.45, cy), (cx, cy - ry * 0.45),
                                                            (cx + rx * 0.45, cy), (cx, cy + ry * 0.45)])), ss=ss)
    return stack(w, h, [top, bot, mid])


# ---------------------------------------------------------------- buttons

# Faces of the title-bar and dialog buttons: fill gradient, rim, label colour.
FACES = {
    "dark": dict(top=RAISED, bottom="#161F36", rim=LINE_HI, label=MIST, gloss=0.10),
    "dark_hover": dict(top=RAISED_HI, bottom="#1C2746", rim=GOLD, label=GOLD_HI, gloss=0.16),
    "exit_hover": dict(top="#7C2B2D", bottom="#4A171B", rim=RED_HI, label=SNOW, gloss=0.14),
    "gold": dict(top="#EFC766", bottom="#B5842D", rim="#F9DE94", label="#2A1C06", gloss=0.25),
    "gold_hover": dict(top="#FFDF8C", bottom="#D39F3D", rim="#FFF3CF", label="#1A1003", gloss=0.40),
    "paper": dict(top="#FFFFFF", bottom="#E5E9F0", rim=PAPER_EDGE, label=INK, gloss=0.0),
    "paper_hover": dict(top="#FFFFFF", bottom="#F1F3F8", rim=GOLD, label="#1B2540", gloss=0.0),
    "wait": dict(top="#1A2440", bottom="#1A2440", rim=GOLD_DK, label=STEEL, gloss=0.0),
    "wait_hover": dict(top="#1A2440", bottom="#1A2440", rim=GOLD, label=MIST, gloss=0.0),
}


def face(w, h, x, y, bw, bh, style, radius=4):
    """A button face of bw x bh at (x, y) on a transparent w x h frame."""
    f = FACES[style]
    body = "roundrectangle %g,%g %g,%g %g,%g" % (x, y, x + bw - 1, y + bh - 1, radius, radius)
    fill = shape(w, h, body, ("ramp", y, y + bh, f["top"], f["bottom"]))
    rim = draw(w, h, "fill none stroke %s stroke-width 1 roundrectangle %g,%g %g,%g %g,%g"
               % (f["rim"], x + 0.5, y + 0.5, x + bw - 1.5, y + bh - 1.5, radius - 0.5, radius - 0.5))
    layers = [fill, rim]
    if f["gloss"]:
        layers.append(draw(w, h, "fill none stroke %s stroke-width 1 line %g,%g %g,%g"
                           % (rgba("#FFFFFF", f["gloss"]), x + radius, y + 1.5, x + bw - 1 - radius, y + 1.5)))
    return stack(w, h, layers)


def button(w, h, label, style, size=12, box=None, label_box=None, bold=0.0, glyph=None, glyph_at=None):
    """One frame of a labelled button: face in box (x, y, bw, bh), label
    centred in label_box (x, y, lw, lh), optional 16-pixel glyph."""
    x, y, bw, bh = box or (0, 0, w, h)
    lx, ly, lw, lh = label_box or (x, y, bw, bh)
    f = FACES[style]
    layers = [face(w, h, x, y, bw, bh, style)]
    if "hover" in style and style not in ("paper_hover",):
        shine = text(lw, lh, label, size, f["label"], 0, 0, bold=bold)
        layers.append((glow(shine, f["label"], 1.6, 0.45), lx, ly))
    layers.append((text(lw, lh, label, size, f["label"], 0, 0, bold=bold), lx, ly))
    if glyph:
        layers.append((icon(glyph, GOLD_HI if "hover" in style else GOLD), glyph_at[0], glyph_at[1]))
    return stack(w, h, layers)


def title_button(image_id, w, label, normal, hover, glyph=None):
    """Game window title-bar button: two vertical frames of w x 22."""
    h = 22
    label_box = (22, 0, w - 24, h) if glyph else None
    frames = [button(w, h, label, normal, label_box=label_box, bold=0.25 if normal == "gold" else 0.0,
                     glyph=glyph, glyph_at=(5, 3)),
              button(w, h, label, hover, label_box=label_box, bold=0.25 if normal == "gold" else 0.0,
                     glyph=glyph, glyph_at=(5, 3))]
    save(append(frames), image_id)


def x_glyph(cx, cy, r, color, width):
    return ("fill none stroke %s stroke-width %g stroke-linecap round line %g,%g %g,%g line %g,%g %g,%g"
            % (color, width, cx - r, cy - r, cx + r, cy + r, cx + r, cy - r, cx - r, cy + r))


def caption_buttons():
    """Game window minimize, maximize, restore, close: 3 horizontal 25 x 25
    frames each (normal, hover, pressed)."""
    s = 25
    glyphs = {
        111: lambda c, d: "fill %s stroke none rectangle 7.5,%g 17.5,%g" % (c, 15.2 + d, 16.8 + d),
        110: lambda c, d: ("fill none stroke %s stroke-width 1.3 rectangle 7.6,%g 17.4,%g "
                           "fill %s stroke none rectangle 7,%g 18,%g" % (c, 7.6 + d, 17.4 + d, c, 7 + d, 9 + d)),
        114: lambda c, d: ("fill none stroke %s stroke-width 1.2 polyline 10.2,%g 10.2,%g 17.8,%g 17.8,%g 15,%g "
                           "rectangle 7.2,%g 14.8,%g fill %s stroke none rectangle 6.6,%g 15.4,%g"
                           % (c, 9.4 + d, 6.2 + d, 6.2 + d, 13.8 + d, 13.8 + d, 9.8 + d, 17.8 + d, c,
                              9.2 + d, 11 + d)),
        103: lambda c, d: x_glyph(12.5, 12.5 + d, 4.6, c, 1.6),
    }
    for image_id, g in glyphs.items():
        close = image_id == 103
        frames = []
        for state in range(3):
            layers = []
            if state:
                fill = (RED if state == 1 else RED_DK) if close else (RAISED_HI if state == 1 else "#141C31")
                rim = (RED_HI if state == 1 else RED) if close else (GOLD if state == 1 else LINE)
                layers.append(draw(s, s, "fill %s stroke %s stroke-width 1 roundrectangle 1.5,1.5 23.5,23.5 4,4"
                                   % (fill, rim)))
            color = [MIST, SNOW if close else GOLD_HI, "#DDE3EE"][state]
            layers.append(draw(s, s, g(color, 1 if state == 2 else 0), ss=4))
            frames.append(stack(s, s, layers))
        save(append(frames, vertical=False), image_id)


def spinner_and_clearing():
    """Clear-cache button while clearing (102) and the spinner (115).

    The spinner thread paints frame after frame straight onto the window
    without erasing, so each frame is opaque and carries the very pixels of
    button 102 that it covers (at 4, 4): frames then replace each other
    cleanly. Both frames of 102 share one face for the same reason: a hover
    repaint leaves the spinner's square alone."""
    w, h = 75, 22
    frames = [button(w, h, "清除中…", st, label_box=(22, 0, w - 24, h)) for st in ("wait", "wait_hover")]
    save(append(frames), 102)
    under = crop(png(102), 4, 4, 16, 16)
    fade_by_age = [1.0, 0.72, 0.52, 0.38, 0.28, 0.22, 0.2, 0.2]
    sprites = []
    for k in range(8):
        dots = []
        for j in range(8):
            a = math.radians(-90 + 45 * j)
            age = (k - j) % 8
            color = rgba(GOLD_HI if age == 0 else GOLD, fade_by_age[age])
            r = 1.75 if age == 0 else 1.45
            dots.append("fill %s %s" % (color, circle(8 + 5.2 * math.cos(a), 8 + 5.2 * math.sin(a), r)))
        sprites.append(stack(16, 16, [under, draw(16, 16, "stroke none " + " ".join(dots), ss=4)]))
    save(append(sprites, vertical=False), 115, alpha=False)


def service_buttons():
    """Customer-service button: 152 normal, 151 pointer over it."""
    for image_id, style in ((152, "dark"), (151, "dark_hover")):
        save(button(75, 22, "客服", style, label_box=(28, 0, 36, 22), glyph="headset", glyph_at=(12, 3)), image_id)


def launcher_round_buttons():
    """Launcher close (104, 29 x 29 frames) and minimize (112, 26 x 26)."""
    for image_id, s, r in ((104, 29, 12.2), (112, 26, 10.6)):
        close = image_id == 104
        c = s / 2.0
        frames = []
        for state in range(3):
            if state == 0:
                fill, rim, ink = rgba(ABYSS, 0.55), LINE_HI, MIST
            elif state == 1:
                fill, rim, ink = (RED, RED_HI, SNOW) if close else (RAISED_HI, GOLD, GOLD_HI)
            else:
                fill, rim, ink = (RED_DK, RED, "#E9D9D6") if close else ("#141C31", GOLD_DK, GOLD)
            d = 0.8 if state == 2 else 0.0
            disc = draw(s, s, "fill %s stroke %s stroke-width 1.1 %s" % (fill, rim, circle(c, c + d, r)), ss=4)
            if close:
                mark = draw(s, s, x_glyph(c, c + d, r * 0.36, ink, 1.8), ss=4)
            else:
                mark = draw(s, s, "fill %s stroke none roundrectangle %g,%g %g,%g 0.7,0.7"
                            % (ink, c - r * 0.42, c + d - 0.9, c + r * 0.42, c + d + 0.9), ss=4)
            frames.append(stack(s, s, [disc, mark]))
        save(append(frames), image_id)


def launcher_tabs():
    """The four link tabs, 162 x 35 frames: normal (label only, the bar in
    the background shows through) and hover (lit from below, gold bar)."""
    w, h = 162, 35
    tabs = ((124, "官网", "home"), (121, "论坛", "forum"), (123, "客服", "headset"), (122, "充值", "coin"))
    for image_id, label, glyph in tabs:
        size = 15
        gx = 51  # glyph 16 + gap 7 + two 15-pixel characters, centred
        frames = []
        for hover in (False, True):
            layers = []
            if hover:
                body = "roundrectangle 3,1 158,33 5,5"
                layers.append(shape(w, h, body, ("v", rgba(GOLD, 0.0), rgba(GOLD, 0.30))))
                layers.append(draw(w, h, "fill none stroke %s stroke-width 1 roundrectangle 3.5,1.5 157.5,32.5 5,5"
                                   % rgba(GOLD_HI, 0.18)))
                bar = hfade(130, 2, GOLD_HI)
                layers.append((glow(bar, GOLD, 2.5, 0.9), 16, 31))
                layers.append((bar, 16, 32))
            color = SNOW if hover else MIST
            label_img = text(60, h, label, size, color, 0, 0, gravity="West")
            if hover:
                layers.append((glow(label_img, GOLD, 2.2, 0.55), gx + 23, 0))
            layers.append((label_img, gx + 23, 0))
            g = icon(glyph, GOLD_HI if hover else GOLD)
            if hover:
                layers.append((glow(g, GOLD, 1.5, 0.6), gx, 9))
            layers.append((g, gx, 9))
            frames.append(stack(w, h, layers))
        save(append(frames), image_id)


# ---------------------------------------------------------------- dialogs

def small_close(image_id, s, corner=False):
    """Tiny close sprites of the dialogs: 3 vertical s x s frames. The
    boss-key one sits in the window's top-right corner, so its hover face
    fills the square to the edges."""
    frames = []
    for state in range(3):
        layers = []
        if state:
            fill = RED if state == 1 else RED_DK
            if corner:
                layers.append(draw(s, s, "fill %s stroke none rectangle 0,0 %d,%d" % (fill, s, s)))
            else:
                layers.append(draw(s, s, "fill %s stroke none roundrectangle 0,0 %g,%g 2,2" % (fill, s - 0.5, s - 0.5),
                                   ss=4))
        ink = "#B6C0D4" if state == 0 else SNOW
        d = 0.7 if state == 2 else 0.0
        layers.append(draw(s, s, x_glyph(s / 2.0, s / 2.0 + d, s * 0.29, ink, 1.3), ss=4))
        frames.append(stack(s, s, layers))
    save(append(frames), image_id)


def settings_frame():
    """141: the settings dialog's frame, 340 x 188. The dialog stretches it
    in parts (title band 33 rows, 2-pixel side borders, 2-pixel bottom) and
    fills the body itself with #FAFAFA; the body here is that colour too."""
    w, h = 340, 188
    band = paint(w, 31, ("v", "#26355E", "#141D34"))
    glow_l = shape(w, 31, "rectangle 0,0 %d,31" % w, ("r", 18, 13, 120, 34, rgba(GOLD, 0.22), rgba(GOLD, 0.0)))
    gold = hfade(w - 4, 1, GOLD, 0.95)
    img = stack(w, h, [
        (band, 0, 0), (glow_l, 0, 0),
        draw(w, h, "fill %s stroke none rectangle 0,0 %d,0" % (rgba("#FFFFFF", 0.12), w - 1)),
        draw(w, h, "fill %s stroke none rectangle 0,31 %d,31" % (GOLD_DK, w - 1)),
        (gold, 2, 31),
        draw(w, h, "fill %s stroke none rectangle 0,32 %d,32" % ("#0B1120", w - 1)),
        draw(w, h, "fill %s stroke none rectangle 0,33 1,%d rectangle %d,33 %d,%d rectangle 0,%d %d,%d"
             % ("#1E2A48", h - 1, w - 2, w - 1, h - 1, h - 2, w - 1, h - 1)),
        diamond(w, h, 17, 12, 5.5, 7),
    ], bg=PAPER)
    save(img, 141, alpha=False)


def option_mark():
    """138: frame 0 is empty (fully transparent), frame 1 a gold box with a tick."""
    box = shape(12, 12, "roundrectangle 0.4,0.4 11.6,11.6 2.6,2.6", ("v", GOLD_HI, "#C08C30"), ss=4)
    rim = draw(12, 12, "fill none stroke %s stroke-width 0.9 roundrectangle 0.8,0.8 11.2,11.2 2.3,2.3" % "#98712A",
               ss=4)
    tick = draw(12, 12, "fill none stroke #141C31 stroke-width 1.7 stroke-linecap round stroke-linejoin round "
                        "polyline 3,6.3 5.1,8.5 9.1,3.7", ss=4)
    empty = tmp("empty")
    im(canvas(12, 12), empty)
    save(append([empty, stack(12, 12, [box, rim, tick])], vertical=False), 138)


def ok_cancel():
    """OK (129, 60 x 21 frames) and Cancel (137, 70 x 24 frames).

    The settings dialog draws OK with 70 x 24 source regions, so its hover
    shows rows 24..41: the face sits in rows 3..20 of both frames and rows
    0..2 stay clear, which makes the settings dialog's OK rise by 3 pixels
    under the pointer. Cancel is drawn to match: the same 60 x 18 face, in
    rows 3..20 normally and rows 0..17 under the pointer."""
    ok = [button(60, 21, "确定", st, box=(0, 3, 60, 18)) for st in ("gold", "gold_hover")]
    save(append(ok), 129)
    cancel = [button(70, 24, "取消", "paper", box=(0, 3, 60, 18)),
              button(70, 24, "取消", "paper_hover", box=(0, 0, 60, 18))]
    save(append(cancel), 137)


def bosskey_background():
    """130: boss-key dialog, 355 x 169. The dialog draws the prompt (white,
    at 50, 73), the hot-key field (134, 72, 225, 94), OK (239, 73) and the
    close button (344, 0); the title and the hint belong to the picture."""
    w, h = 355, 169
    body = paint(w, h, ("ramp", 30, h, PANEL, NAVY))
    band = paint(w, 29, ("v", "#26355E", "#172039"))
    band_glow = shape(w, 29, "rectangle 0,0 %d,29" % w, ("r", 20, 12, 140, 34, rgba(GOLD, 0.22), rgba(GOLD, 0.0)))
    row = draw(w, h, "fill %s stroke %s stroke-width 1 roundrectangle 36.5,59.5 318.5,106.5 6,6"
               % (rgba("#FFFFFF", 0.035), LINE))
    hint = text(w, 20, "在输入框中按下新的组合键，点击确定后生效", 12, STEEL)
    img = stack(w, h, [
        body, (band, 0, 0), (band_glow, 0, 0),
        draw(w, h, "fill %s stroke none rectangle 0,29 %d,29" % (GOLD_DK, w - 1)),
        (hfade(w - 40, 1, GOLD, 0.95), 20, 29),
        draw(w, h, "fill %s stroke none rectangle 0,30 %d,30" % ("#0B1120", w - 1)),
        diamond(w, h, 16, 14.5, 5, 6.5),
        (text(200, 29, "老板键设置", 13, GOLD_HI, 0, 0, gravity="West"), 28, 0),
        row,
        (hint, 0, 118),
        (hfade(160, 1, GOLD_DK), 97, 152),
        diamond(w, h, 177.5, 152.5, 4, 4.5),
        draw(w, h, "fill none stroke %s stroke-width 1 rectangle 0.5,0.5 %g,%g" % (LINE, w - 1.5, h - 1.5)),
    ])
    save(img, 130, alpha=False)


# ---------------------------------------------------------------- game window

# The title bar: rows 0..29 of image 107, stretched across the window's width.
# It stays the same colour from column 300 on, so that the banner (which is
# drawn opaque, see account_banner) can carry matching corners.
TITLE_TOP = "#22304F"
TITLE_BOTTOM = "#121A2D"
BODY = "#0B101C"


def game_background():
    """107: 800 x 500. Rows 0..29 become the title bar, rows 30..499 are
    stretched under the browser, of which only a 10-pixel strip and a 2-pixel
    border show."""
    w, h = 800, 500
    bar = paint(w, 30, ("v", TITLE_TOP, TITLE_BOTTOM))
    warm = shape(w, 30, "rectangle 0,0 %d,27" % w, ("r", 36, 16, 250, 46, rgba(GOLD, 0.16), rgba(GOLD, 0.0)))
    img = stack(w, h, [
        (bar, 0, 0), (warm, 0, 0),
        draw(w, h, "fill %s stroke none rectangle 0,0 %d,0" % (rgba("#FFFFFF", 0.10), w - 1)),
        draw(w, h, "fill %s stroke none rectangle 0,28 %d,28" % ("#0A0F1B", w - 1)),
        draw(w, h, "fill %s stroke none rectangle 0,29 %d,29" % ("#5C4720", w - 1)),
    ], bg=BODY)
    save(img, 107, alpha=False)


def game_logo():
    """108: 48 x 29, a gold diamond with a dark V and two blades."""
    w, h = 48, 29
    blades = draw(w, h, "fill %s stroke none %s %s" % (
        GOLD_DK, poly([(17, 12.4), (0.6, 14.5), (17, 16.6)]), poly([(31, 12.4), (47.4, 14.5), (31, 16.6)])), ss=4)
    blade_hi = draw(w, h, "fill %s stroke none %s %s" % (
        GOLD, poly([(17, 12.4), (3, 14.2), (17, 14.5)]), poly([(31, 12.4), (45, 14.2), (31, 14.5)])), ss=4)
    cx, cy, rx, ry = 24, 14.5, 11, 14
    facets = [
        (GOLD_PALE, [(cx - rx, cy), (cx, cy - ry), (cx, cy)]),
        (GOLD, [(cx, cy - ry), (cx + rx, cy), (cx, cy)]),
        (GOLD_DK, [(cx + rx, cy), (cx, cy + ry), (cx, cy)]),
        ("#B48A38", [(cx, cy + ry), (cx - rx, cy), (cx, cy)]),
    ]
    gem = stack(w, h, [draw(w, h, "fill %s stroke none %s" % (c, poly(p)), ss=4) for c, p in facets])
    outline, _, _ = sigil_points(cx, cy - 6.4, 11.5, 12.2)
    v = draw(w, h, "fill %s stroke none %s" % ("#10182B", poly(outline)), ss=4)
    rim = draw(w, h, "fill none stroke %s stroke-width 0.8 %s" % (
        rgba(ABYSS, 0.7), poly([(cx - rx, cy), (cx, cy - ry), (cx + rx, cy), (cx, cy + ry)])), ss=4)
    emblem = stack(w, h, [blades, blade_hi, gem, rim, v])
    save(stack(w, h, [glow(emblem, GOLD, 1.4, 0.35), emblem]), 108)


def title_buttons():
    title_button(113, 65, "退出游戏", "dark", "exit_hover")
    title_button(160, 75, "充值", "gold", "gold_hover")
    title_button(101, 75, "清除缓存", "dark", "dark_hover", glyph="refresh")
    title_button(106, 65, "老板键", "dark", "dark_hover")


def account_banner():
    """128: nine 136 x 22 frames that draw the eye to binding the account:
    a deep red pill whose gold rim pulses, a light sweep crossing it and
    chevrons running towards the click.

    A thread paints the frames one over the other without erasing, so they
    are opaque; the corners outside the pill are the title bar's own pixels
    (the banner sits at y 9..30, rows 9..29 of the title bar and the body
    colour below)."""
    w, h, n = 136, 22, 9
    under = crop(png(107), 400, 9, w, h)
    pill = "roundrectangle 0.5,0.5 135.5,21.5 10.5,10.5"
    mask = draw(w, h, "fill white stroke none " + pill, ss=4)
    face_img = clip(paint(w, h, ("v", "#7A2623", WINE_DK)), mask)
    label = text(80, h, "点击绑定账号", 12, GOLD_PALE, 0, 0, gravity="West")
    frames = []
    for i in range(n):
        pulse = 0.5 - 0.5 * math.cos(2 * math.pi * i / n)  # 0 .. 1 .. 0 over the cycle
        rim = draw(w, h, "fill none stroke %s stroke-width 1.1 %s" % (mix(GOLD_DK, GOLD_HI, 0.35 + 0.65 * pulse), pill),
                   ss=4)
        inner = clip(glow(edge(mask, 1), GOLD, 3.0, 0.25 + 0.45 * pulse), mask)
        sx = -34 + i * 25
        sweep = draw(w, h, "fill %s stroke none %s" % (
            rgba("#FFFFFF", 0.30), poly([(sx, 22), (sx + 12, 0), (sx + 26, 0), (sx + 14, 22)])))
        sweep = clip(glow(sweep, "#FFF4D6", 2.0, 0.9), mask)
        shield = icon("shield", mix(GOLD, GOLD_HI, pulse))
        chev = []
        for k in range(3):
            lit = (i % 3) == k
            c = GOLD_HI if lit else rgba(GOLD, 0.45)
            x0 = 107 + 7 * k
            chev.append("fill none stroke %s stroke-width 1.6 stroke-linecap round stroke-linejoin round "
                        "polyline %g,7 %g,11 %g,15" % (c, x0, x0 + 4, x0))
        chevrons = draw(w, h, " ".join(chev), ss=4)
        frames.append(stack(w, h, [
            under, face_img, inner, sweep,
            draw(w, h, "fill none stroke %s stroke-width 1 line 11,1.5 125,1.5" % rgba("#FFFFFF", 0.14)),
            (glow(shield, GOLD, 1.5, 0.3 + 0.5 * pulse), 8, 3), (shield, 8, 3),
            (glow(label, ABYSS, 1.2, 0.8), 28, 0), (label, 28, 0),
            chevrons, rim,
        ]))
    save(append(frames), 128, alpha=False)


# ---------------------------------------------------------------- chat popup

def chat_title():
    """154: 818 x 47, drawn squeezed into 831 x 30 behind a black bold status
    line (35, 10): a light parchment band with a gold foot."""
    w, h = 818, 47
    band = paint(w, h, ("v", PARCHMENT, PARCHMENT_DK))
    warm = shape(w, h, "rectangle 0,0 %d,%d" % (w, h), ("r", 730, 10, 260, 60, rgba(GOLD_HI, 0.22), rgba(GOLD, 0.0)))
    img = stack(w, h, [
        band, warm,
        draw(w, h, "fill %s stroke none rectangle 0,0 %d,1" % ("#FFFFFF", w - 1)),
        draw(w, h, "fill %s stroke none rectangle 0,43 %d,44" % (GOLD, w - 1)),
        draw(w, h, "fill %s stroke none rectangle 0,45 %d,46" % (GOLD_DK, w - 1)),
    ])
    save(img, 154, alpha=False)


def chat_logo():
    """156: 39 x 47, shown at 22 x 26: a navy badge with a gold headset."""
    w, h = 39, 47
    badge = shape(w, h, "roundrectangle 1,4 37.5,42.5 9,9", ("v", "#2A3B66", "#121A30"), ss=4)
    rim = draw(w, h, "fill none stroke %s stroke-width 1.6 roundrectangle 1.8,4.8 36.7,41.7 8.4,8.4" % GOLD, ss=4)
    headset = tmp("headset")
    im(icon_big("headset", GOLD_HI, 28), headset)
    save(stack(w, h, [badge, rim, (headset, 5, 9)]), 156)


def chat_close():
    """155: three 40 x 20 frames (normal, hover, pressed) on the light band."""
    w, h = 40, 20
    frames = []
    for state in range(3):
        layers = []
        if state:
            layers.append(draw(w, h, "fill %s stroke none roundrectangle 3,1 36.5,18.5 3,3"
                               % (RED if state == 1 else RED_DK), ss=4))
        d = 0.8 if state == 2 else 0.0
        layers.append(draw(w, h, x_glyph(20, 10 + d, 3.6, "#4B505A" if state == 0 else SNOW, 1.5), ss=4))
        frames.append(stack(w, h, layers))
    save(append(frames), 155)


# ---------------------------------------------------------------- launcher

# Where the launcher window puts its buttons and the login dialog on the
# 1100 x 600 picture; the picture's own shapes are laid out around them.
TAB_BAR = (357, 147, 1010, 191)  # behind the tabs at y 152..187, x 363..1014; close and minimize to its right
TAB_SEPARATORS = (525, 688, 852)  # between the tabs (688: the 3-pixel gap 687..689)
LOGIN_AREA = (376, 204, 1001, 501)
LOGIN_FRAME = (369, 197, 1008, 508)
PANEL_BOX = (336, 108, 1068, 536)
CREST = "path 'M 578,109 C 628,109 640,74 688,70 C 736,74 748,109 798,109 Z'"
DISC = (200, 318, 162)  # centre and radius of the emblem disc
RIBBON = "path 'M 66,470 L 334,470 L 322,491 L 334,512 L 66,512 L 78,491 Z'"
HEALTH_NOTICE = ("抵制不良游戏，拒绝盗版游戏。注意自我保护，谨防受骗上当。"
                 "适度游戏益脑，沉迷游戏伤身。合理安排时间，享受健康生活。")


def launcher_background():
    """109: 1100 x 600 with per-pixel alpha: a navy panel with a gold-lit
    crest, the emblem disc and name ribbon on its left, soft shadow around,
    transparent margins."""
    W, H = 1100, 600
    l, t, r, b = PANEL_BOX
    cx, cy, cr = DISC
    panel_mvg = "roundrectangle %d,%d %d,%d 18,18 %s" % (l, t, r, b, CREST)
    body_mask = draw(W, H, "fill white stroke none " + panel_mvg)
    disc_mask = draw(W, H, "fill white stroke none " + circle(cx, cy, cr))
    ribbon_mask = draw(W, H, "fill white stroke none " + RIBBON)
    all_mask = stack(W, H, [body_mask, disc_mask, ribbon_mask])

    shadow = glow(all_mask, ABYSS, 9, 0.85, spread=2)
    shadow_far = glow(all_mask, ABYSS, 18, 0.45, spread=4)

    # Panel: gradient body lit from the top, gold rim along the top edges.
    body = clip(paint(W, H, ("ramp", 70, 536, "#1C2846", NAVY)), body_mask)
    sky = clip(paint(W, H, ("r", 688, 110, 430, 190, rgba("#4A6AB0", 0.30), rgba("#4A6AB0", 0.0))), body_mask)
    rim = clip(paint(W, H, ("ramp", 70, 230, GOLD_HI, LINE)), edge(body_mask, 1.3))

    tl, tt, tr, tb = TAB_BAR
    tab_bar = draw(W, H, "fill %s stroke %s stroke-width 1 roundrectangle %g,%g %g,%g 6,6"
                   % (rgba(ABYSS, 0.55), LINE, tl + 0.5, tt + 0.5, tr - 0.5, tb - 0.5))
    tab_gloss = draw(W, H, "fill none stroke %s stroke-width 1 line %d,%g %d,%g"
                     % (rgba("#FFFFFF", 0.05), tl + 8, tt + 1.5, tr - 8, tt + 1.5))
    seps = " ".join("line %g,157 %g,181" % (x + 0.5, x + 0.5) for x in TAB_SEPARATORS)
    separators = draw(W, H, "fill none stroke %s stroke-width 1 %s" % (LINE_HI, seps))
    sep_dots = draw(W, H, " ".join("fill %s %s" % (GOLD_DK, circle(x + 0.5, 169.5, 1.3)) for x in TAB_SEPARATORS))

    # The login dialog's bed: a dark inset frame with gold corner marks.
    fl, ft, fr, fb = LOGIN_FRAME
    al, at, ar, ab = LOGIN_AREA
    inset = draw(W, H, "fill %s stroke %s stroke-width 1 roundrectangle %g,%g %g,%g 6,6"
                 % ("#080C17", "#26324F", fl + 0.5, ft + 0.5, fr - 0.5, fb - 0.5))
    bed = draw(W, H, "fill %s stroke none rectangle %d,%d %d,%d" % ("#0C1221", al, at, ar - 1, ab - 1))
    k = 16
    corners = []
    for (x, y, dx, dy) in ((fl - 3, ft - 3, 1, 1), (fr + 2, ft - 3, -1, 1), (fl - 3, fb + 2, 1, -1),
                           (fr + 2, fb + 2, -1, -1)):
        corners.append("polyline %g,%g %g,%g %g,%g" % (x + 0.5, y + 0.5 + dy * k, x + 0.5, y + 0.5,
                                                       x + 0.5 + dx * k, y + 0.5))
    brackets = draw(W, H, "fill none stroke %s stroke-width 2 %s" % (GOLD, " ".join(corners)))
    mark_w, mark_h = 150, 140
    watermark = fade(recolor(sigil(W, H, (al + ar) / 2.0, (at + ab) / 2.0 - mark_h / 2.0, mark_w, mark_h),
                             "#5C74AA"), 0.10)

    hatch_lines = " ".join("line %d,146 %d,108" % (x, x + 38) for x in range(330, 1080, 7))
    hatch = draw(W, H, "fill none stroke %s stroke-width 1 %s" % (rgba("#FFFFFF", 0.05), hatch_lines))
    hatch = clip(clip(hatch, body_mask), place(hfade(700, 40, "#FFFFFF"), W, H, 352, 106))
    notice = text(700, 20, HEALTH_NOTICE, 11, "#5B6884")
    gem = diamond(W, H, 688, 92, 8, 11)
    gem_glow = glow(gem, GOLD, 6, 0.6)

    # The emblem disc: deep radial field, gold rings and ticks, the V.
    disc = clip(paint(W, H, ("r", cx, cy - 20, cr, cr, "#28407A", "#0A1020")), disc_mask)
    disc_glow = glow(disc_mask, GOLD, 9, 0.35)
    heart = clip(paint(W, H, ("r", cx, cy - 8, 120, 120, rgba(GOLD, 0.30), rgba(GOLD, 0.0))), disc_mask)
    rings = draw(W, H, "fill none stroke %s stroke-width 2.6 %s stroke %s stroke-width 1 %s stroke %s "
                       "stroke-width 1 %s" % (GOLD, circle(cx, cy, cr - 6), GOLD_DK, circle(cx, cy, cr - 16),
                                              rgba(GOLD, 0.25), circle(cx, cy, cr - 40)))
    ticks = []
    for i in range(72):
        a = math.radians(i * 5)
        r0 = cr - 16 if i % 6 else cr - 24
        ticks.append("line %.2f,%.2f %.2f,%.2f" % (cx + r0 * math.cos(a), cy + r0 * math.sin(a),
                                                    cx + (cr - 10) * math.cos(a), cy + (cr - 10) * math.sin(a)))
    tick_img = draw(W, H, "fill none stroke %s stroke-width 1 %s" % (rgba(GOLD, 0.55), " ".join(ticks)))
    studs = stack(W, H, [diamond(W, H, cx + dx, cy + dy, 5, 5) for dx, dy in
                         ((0, -(cr - 6)), (cr - 6, 0), (0, cr - 6), (-(cr - 6), 0))])
    v = sigil(W, H, cx, cy - 62, 156, 140)
    v_glow = glow(v, GOLD, 10, 0.55)
    star = sparkle(W, H, cx, cy - 84, 13, GOLD_PALE, ss=4)
    star_glow = glow(star, GOLD_HI, 5, 0.9)

    # The name ribbon under the disc.
    ribbon = clip(paint(W, H, ("ramp", 470, 512, "#2B3A63", "#121A2F")), ribbon_mask)
    ribbon_rim = recolor(edge(ribbon_mask, 1.3), GOLD)
    name = text(W, 42, "VESKORA", 24, GOLD_HI, 0, 0, font=SERIF_BOLD, kerning=7)
    name = (name, cx - W // 2, 470)
    name_shadow = (glow(name[0], ABYSS, 1.5, 0.9), cx - W // 2, 471)

    img = stack(W, H, [
        (shadow_far, 0, 8), (shadow, 0, 5), disc_glow,
        body, sky, hatch, rim, gem_glow, gem,
        tab_bar, tab_gloss, separators, sep_dots,
        inset, bed, watermark, brackets,
        (notice, 338, 512),
        disc, heart, tick_img, rings, studs, v_glow, v, star_glow, star,
        ribbon, ribbon_rim, name_shadow, name,
    ])
    # Keep the margins clear of the shadow's faint tails: the window's
    # corners must be fully transparent.
    margin = draw(W, H, "fill white stroke none rectangle 10,10 %d,%d" % (W - 11, H - 11))
    margin = glow(margin, "white", 3)
    save(stack(W, H, [img, (margin, 0, 0, "DstIn")]), 109)


# ---------------------------------------------------------------- icon

def program_icon():
    """Icon 5: the emblem on a navy tile, 256, 48, 32 and 16 pixels. The
    small sizes are drawn without the ring so the V stays clear."""
    os.makedirs(ICON_DIR, exist_ok=True)
    S = 512
    tile = shape(S, S, "roundrectangle 16,16 495,495 96,96", ("r", 256, 220, 330, 330, "#2C4682", "#0A1020"))
    rim = draw(S, S, "fill none stroke %s stroke-width 10 roundrectangle 21,21 490,490 91,91" % GOLD)
    ring = draw(S, S, "fill none stroke %s stroke-width 5 %s" % (rgba(GOLD, 0.6), circle(256, 256, 196)))
    v = sigil(S, S, 256, 150, 300, 270)
    full = stack(S, S, [tile, rim, ring, glow(v, GOLD, 14, 0.6), v, sparkle(S, S, 256, 104, 34, GOLD_PALE)])
    bold_v = sigil(S, S, 256, 120, 380, 320)
    plain_rim = draw(S, S, "fill none stroke %s stroke-width 22 roundrectangle 27,27 484,484 85,85" % GOLD)
    simple = stack(S, S, [tile, plain_rim, bold_v])
    sizes = []
    for size, src in ((16, simple), (32, simple), (48, full), (256, full)):
        out = os.path.join(_tmp_dir, "icon%d.png" % size)
        im(src, "-filter", "Box" if size >= 48 else "Triangle", "-resize", "%dx%d" % (size, size), "-depth", 8,
           "-strip", PNG_OUT, "PNG32:" + out)
        sizes.append(out)
    im(sizes, os.path.join(ICON_DIR, "veskplay.ico"))


# ---------------------------------------------------------------- review

SHEET_BG = "#1B1E25"
SHEET_INK = "#C8CEDA"


def checker(w, h):
    """A dark checkerboard that shows transparency behind an image."""
    tile = tmp("tile")
    im(canvas(16, 16, "#3A3F4A"), "-fill", "#30343D", "-draw", "rectangle 0,0 7,7 rectangle 8,8 15,15", tile)
    out = tmp("checker")
    im("-size", "%dx%d" % (w, h), "tile:" + tile, out)
    return out


def zoom(src, z):
    if z == 1:
        return src
    out = tmp("zoom")
    im(src, "-filter", "Point", "-resize", "%d%%" % (100 * z), out)
    return out


def frame_of(image_id, n):
    x, y, w, h = check_skin.frame_rect(image_id, n)
    return crop(png(image_id), x, y, w, h)


def region(image_id, x, y, w, h):
    """A source region like GDI+ draws it: parts outside the image are clear."""
    src = png(image_id)
    out = tmp("region")
    im(canvas(w, h), "(", src, "-crop", "%dx%d%+d%+d" % (w, h, x, y), ")", "-geometry", "%+d%+d" % (
        max(0, -x), max(0, -y)), "-compose", "Over", "-composite", out)
    return out


def stretch(image_id, sx, sy, sw, sh, dw, dh):
    out = tmp("stretch")
    im(png(image_id), "-crop", "%dx%d%+d%+d" % (sw, sh, sx, sy), "+repage", "-resize", "%dx%d!" % (dw, dh), out)
    return out


def label(s, size=12, color=SHEET_INK, w=None):
    w = w or max(40, int(len(s) * size * 0.62) + 8)
    return text(w, size + 8, s, size, color, 0, 0, gravity="West"), w, size + 8


def tile_for(image_id, max_w):
    """The sheet's tile of one image: caption, the whole image and, for
    sprites, each frame apart with its number (wrapping within max_w)."""
    w, h, count, layout, role = check_skin.SKIN[image_id]
    z = 2 if max(w, h) <= 80 else 1
    caption = "%d  %dx%d  %s  %s" % (image_id, w, h,
                                     "%d frames %s" % (count, "vertical" if layout == "v" else "horizontal")
                                     if count > 1 else "1 frame", role)
    cap, cw, ch = label(caption)
    items = [(cap, 0, 0)]
    top = ch + 4
    whole = zoom(png(image_id), z)
    items += [(checker(w * z, h * z), 0, top), (whole, 0, top)]
    left = w * z + 18
    x, y = left, top
    right, bottom = w * z, top + h * z
    if count > 1:
        _, _, fw, fh = check_skin.frame_rect(image_id, 0)
        for n in range(count):
            if x > left and x + fw * z > max_w:
                x, y = left, y + fh * z + 22
            f = zoom(frame_of(image_id, n), z)
            items += [(checker(fw * z, fh * z), x, y), (f, x, y)]
            num, nw, nh = label(str(n), 11, "#8E9BB6", 20)
            items.append((num, x, y + fh * z + 2))
            bottom = max(bottom, y + fh * z + 2 + nh)
            x += fw * z + 8
            right = max(right, x)
    tw = max(cw, right)
    return stack(tw, bottom + 4, items), tw, bottom + 4


def mock_launcher(hover):
    W, H = 1100, 600
    back = paint(W + 40, H + 40, ("v", "#6F8DAE", "#2F435A"))
    states = {104: 0, 112: 0, 124: 0, 122: 0, 123: 0, 121: 0}
    if hover:
        states.update({124: 1, 104: 1})
    rects = {112: (1021, 164), 104: (1013, 136), 124: (363, 152), 122: (852, 152), 123: (690, 152), 121: (525, 152)}
    items = [(png(109), 20, 20)]
    for image_id in (112, 104, 124, 122, 123, 121):  # drawing order of the launcher
        items.append((frame_of(image_id, states[image_id]), 20 + rects[image_id][0], 20 + rects[image_id][1]))
    login = draw(625, 297, "fill none stroke %s stroke-width 1 stroke-dasharray 4,4 rectangle 0.5,0.5 623.5,295.5"
                 % rgba("#FFFFFF", 0.25))
    items.append((login, 20 + LOGIN_AREA[0], 20 + LOGIN_AREA[1]))
    items.append((text(625, 297, "登录页 (625 × 297)", 14, rgba("#FFFFFF", 0.35)), 20 + LOGIN_AREA[0],
                  20 + LOGIN_AREA[1]))
    return stack(W + 40, H + 40, [back] + items), W + 40, H + 40


def mock_game_title(W, variant):
    H = 92
    items = [(stretch(107, 0, 0, 800, 30, W, 30), 0, 0), (stretch(107, 0, 30, 800, 470, W, H - 30), 0, 30),
             (paint(W - 4, H - 42, ("v", "#3C5570", "#1F2D3D")), 2, 40),
             (png(108), 10, 5),
             (text(400, 20, "KaltoVeskora--测试一区(F9刷新)", 13, "#E4D10D", 0, 0, gravity="NorthWest"), 100, 13)]
    st = dict(pay=0, exit=0, clear=0, boss=0, mn=0, mx=0, cl=0, svc=0)
    banner_frame = 0
    clearing = False
    if variant == 1:
        st.update(pay=1, exit=1, boss=1, cl=2, svc=1)
        banner_frame, clearing = 5, True
    elif variant == 2:
        st.update(clear=1, mn=1, mx=1)
        banner_frame = 2
    pay_l = W - 391
    items += [
        (frame_of(113, st["exit"]), pay_l + 80, 9),
        (frame_of(160, st["pay"]), pay_l, 9),
        (frame_of(106, st["boss"]), W - 161, 9),
        (frame_of(111, st["mn"]), W - 88, 7),
        (png(151) if st["svc"] else png(152), W - 612, 9),
        (frame_of(102 if clearing else 101, st["clear"]), W - 241, 9),
    ]
    if clearing:
        items.append((frame_of(115, 2), W - 241 + 4, 9 + 4))
    items += [(frame_of(114, st["mx"]), W - 60, 7), (frame_of(103, st["cl"]), W - 32, 7),
              (frame_of(128, banner_frame), W - 532, 9)]
    return stack(W, H, items), W, H


def mock_settings(hover):
    w, h = 340, 200
    items = [
        (stretch(141, 0, 0, 150, 33, w - 190, 33), 0, 0),
        (stretch(141, 150, 0, 190, 33, 190, 33), w - 190, 0),
        (stretch(141, 0, 33, 2, 10, 2, h - 2), 0, 33),
        (stretch(141, 338, 33, 2, 10, 2, h - 32), w - 2, 33),
        (stretch(141, 2, 186, 1, 2, w - 2, 2), 2, h - 2),
        (paint(w - 3, h - 35, PAPER), 2, 33),
        (frame_of(139, 1 if hover else 0), 315, 12),
        (text(100, 20, "提示", 13, "#FFFFFF", 0, 0, gravity="NorthWest"), 30, 5),
        (frame_of(138, 0), 42, 67), (frame_of(138, 1), 42, 87), (frame_of(138, 1), 42, 137),
    ]
    for s, x, y in (("点击关闭按钮：", 40, 44), ("直接退出", 60, 64), ("最小化到托盘", 60, 84), ("启动设置：", 40, 115),
                    ("开机自动启动客户端", 60, 134)):
        items.append((text(200, 20, s, 12, INK, 0, 0, gravity="NorthWest"), x, y))
    items.append(draw(w, h, "fill none stroke #E0E7EA stroke-width 1 line 10,108.5 %d,108.5" % (w - 10)))
    ok = 1 if hover else 0
    items += [(region(129, 0, ok * 24, 70, 24), 140, 165), (region(137, 0, ok * 24, 70, 24), 220, 165)]
    return stack(w, h, items), w, h


def mock_bosskey(hover):
    w, h = 355, 169
    field = draw(91, 22, "fill white stroke #7A7A7A stroke-width 1 rectangle 0.5,0.5 89.5,20.5")
    items = [png(130), (frame_of(127, 1 if hover else 0), 344, 0), (frame_of(129, 1 if hover else 0), 239, 73),
             (text(84, 20, "请输入老板键:", 12, "#FFFFFF", 0, 0, gravity="NorthWest"), 50, 73),
             (field, 134, 72), (text(80, 22, "F10", 13, "#000000", 4, 0, gravity="West"), 134, 72)]
    return stack(w, h, items), w, h


def mock_chat(hover):
    w, h = 831, 70
    items = [(paint(w, h - 30, "#FFFFFF"), 0, 30),
             (stretch(154, 0, 0, 818, 47, w, 30), 0, 0),
             (stretch(156, 0, 0, 39, 47, 22, 26), 10, 1),
             (frame_of(155, hover), 791, 2),
             (text(400, 20, "我正在和[小薇]聊天", 13, "#000000", 0, 0, gravity="NorthWest", bold=0.5), 35, 10),
             (text(w, 40, "(chat page)", 12, "#9AA3B2"), 0, 30)]
    return stack(w, h, items), w, h


def contact_sheet(path):
    SW = 1240
    blocks = []  # (image, w, h) placed in rows

    def heading(s):
        img, w, h = label(s, 15, GOLD_HI, SW - 40)
        blocks.append(("break", None))
        blocks.append((img, w, h + 6))
        blocks.append(("break", None))

    heading("Veskora skin: assembled as the windows draw it")
    blocks.append(mock_launcher(False)); blocks.append(("break", None))
    blocks.append(mock_launcher(True)); blocks.append(("break", None))
    for v in (0, 1, 2):
        blocks.append(mock_game_title(1180, v)); blocks.append(("break", None))
    blocks.append(mock_settings(False)); blocks.append(mock_settings(True))
    blocks.append(mock_bosskey(False)); blocks.append(("break", None))
    blocks.append(mock_bosskey(True)); blocks.append(("break", None))
    blocks.append(mock_chat(0)); blocks.append(("break", None))
    blocks.append(mock_chat(1)); blocks.append(("break", None))
    heading("Every image and its frames (images of 80 pixels or less shown twice as large)")
    for image_id in sorted(check_skin.SKIN):
        blocks.append(tile_for(image_id, SW - 40))

    items, x, y, row_h = [], 20, 20, 0
    for b in blocks:
        if b[0] == "break":
            if x > 20:
                x, y, row_h = 20, y + row_h + 18, 0
            continue
        img, w, h = b
        if x > 20 and x + w > SW - 20:
            x, y, row_h = 20, y + row_h + 18, 0
        items.append((img, x, y))
        x += w + 24
        row_h = max(row_h, h)
    total_h = y + row_h + 20
    sheet = stack(SW, total_h, items, bg=SHEET_BG)
    im(sheet, "-depth", 8, "-strip", PNG_OUT, "PNG24:" + path)


# ---------------------------------------------------------------- main

def write_rc_fragment(path):
    lines = ["// Skin images and the program icon, generated by tools/make_skin.py.\n"]
    lines += ['%d PNG "skin/%d.png"\n' % (i, i) for i in sorted(check_skin.SKIN)]
    lines.append('%d ICON "icon/veskplay.ico"\n' % check_skin.ICON_ID)
    with open(path, "w", newline="\n") as f:
        f.writelines(lines)


def main():
    global _tmp_dir
    if not os.path.exists(CONVERT) or not os.path.exists(CJK):
        sys.exit("needs ImageMagick (%s) and fonts-wqy-zenhei (%s)" % (CONVERT, CJK))
    os.makedirs(SKIN_DIR, exist_ok=True)
    _tmp_dir = tempfile.mkdtemp(prefix="make_skin_")
    try:
        # 107 first: the banner takes its corners from the title bar.
        game_background()
        game_logo()
        title_buttons()
        spinner_and_clearing()
        service_buttons()
        caption_buttons()
        account_banner()
        launcher_background()
        launcher_round_buttons()
        launcher_tabs()
        settings_frame()
        small_close(139, 10)
        option_mark()
        ok_cancel()
        bosskey_background()
        small_close(127, 11, corner=True)
        chat_title()
        chat_logo()
        chat_close()
        program_icon()
        write_rc_fragment(os.path.join(SKIN_DIR, "skin.rc.inc"))
        contact_sheet(os.path.join(SKIN_DIR, "contact_sheet.png"))
    finally:
        shutil.rmtree(_tmp_dir, ignore_errors=True)
    problems, total = check_skin.check(RES)
    for p in problems:
        print("FAIL:", p)
    print("wrote %d skin images (%d bytes), the icon, skin.rc.inc and contact_sheet.png" % (len(check_skin.SKIN),
                                                                                          total))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
