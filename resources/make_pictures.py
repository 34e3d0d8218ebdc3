#!/usr/bin/python3
"""Draws every picture that resources.rc embeds and writes it to resources/pictures/.

Run from the repository root:

    /usr/bin/python3 resources/make_pictures.py

Everything is drawn from code (Pillow, Debian package python3-pil; the banner and
badge lettering uses DejaVu Sans Bold from fonts-dejavu-core). The output is the
same, byte for byte, on every run: no timestamps, no randomness, no metadata.
Every picture but the icons is drawn three times: at the design's size in
pictures/, and at 1.5 and 2 times it in pictures/150/ and pictures/200/, for
displays of 144 and 192 DPI (the program scales the next larger set down for
the DPIs between). Icons hold every size they are shown at in one .ico file.
The script ends by reading every file back and checking its kind and size; it
exits non-zero if anything is off.

Look: a blue/teal theme. The title bar is a vertical light-to-mid blue gradient
with a darker blue frame line; the content area is white.

Shapes are drawn at several times the final size and boxed down, which gives
smooth edges. Pictures that Windows shows with a colour key (magenta) or GIF
transparency cannot carry partial alpha, so their edge pixels are blended with
the colour they will sit on instead (the title bar, or the white page).
"""

import math
import os
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "pictures")
BOLD_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

# --- colours -------------------------------------------------------------------

WHITE = (255, 255, 255)
MAGENTA = (255, 0, 255)           # the colour key of the graphic buttons and the skin
FRAME = (52, 116, 186)            # frame line around the window
BAR_TOP = (200, 230, 253)         # title bar, first row under the frame line
BAR_BOTTOM = (106, 172, 233)      # title bar, last row
NAVY = (26, 58, 108)              # glyphs and dark outlines
TEAL = (38, 186, 196)
BLUE = (34, 110, 210)
DEEP_BLUE = (22, 76, 170)
SILVER_LIGHT = (240, 243, 247)
SILVER_DARK = (160, 170, 184)
STEEL = (92, 104, 122)
PCB = (22, 124, 104)
PCB_DARK = (14, 88, 74)
GOLD = (230, 186, 70)
CHIP_BLACK = (40, 46, 58)

TITLE_HEIGHT = 30
BUTTON_TOP = 4                    # title-bar buttons sit 4 pixels below the window top

# The set being drawn: its scale and its folder under pictures/.
K = 1.0
SET = ""
SETS = ((1.5, "150"), (2.0, "200"))


def S(v):
    """A design length at the scale of the set being drawn, halves rounded up."""
    return int(math.floor(v * K + 0.5))


def mix(a, b, t):
    """Linear blend of two colours (t = 0 gives a, t = 1 gives b)."""
    t = max(0.0, min(1.0, t))
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(len(a)))


def stops_at(stops, t):
    """Colour at t along a list of (position, colour) stops."""
    t = max(0.0, min(1.0, t))
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, 0.0 if p1 == p0 else (t - p0) / (p1 - p0))
    return stops[-1][1]


def bar_colour(y):
    """Colour of title-bar row y (0 is the window's top edge)."""
    if y <= 0:
        return FRAME
    t = (y - 1) / (TITLE_HEIGHT - 2)
    # A slight ease keeps the upper half bright and the lower half richer.
    return mix(BAR_TOP, BAR_BOTTOM, t ** 0.9)


def bar_colour_px(y):
    """Colour of the title bar's pixel row y in the set being drawn."""
    if K == 1:
        return bar_colour(y)
    u = (y + 0.5) / K - 0.5                     # the row's centre in design rows
    if u < 0.5:
        return FRAME
    return mix(BAR_TOP, BAR_BOTTOM, max(0.0, (u - 1) / (TITLE_HEIGHT - 2)) ** 0.9)


# --- drawing surface -----------------------------------------------------------


class Canvas:
    """An RGBA picture drawn at `ss` times its final size.

    Coordinates passed to the shape helpers are in drawing units (floats
    allowed): final pixels when `unit` is 1, or a 32-unit grid scaled to the
    picture for icons drawn at several sizes. (0, 0) is the top-left corner of
    the top-left pixel.
    """

    def __init__(self, width, height, ss=8, background=(0, 0, 0, 0), unit=1.0):
        # Drawn in design units; a scaled set draws finer and boxes down to
        # the scaled size.
        ss = ss if K == 1 else int(math.ceil(ss * K))
        self.w, self.h, self.ss, self.unit = width, height, ss, unit
        self.f = ss * unit                       # hi-res pixels per drawing unit
        self.size = (width * ss, height * ss)
        self.img = Image.new("RGBA", self.size, background)

    # masks ---------------------------------------------------------------

    def _box(self, x0, y0, x1, y1):
        s = self.f
        return [round(x0 * s), round(y0 * s), round(x1 * s) - 1, round(y1 * s) - 1]

    def blank(self):
        return Image.new("L", self.size, 0)

    def rrect(self, x0, y0, x1, y1, r, corners=None):
        m = self.blank()
        box = self._box(x0, y0, x1, y1)
        rad = max(0, round(r * self.f))
        d = ImageDraw.Draw(m)
        d.rounded_rectangle(box, radius=rad, fill=255)
        if corners is not None:
            # Square off the corners that are not wanted round
            # (top-left, top-right, bottom-right, bottom-left).
            x0, y0, x1, y1 = box
            squares = ((x0, y0, x0 + rad, y0 + rad), (x1 - rad, y0, x1, y0 + rad),
                       (x1 - rad, y1 - rad, x1, y1), (x0, y1 - rad, x0 + rad, y1))
            for keep_round, square in zip(corners, squares):
                if not keep_round:
                    d.rectangle(square, fill=255)
        return m

    def rect(self, x0, y0, x1, y1):
        m = self.blank()
        ImageDraw.Draw(m).rectangle(self._box(x0, y0, x1, y1), fill=255)
        return m

    def ellipse(self, x0, y0, x1, y1):
        m = self.blank()
        ImageDraw.Draw(m).ellipse(self._box(x0, y0, x1, y1), fill=255)
        return m

    def circle(self, cx, cy, r):
        return self.ellipse(cx - r, cy - r, cx + r, cy + r)

    def ring(self, cx, cy, r, width):
        return cut(self.circle(cx, cy, r), self.circle(cx, cy, r - width))

    def polygon(self, points):
        m = self.blank()
        s = self.f
        ImageDraw.Draw(m).polygon([(x * s, y * s) for x, y in points], fill=255)
        return m

    def line(self, points, width, round_caps=True):
        m = self.blank()
        s = self.f
        d = ImageDraw.Draw(m)
        pts = [(x * s, y * s) for x, y in points]
        d.line(pts, fill=255, width=max(1, round(width * s)), joint="curve")
        if round_caps:
            r = width * s / 2
            for x, y in (pts[0], pts[-1]):
                d.ellipse([x - r, y - r, x + r, y + r], fill=255)
        return m

    def arc(self, cx, cy, r, start, end, width):
        """Stroke along a circle, angles in degrees clockwise from 3 o'clock."""
        steps = max(8, int(abs(end - start) / 4))
        pts = [(cx + r * math.cos(math.radians(start + (end - start) * i / steps)),
                cy + r * math.sin(math.radians(start + (end - start) * i / steps))) for i in range(steps + 1)]
        return self.line(pts, width)

    def text(self, x, y, string, size, font_path=BOLD_FONT):
        """Lettering with its top-left ink corner at (x, y); returns (mask, width, height)."""
        font = load_font(font_path, round(size * self.f))
        left, top, right, bottom = font.getbbox(string)
        m = self.blank()
        ImageDraw.Draw(m).text((x * self.f - left, y * self.f - top), string, font=font, fill=255)
        return m, (right - left) / self.f, (bottom - top) / self.f

    # paint ---------------------------------------------------------------

    def paint(self, mask, fill, opacity=1.0):
        """Composites `fill` (a colour or a full-size RGBA image) through `mask`."""
        if isinstance(fill, Image.Image):
            layer = fill.copy()
        else:
            colour = tuple(fill) if len(fill) == 4 else tuple(fill) + (255,)
            layer = Image.new("RGBA", self.size, colour)
        if opacity < 1.0:
            mask = mask.point(lambda v: int(v * opacity + 0.5))
        layer.putalpha(ImageChops.multiply(layer.getchannel("A"), mask))
        self.img.alpha_composite(layer)

    def linear(self, x0, y0, x1, y1, stops):
        """Full-size gradient image running from (x0, y0) to (x1, y1)."""
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy or 1.0

        def at(px, py):
            return stops_at(stops, ((px - x0) * dx + (py - y0) * dy) / length2)

        return self._field(at)

    def radial(self, cx, cy, r, stops):
        def at(px, py):
            return stops_at(stops, math.hypot(px - cx, py - cy) / r)

        return self._field(at)

    def _field(self, at):
        # Worked out at twice the final size and smoothed up: gradients have
        # no sharp detail, and this keeps the script quick.
        k = 2
        w, h = self.w * k, self.h * k
        d = k * self.unit
        small = Image.new("RGBA", (w, h))
        small.putdata([tuple(at((i + 0.5) / d, (j + 0.5) / d)) + (255,) for j in range(h) for i in range(w)])
        return small.resize(self.size, Image.BILINEAR)

    def vertical_rows(self, colours):
        """Full-size image whose final pixel row y has exactly colours[y]."""
        strip = Image.new("RGBA", (1, self.h))
        strip.putdata([tuple(c) + (255,) for c in colours])
        return strip.resize(self.size, Image.NEAREST)

    # result --------------------------------------------------------------

    def result(self):
        """The final-size RGBA picture (box filter on premultiplied colour)."""
        return self.img.convert("RGBa").resize((S(self.w), S(self.h)), Image.BOX).convert("RGBA")


_fonts = {}


def load_font(path, size):
    key = (path, size)
    if key not in _fonts:
        if not os.path.exists(path):
            sys.exit(f"make_pictures: missing font {path} (Debian package fonts-dejavu-core)")
        _fonts[key] = ImageFont.truetype(path, size)
    return _fonts[key]


def cut(mask, hole):
    return ImageChops.subtract(mask, hole)


def union(*masks):
    out = masks[0]
    for m in masks[1:]:
        out = ImageChops.lighter(out, m)
    return out


def inter(a, b):
    return ImageChops.multiply(a, b)


def erode(c, mask, px):
    """The mask shrunk by px drawing units (for shapes with an inner outline)."""
    n = round(px * c.f)
    out = mask
    # MinFilter sizes must be odd; apply it in steps of at most 9 hi-res pixels.
    while n > 0:
        step = min(n, 4)
        out = out.filter(ImageFilter.MinFilter(2 * step + 1))
        n -= step
    return out


# --- flattening for the formats without real alpha -------------------------------


def flatten(rgba, backdrop_of_row):
    """RGBA to RGB over a backdrop colour that may vary by row."""
    out = Image.new("RGB", rgba.size)
    src = rgba.load()
    dst = out.load()
    for y in range(rgba.size[1]):
        bg = backdrop_of_row(y)
        for x in range(rgba.size[0]):
            r, g, b, a = src[x, y]
            dst[x, y] = mix(bg, (r, g, b), a / 255)
    return out


def keyed(rgba, backdrop_of_row, threshold=24):
    """RGBA to RGB with magenta where the shape is (almost) absent.

    Edge pixels are blended with the colour the picture will be drawn on, so
    the edge stays smooth once the magenta is keyed out.
    """
    out = flatten(rgba, backdrop_of_row)
    src = rgba.load()
    dst = out.load()
    for y in range(rgba.size[1]):
        for x in range(rgba.size[0]):
            if src[x, y][3] < threshold:
                dst[x, y] = MAGENTA
    return out


def to_gif_image(rgba, edge_backdrop=WHITE, colours=255):
    """RGBA to a palette image with one transparent index (255).

    Pixels that are at least half covered stay, blended with `edge_backdrop`
    (the page the picture is shown on); the rest become transparent.
    """
    rgb = flatten(rgba, lambda y: edge_backdrop)
    alpha = rgba.getchannel("A")
    q = rgb.quantize(colors=colours, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.FLOYDSTEINBERG)
    palette = q.getpalette()[: colours * 3]
    palette += [0] * (colours * 3 - len(palette))
    palette += list(edge_backdrop)           # index 255: transparent, white if a viewer ignores that
    q.putpalette(palette)
    px = q.load()
    a = alpha.load()
    for y in range(q.size[1]):
        for x in range(q.size[0]):
            if a[x, y] < 128:
                px[x, y] = 255
    q.info["transparency"] = 255
    return q


# --- writers ---------------------------------------------------------------------


def out_path(name):
    return os.path.join(OUT, SET, name)


def save_bmp(name, rgb):
    assert rgb.mode == "RGB"
    rgb.save(out_path(name), format="BMP")   # 24-bit, bottom-up, BI_RGB


def save_gif(name, pal):
    pal.save(out_path(name), format="GIF", transparency=255, optimize=False)


def save_jpeg(name, rgb):
    rgb.save(out_path(name), format="JPEG", quality=92, subsampling=0, optimize=False)


def ico_entry(rgba):
    """One 32-bit DIB icon image: header, BGRA rows bottom-up, then the AND mask."""
    w, h = rgba.size
    px = rgba.load()
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = px[x, y]
            xor += bytes((b, g, r, a)) if a else b"\0\0\0\0"
    stride = ((w + 31) // 32) * 4
    andmask = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if px[x, y][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        andmask += row
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(andmask)


def save_ico(name, images):
    """An ICO holding each of `images` (RGBA, distinct square sizes), smallest first."""
    images = sorted(images, key=lambda im: im.size[0])
    blobs = [ico_entry(im) for im in images]
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    directory = b""
    for im, blob in zip(images, blobs):
        w, h = im.size
        directory += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(out_path(name), "wb") as f:
        f.write(head + directory + b"".join(blobs))


def icon_images(draw, sizes):
    """Renders a drawing function once per icon size, at that size."""
    images = []
    for size in sizes:
        c = Canvas(size, size, ss=max(4, 512 // size), unit=size / 32.0)
        draw(c, size / 32.0)
        images.append(c.result())
    return images


# --- the window frame ---------------------------------------------------------------

FRAME_RADIUS = 6


def title_corner_left():
    """Top-left 6 x 30: the title bar with a rounded outer corner.

    Outside the rounding is white; the frame line is 1 pixel at the top and 2
    pixels at the side, matching the top-middle and middle-left pieces.
    """
    w, h = 6, TITLE_HEIGHT
    c = Canvas(w * 3, h, ss=16, background=WHITE + (255,))
    rows = [bar_colour(y) for y in range(h)]
    outer = c.rrect(0, 0, w * 3, h + 10, FRAME_RADIUS)
    c.paint(outer, FRAME)
    inner = c.rrect(2, 1, w * 3, h + 10, FRAME_RADIUS - 1.5)
    c.paint(inner, c.vertical_rows(rows))
    return c.result().convert("RGB").crop((0, 0, S(w), S(h)))


def bottom_corner_left():
    """Bottom-left 6 x 7: 2-pixel frame line at the side and the bottom, white inside."""
    w, h = 6, 7
    c = Canvas(w * 3, h, ss=16, background=WHITE + (255,))
    c.paint(c.rrect(0, -10, w * 3, h, 4), FRAME)
    c.paint(c.rrect(2, -10, w * 3, h - 2, 2.5), WHITE)
    return c.result().convert("RGB").crop((0, 0, S(w), S(h)))


def make_frame():
    top = Image.new("RGB", (1, S(TITLE_HEIGHT)))
    top.putdata([bar_colour_px(y) for y in range(S(TITLE_HEIGHT))])
    save_bmp("frame_top_middle.bmp", top)

    left = title_corner_left()
    save_bmp("frame_top_left.bmp", left)
    save_bmp("frame_top_right.bmp", left.transpose(Image.FLIP_LEFT_RIGHT))

    edge = Image.new("RGB", (S(2), S(2)), FRAME)
    for name in ("frame_middle_left.bmp", "frame_middle_right.bmp", "frame_bottom_middle.bmp"):
        save_bmp(name, edge)

    bottom = bottom_corner_left()
    save_bmp("frame_bottom_left.bmp", bottom)
    save_bmp("frame_bottom_right.bmp", bottom.transpose(Image.FLIP_LEFT_RIGHT))


# --- title-bar buttons ------------------------------------------------------------

BUTTON_LOOKS = {
    # fill top, fill bottom, outline, glyph
    "normal": ((222, 240, 255), (156, 202, 244), (74, 134, 200), NAVY),
    "hot": ((246, 251, 255), (196, 228, 253), (60, 142, 222), NAVY),
    "pressed": ((128, 180, 232), (96, 152, 214), (38, 92, 162), (16, 40, 80)),
}
CLOSE_LOOKS = {
    "normal": BUTTON_LOOKS["normal"],
    "hot": ((250, 128, 116), (214, 50, 42), (158, 30, 28), WHITE),
    "pressed": ((196, 46, 40), (150, 26, 24), (108, 16, 16), (255, 228, 228)),
}


def title_button(kind, look):
    fill0, fill1, outline, glyph = (CLOSE_LOOKS if kind == "close" else BUTTON_LOOKS)[look]
    c = Canvas(19, 19, ss=16)
    body = c.rrect(0.5, 0.5, 18.5, 18.5, 4)
    c.paint(body, outline)
    inner = c.rrect(1.5, 1.5, 17.5, 17.5, 3)
    c.paint(inner, c.linear(0, 1.5, 0, 17.5, [(0, fill0), (1, fill1)]))
    # A soft highlight across the upper half.
    c.paint(c.rrect(2, 2, 17, 9, 2.5), WHITE, 0.22 if look != "pressed" else 0.08)

    o = 1.0 if look == "pressed" else 0.0           # pressed glyphs sink by a pixel
    if kind == "min":
        g = c.rect(5 + o, 12 + o, 14 + o, 14 + o)
    elif kind == "max":
        g = cut(c.rect(5 + o, 5 + o, 14 + o, 14 + o), c.rect(6.5 + o, 7.5 + o, 12.5 + o, 12.5 + o))
    else:
        g = union(c.line([(5.8 + o, 5.8 + o), (13.2 + o, 13.2 + o)], 2.2),
                  c.line([(13.2 + o, 5.8 + o), (5.8 + o, 13.2 + o)], 2.2))
    c.paint(g, glyph)
    return keyed(c.result(), lambda y: bar_colour_px(S(BUTTON_TOP) + y))


def make_title_buttons():
    for kind in ("min", "max", "close"):
        for look in ("normal", "hot", "pressed"):
            save_bmp(f"{kind}_{look}.bmp", title_button(kind, look))


# --- image-button skin ----------------------------------------------------------

SKIN_LOOKS = {
    "normal": ([(0, (248, 252, 255)), (0.5, (220, 237, 253)), (1, (186, 217, 247))], (112, 160, 212)),
    "hot": ([(0, (255, 255, 255)), (0.5, (232, 246, 255)), (1, (200, 232, 255))], (54, 142, 226)),
}


def skin_fill_colour(look, y, height=21):
    """The skin's fill at row y of a button `height` pixels tall (no outline)."""
    stops, _ = SKIN_LOOKS[look]
    return stops_at(stops, (y - 1) / (height - 2))


def skin(look):
    stops, outline = SKIN_LOOKS[look]
    c = Canvas(69, 21, ss=16)
    c.paint(c.rrect(0.5, 0.5, 68.5, 20.5, 4), outline)
    c.paint(c.rrect(1.5, 1.5, 67.5, 19.5, 3), c.linear(0, 1, 0, 20, stops))
    c.paint(c.rect(3, 1.5, 66, 2.5), WHITE, 0.8)      # light top edge
    # The skin goes on a white background (the button clears to white first).
    return keyed(c.result(), lambda y: WHITE)


def make_skins():
    save_bmp("skin_normal.bmp", skin("normal"))
    save_bmp("skin_hot.bmp", skin("hot"))


# --- shared motifs -----------------------------------------------------------------


def sparkle(c, cx, cy, r, fatness=2.7, squash=1.0):
    """A four-pointed sparkle: a superellipse with concave sides."""
    pts = []
    for i in range(144):
        t = 2 * math.pi * i / 144
        ct, st = math.cos(t), math.sin(t)
        pts.append((cx + r * math.copysign(abs(ct) ** fatness, ct),
                    cy + r * squash * math.copysign(abs(st) ** fatness, st)))
    return c.polygon(pts)


def draw_logo(c, k, x=0.0, y=0.0, size=None):
    """The program's logo: white sparkles on a teal-to-blue disc.

    Drawn in a `size` square at (x, y); k scales line widths relative to 32 pixels.
    """
    s = size if size is not None else c.w / c.unit
    pixels = s * c.unit
    u = s / 80.0                                     # the logo is laid out on an 80-unit grid

    def P(px, py):
        return x + px * u, y + py * u

    cx, cy = P(40, 40)
    disc = c.circle(cx, cy, 38.5 * u)
    c.paint(disc, DEEP_BLUE)
    x0, y0 = P(14, 8)
    x1, y1 = P(64, 76)
    c.paint(c.circle(cx, cy, 37 * u), c.linear(x0, y0, x1, y1, [(0, (70, 212, 214)), (0.55, BLUE), (1, DEEP_BLUE)]))
    # Gloss on the upper left.
    gx, gy = P(34, 26)
    c.paint(inter(c.circle(cx, cy, 35 * u), c.ellipse(gx - 30 * u, gy - 22 * u, gx + 30 * u, gy + 20 * u)), WHITE, 0.16)
    # A sweep under the sparkle, like a broom stroke.
    sx, sy = P(40, 22)
    c.paint(c.arc(sx, sy, 44 * u, 62, 128, max(1.2, 5.0 * u)), (170, 240, 240), 0.85)
    # The sparkles.
    bx, by = P(36, 40)
    c.paint(sparkle(c, bx, by, 24 * u), WHITE)
    tx, ty = P(58, 20)
    c.paint(sparkle(c, tx, ty, 9.5 * u), WHITE)
    if pixels >= 24:
        dx, dy = P(59, 52)
        c.paint(c.circle(dx, dy, 3.2 * u), WHITE, 0.95)


def draw_globe(c, cx, cy, r, k):
    c.paint(c.circle(cx, cy, r), DEEP_BLUE)
    c.paint(c.circle(cx, cy, r - 0.9 * k),
            c.linear(cx - r, cy - r, cx + r * 0.6, cy + r, [(0, (92, 220, 222)), (0.5, (40, 150, 216)), (1, DEEP_BLUE)]))
    lw = max(0.9, 1.1 * k)
    inside = c.circle(cx, cy, r - 0.9 * k)
    grid = union(
        cut(c.ellipse(cx - r * 0.45, cy - r, cx + r * 0.45, cy + r),
            c.ellipse(cx - r * 0.45 + lw, cy - r + lw, cx + r * 0.45 - lw, cy + r - lw)),
        c.rect(cx - lw / 2, cy - r, cx + lw / 2, cy + r),
        c.rect(cx - r, cy - lw / 2, cx + r, cy + lw / 2),
        c.rect(cx - r, cy - r * 0.5 - lw / 2, cx + r, cy - r * 0.5 + lw / 2),
        c.rect(cx - r, cy + r * 0.5 - lw / 2, cx + r, cy + r * 0.5 + lw / 2),
    )
    c.paint(inter(grid, inside), WHITE, 0.75)
    c.paint(inter(c.ellipse(cx - r * 0.8, cy - r * 0.9, cx + r * 0.3, cy - r * 0.1), inside), WHITE, 0.18)


def draw_chip(c, k, x0=0.0, y0=0.0, s=32.0):
    """A processor: a dark package with pins on four sides and a blue die."""
    u = s / 32.0

    def R(a, b, cc, d):
        return (x0 + a * u, y0 + b * u, x0 + cc * u, y0 + d * u)

    pins = c.blank()
    for i in range(5):
        p = 8.6 + i * 3.5
        pins = union(pins,
                     c.rrect(*R(p, 1.5, p + 1.8, 8), 0.5 * u), c.rrect(*R(p, 24, p + 1.8, 30.5), 0.5 * u),
                     c.rrect(*R(1.5, p, 8, p + 1.8), 0.5 * u), c.rrect(*R(24, p, 30.5, p + 1.8), 0.5 * u))
    c.paint(pins, (150, 160, 174))
    c.paint(inter(pins, c.rect(*R(0, 0, 32, 16))), (206, 212, 222), 0.6)
    body = c.rrect(*R(5.5, 5.5, 26.5, 26.5), 2.2 * u)
    c.paint(body, (22, 26, 34))
    c.paint(c.rrect(*R(6.5, 6.5, 25.5, 25.5), 1.6 * u),
            c.linear(*R(6, 6, 26, 26), [(0, (78, 88, 104)), (1, (38, 44, 56))]))
    die = c.rrect(*R(10.5, 10.5, 21.5, 21.5), 1.2 * u)
    c.paint(die, (18, 70, 150))
    c.paint(c.rrect(*R(11.3, 11.3, 20.7, 20.7), 0.8 * u),
            c.linear(*R(11, 11, 21, 21), [(0, (110, 226, 226)), (1, BLUE)]))
    c.paint(c.circle(*R(8.6, 8.6, 0, 0)[:2], 0.9 * u), (170, 180, 194))


def draw_board(c, k, w, h):
    """A mainboard seen from above, filling a w x h area."""
    u = min(w / 77.0, h / 69.0)
    c.paint(c.rrect(0.5, 0.5, w - 0.5, h - 0.5, 4 * u), PCB_DARK)
    c.paint(c.rrect(1.5, 1.5, w - 1.5, h - 1.5, 3 * u), c.linear(0, 0, w, h, [(0, (36, 150, 122)), (1, PCB)]))

    def R(a, b, cc, d):
        return (a * w / 77.0, b * h / 69.0, cc * w / 77.0, d * h / 69.0)

    lw = max(0.7, 0.9 * u)
    # Copper traces.
    traces = union(c.line([R(34, 21, 0, 0)[:2], R(42, 21, 0, 0)[:2], R(46, 26, 0, 0)[:2], R(60, 26, 0, 0)[:2]], lw),
                   c.line([R(22, 34, 0, 0)[:2], R(22, 40, 0, 0)[:2], R(28, 44, 0, 0)[:2], R(40, 44, 0, 0)[:2]], lw),
                   c.line([R(34, 15, 0, 0)[:2], R(52, 15, 0, 0)[:2]], lw),
                   c.line([R(10, 34, 0, 0)[:2], R(10, 60, 0, 0)[:2]], lw))
    c.paint(traces, (120, 214, 170), 0.55)
    # Processor socket.
    c.paint(c.rrect(*R(9, 8, 35, 34), 1.5 * u), (200, 206, 214))
    c.paint(c.rrect(*R(11.5, 10.5, 32.5, 31.5), 1 * u), (70, 78, 92))
    c.paint(c.rrect(*R(15, 14, 29, 28), 1 * u), c.linear(*R(15, 14, 29, 28), [(0, (110, 226, 226)), (1, BLUE)]))
    # Memory slots.
    for i in range(2):
        x = 46 + i * 7
        c.paint(c.rrect(*R(x + 14, 5, x + 18.5, 40), 1 * u), (30, 34, 44))
        c.paint(c.rect(*R(x + 15.3, 7, x + 17.2, 38)), (84, 94, 110))
    # Expansion slots.
    for i in range(2):
        y = 48 + i * 9
        c.paint(c.rrect(*R(20, y, 62, y + 4.5), 1 * u), (28, 32, 42))
        c.paint(c.rect(*R(22, y + 1.4, 60, y + 3.1)), (86, 96, 112))
    # Chipset with a small heatsink.
    c.paint(c.rrect(*R(40, 30, 52, 42), 1 * u), (36, 42, 54))
    for i in range(4):
        c.paint(c.rect(*R(41.5, 31.5 + i * 2.6, 50.5, 32.7 + i * 2.6)), (150, 162, 178))
    # Capacitors.
    for (px, py) in ((40, 9), (40, 17), (6, 40), (6, 47)):
        cx, cy = R(px, py, 0, 0)[:2]
        c.paint(c.circle(cx, cy, 2.6 * u), (40, 60, 110))
        c.paint(c.circle(cx, cy, 1.2 * u), (170, 190, 220))
    # Mounting holes.
    for (px, py) in ((5, 5), (72, 5), (5, 64), (72, 64)):
        cx, cy = R(px, py, 0, 0)[:2]
        c.paint(c.circle(cx, cy, 2.4 * u), GOLD)
        c.paint(c.circle(cx, cy, 1.2 * u), (250, 250, 250))


def draw_drive(c, k):
    """A hard drive, seen from the front and a little above."""
    top = c.rrect(3, 8, 29, 21, 3)
    c.paint(top, STEEL)
    c.paint(c.rrect(4, 9, 28, 20, 2.2), c.linear(0, 9, 0, 20, [(0, SILVER_LIGHT), (1, (198, 206, 218))]))
    front = c.rrect(3, 17, 29, 26, 3)
    c.paint(front, STEEL)
    c.paint(c.rrect(4, 18, 28, 25, 2.2), c.linear(0, 18, 0, 25, [(0, (150, 162, 180)), (1, (110, 122, 140))]))
    c.paint(c.rect(4, 17.6, 28, 18.6), WHITE, 0.5)
    for i in range(4):
        c.paint(c.rect(6.5 + i * 2.4, 20, 7.7 + i * 2.4, 23), (70, 80, 98), 0.8)
    c.paint(c.circle(24.5, 21.5, 1.7), (20, 120, 110))
    c.paint(c.circle(24.5, 21.5, 1.1), (90, 240, 200))
    # Screws on the top cover.
    for (x, y) in ((6.5, 11.5), (25.5, 11.5)):
        c.paint(c.circle(x, y, 1.0), (150, 160, 176))


def draw_memory(c, k):
    """A memory module: a board with chips and gold contacts."""
    board = cut(c.rrect(2, 8, 30, 24, 1.5), c.rect(15, 21, 17, 24))
    c.paint(board, PCB_DARK)
    c.paint(cut(c.rrect(3, 9, 29, 23, 1), c.rect(14, 20, 18, 24)),
            c.linear(0, 9, 0, 23, [(0, (40, 168, 140)), (1, PCB)]))
    for i in range(4):
        x = 4.5 + i * 6.0 + (1.0 if i >= 2 else 0.0)
        c.paint(c.rrect(x, 10.5, x + 4.5, 17.5, 0.6), CHIP_BLACK)
        c.paint(c.rect(x + 0.6, 11.1, x + 3.9, 12.0), (100, 110, 126), 0.8)
    contacts = c.blank()
    for i in range(12):
        x = 3.6 + i * 2.15 + (1.1 if i >= 6 else 0.0)
        contacts = union(contacts, c.rect(x, 19.5, x + 1.2, 23))
    c.paint(contacts, GOLD)


def draw_window_badge(c, k):
    """System: an application window with a blue title bar and a gear."""
    c.paint(c.rrect(2, 4, 28, 26, 2.5), (40, 92, 160))
    c.paint(c.rrect(3, 5, 27, 25, 1.8), WHITE)
    c.paint(c.rrect(3, 5, 27, 10, 1.8, corners=(True, True, False, False)),
            c.linear(0, 5, 0, 10, [(0, (110, 190, 246)), (1, BLUE)]))
    for i, shade in enumerate(((250, 250, 255), (250, 250, 255), (255, 140, 120))):
        c.paint(c.circle(18.5 + i * 2.8, 7.5, 0.9), shade)
    lines = union(c.rect(6, 13, 17, 14.3), c.rect(6, 16.5, 14, 17.8), c.rect(6, 20, 15, 21.3))
    c.paint(lines, (150, 186, 226))
    draw_gear(c, k, 23, 23, 7.5, inner=2.6)


def draw_gear(c, k, cx, cy, r, inner=None, colours=None):
    teeth = 8
    pts = []
    for i in range(teeth * 4):
        a = 2 * math.pi * (i - 0.5) / (teeth * 4)
        rr = r if (i % 4) in (0, 1) else r * 0.76
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    # The tooth tips are the first two of every four points.
    shape = union(c.polygon(pts), c.circle(cx, cy, r * 0.78))
    hole = c.circle(cx, cy, inner if inner is not None else r * 0.34)
    shape = cut(shape, hole)
    dark, light, deep = colours or ((50, 66, 92), (200, 212, 228), (104, 122, 148))
    c.paint(shape, dark)
    c.paint(erode(c, shape, 0.9), c.linear(cx - r, cy - r, cx + r, cy + r, [(0, light), (1, deep)]))


# --- GIF and JPEG pictures ------------------------------------------------------------


def make_logo_gif():
    c = Canvas(80, 80, ss=8)
    draw_logo(c, 80 / 32.0)
    save_gif("logo.gif", to_gif_image(c.result(), edge_backdrop=WHITE))


def make_banner():
    w, h = 439, 145
    c = Canvas(w, h, ss=4)
    c.paint(c.rect(0, 0, w, h), c.linear(0, 0, w, h * 0.6, [(0, (44, 190, 204)), (0.55, (36, 128, 214)), (1, (26, 86, 186))]))
    # Soft bubbles on the right.
    for (x, y, r, o) in ((372, 28, 46, 0.10), (330, 96, 30, 0.09), (410, 112, 22, 0.12),
                         (282, 20, 14, 0.10), (250, 118, 9, 0.14), (300, 60, 6, 0.18)):
        c.paint(c.circle(x, y, r), WHITE, o)
        c.paint(c.ring(x, y, r, 1.2), WHITE, o * 1.6)
    # A light wave across the bottom.
    wave_top = [(x, 112 + 7 * math.sin(x / 52.0 + 0.6)) for x in range(0, w + 1, 3)]
    c.paint(c.polygon(wave_top + [(w, h), (0, h)]), WHITE, 0.16)
    wave2 = [(x, 122 + 5 * math.sin(x / 40.0 + 2.2)) for x in range(0, w + 1, 3)]
    c.paint(c.polygon(wave2 + [(w, h), (0, h)]), WHITE, 0.14)
    # The logo, with a faint shadow.
    c.paint(c.circle(66, 66, 41), (10, 40, 100), 0.18)
    draw_logo(c, 84 / 32.0, x=22, y=20, size=84)
    # Lettering (only the part left of x = 392 and above y = 134 is sure to show).
    title_size = 27
    m, tw, th = c.text(124, 36, "Chengchuan Cleaner", title_size)
    while tw > 258:
        title_size -= 1
        m, tw, th = c.text(124, 36, "Chengchuan Cleaner", title_size)
    shadow, _, _ = c.text(125, 37.5, "Chengchuan Cleaner", title_size)
    c.paint(shadow, (10, 40, 100), 0.30)
    c.paint(m, WHITE)
    sub, sw, _ = c.text(125, 36 + th + 12, "Clean, tidy and quick", 13)
    c.paint(sub, (226, 246, 255))
    c.paint(c.rrect(125, 36 + th + 36, 125 + 64, 36 + th + 39, 1.5), (150, 236, 236))
    # A few small sparkles.
    for (x, y, r) in ((384, 62, 6), (358, 118, 4), (212, 108, 3.5)):
        c.paint(sparkle(c, x, y, r), WHITE, 0.85)
    save_jpeg("banner.jpg", c.result().convert("RGB"))


def make_badge():
    w, h = 359, 89
    c = Canvas(w, h, ss=4)
    pill = c.rrect(1, 1, w - 1, h - 1, (h - 2) / 2)
    c.paint(pill, DEEP_BLUE)
    c.paint(c.rrect(3, 3, w - 3, h - 3, (h - 6) / 2), c.linear(0, 0, w, 0, [(0, BLUE), (0.6, (30, 150, 200)), (1, (40, 186, 196))]))
    c.paint(inter(c.rrect(3, 3, w - 3, h - 3, (h - 6) / 2), c.rect(0, 0, w, h * 0.48)), WHITE, 0.14)
    # The logo disc at the left end, on a white ring.
    c.paint(c.circle(h / 2, h / 2, h / 2 - 6), WHITE)
    draw_logo(c, 2.2, x=10, y=10, size=h - 20)
    m, tw, th = c.text(0, 0, "Chengchuan", 52)
    size = 52
    while tw > w - h - 28:
        size -= 1
        m, tw, th = c.text(0, 0, "Chengchuan", size)
    x = h + (w - h - 14 - tw) / 2
    y = (h - th) / 2
    m, _, _ = c.text(x, y, "Chengchuan", size)
    c.paint(m, WHITE)
    save_gif("badge.gif", to_gif_image(c.result(), edge_backdrop=WHITE))


def make_cpu_gif():
    c = Canvas(32, 32, ss=16)
    draw_chip(c, 1.0)
    save_gif("cpu.gif", to_gif_image(c.result(), edge_backdrop=WHITE))


def make_board_jpg():
    w, h = 77, 69
    c = Canvas(w, h, ss=8, background=WHITE + (255,))
    draw_board(c, 1.0, w, h)
    save_jpeg("board.jpg", c.result().convert("RGB"))


# The "扫描IE" button is 112 x 56 and shows this picture at (6, 4) over the
# stretched skin, so the picture's background is the skin's own gradient.
SCAN_BUTTON_HEIGHT = 56
SCAN_PICTURE_TOP = 4


def make_scanie():
    s = 48
    c = Canvas(s, s, ss=8)
    rows = []
    for y in range(s):
        # Button row -> skin row, as the stretch maps it.
        skin_y = (SCAN_PICTURE_TOP + y + 0.5) * 21 / SCAN_BUTTON_HEIGHT
        rows.append(skin_fill_colour("normal", skin_y))
    c.paint(c.rect(0, 0, s, s), c.vertical_rows(rows))
    draw_globe(c, 19, 19, 15, 1.4)
    # The magnifier: a dark rim, pale glass and a handle.
    lx, ly, lr = 29, 28, 10.5
    c.paint(c.line([(36.5, 35.5), (44, 43)], 5.2), (60, 40, 30))
    c.paint(c.line([(37.5, 36.5), (43.5, 42.5)], 3.0), (132, 90, 60))
    c.paint(c.circle(lx, ly, lr - 2.5), WHITE, 0.42)
    c.paint(inter(c.circle(lx, ly, lr - 2.5), c.ellipse(lx - 8, ly - 8, lx + 2, ly - 1)), WHITE, 0.45)
    c.paint(c.ring(lx, ly, lr, 3.0), NAVY)
    c.paint(c.ring(lx, ly, lr - 0.8, 1.2), (140, 170, 210))
    save_jpeg("scanie.jpg", c.result().convert("RGB"))


# --- icons ---------------------------------------------------------------------------


def icon_computer(c, k):
    c.paint(c.rrect(2, 4, 30, 23, 2.5), (40, 48, 62))
    c.paint(c.rect(4, 6, 28, 21), c.linear(4, 6, 24, 22, [(0, (120, 220, 240)), (0.6, BLUE), (1, DEEP_BLUE)]))
    c.paint(c.polygon([(4, 6), (17, 6), (4, 16)]), WHITE, 0.18)
    c.paint(c.polygon([(13, 23), (19, 23), (20, 27), (12, 27)]), (120, 130, 148))
    c.paint(c.rrect(8, 26.5, 24, 29, 1.2), (70, 80, 98))
    c.paint(c.rect(8.5, 26.8, 23.5, 27.4), WHITE, 0.35)


def icon_shortcut(c, k):
    """Two chain links, running corner to corner, and the little shortcut arrow."""
    d = 1 / math.sqrt(2)

    def link(cx, cy):
        # A stadium along the diagonal, with a slot in the middle.
        ends = [(cx - 4.4 * d, cy + 4.4 * d), (cx + 4.4 * d, cy - 4.4 * d)]
        return cut(c.line(ends, 8.2), c.line(ends, 2.8))

    lower = link(12.0, 20.0)
    upper = link(20.6, 11.4)
    grad = c.linear(4, 4, 28, 28, [(0, (110, 222, 228)), (1, DEEP_BLUE)])
    for shape in (lower, upper):
        c.paint(shape, NAVY)
        c.paint(erode(c, shape, 0.7), grad)
    # Where the links cross, the lower one passes over on one side only, so
    # the two look hooked together.
    over = inter(lower, c.polygon([(16.3, 15.7), (24, 8), (32, 16), (24, 24)]))
    c.paint(over, NAVY)
    c.paint(inter(erode(c, lower, 0.7), over), grad)
    # Shortcut arrow badge, bottom left.
    c.paint(c.rrect(1, 19, 13, 31, 2), NAVY)
    c.paint(c.rrect(2, 20, 12, 30, 1.4), WHITE)
    arrow = union(c.line([(4.5, 28), (5.2, 25), (8.6, 23.4)], 1.7), c.polygon([(7.8, 20.6), (11.4, 23.4), (7.8, 26.2)]))
    c.paint(arrow, BLUE)


def icon_star(c, k):
    pts = []
    for i in range(10):
        a = -math.pi / 2 + math.pi * i / 5
        r = 14 if i % 2 == 0 else 6.2
        pts.append((16 + r * math.cos(a), 17 + r * math.sin(a)))
    star = c.polygon(pts)
    c.paint(star, (196, 120, 10))
    c.paint(erode(c, star, 1.0), c.linear(10, 4, 22, 30, [(0, (255, 228, 110)), (1, (246, 160, 28))]))
    c.paint(inter(erode(c, star, 1.0), c.rect(0, 0, 32, 15)), WHITE, 0.22)


def icon_trash(c, k):
    """Junk: a waste bin with a lid."""
    body = c.polygon([(7, 10), (25, 10), (23, 29), (9, 29)])
    c.paint(body, NAVY)
    c.paint(erode(c, body, 1.0), c.linear(7, 0, 25, 0, [(0, (110, 214, 226)), (0.5, (46, 160, 210)), (1, (30, 104, 190))]))
    for x in (12, 16, 20):
        c.paint(c.line([(x, 13.5), (x - (x - 16) * 0.12, 26)], 1.3), WHITE, 0.6)
    c.paint(c.rrect(5, 6.5, 27, 10.5, 1.5), NAVY)
    c.paint(c.rrect(6, 7.3, 26, 9.7, 1), (190, 226, 250))
    c.paint(c.rrect(12.5, 3.5, 19.5, 7, 1.2), NAVY)
    c.paint(c.rrect(13.8, 4.6, 18.2, 7, 0.6), (190, 226, 250))


def shield_outline():
    """A shield on the 32-unit grid: a flat top with raised middle, curving to a tip."""
    pts = []
    for i in range(41):
        t = i / 40.0
        # The right half of the shield, top to the tip.
        x = 16 + 12 * (1 - t ** 2.2)
        y = 4 + 25 * t
        pts.append((x, y))
    left = [(32 - x, y) for x, y in reversed(pts)]
    return [(16, 3), (22, 5.2), (28, 5.2)] + pts[1:] + left[:-1] + [(4, 5.2), (10, 5.2)]


def icon_repair(c, k):
    """Repair: a shield with a wrench."""
    shield = c.polygon(shield_outline())
    c.paint(shield, (18, 62, 140))
    c.paint(erode(c, shield, 1.1), c.linear(6, 4, 26, 28, [(0, (100, 210, 230)), (0.5, BLUE), (1, DEEP_BLUE)]))
    c.paint(inter(erode(c, shield, 1.1), c.rect(0, 0, 16, 32)), WHITE, 0.12)
    # Wrench: a handle and an open ring head, at 45 degrees.
    hx, hy, hr = 19.4, 12.2, 4.8
    d = 1 / math.sqrt(2)
    wrench = union(c.line([(10.4, 21.6), (17.6, 14.4)], 3.4), c.circle(hx, hy, hr))
    # The jaw: a slot from the head's centre out through its far side.
    ux, uy, vx, vy = d, -d, d, d                      # along the handle, and across it
    w = 1.7
    jaw = c.polygon([(hx - w * vx, hy - w * vy), (hx + w * vx, hy + w * vy),
                     (hx + 7 * ux + w * vx, hy + 7 * uy + w * vy), (hx + 7 * ux - w * vx, hy + 7 * uy - w * vy)])
    wrench = cut(wrench, union(c.circle(hx, hy, w), jaw))
    c.paint(wrench, WHITE)


def icon_status_found(c, k):
    """Repair page, something found: a shield quartered in red and orange."""
    shield = c.polygon(shield_outline())
    c.paint(shield, (128, 22, 12))
    inner = erode(c, shield, 2.0)
    red, orange = (222, 38, 28), (255, 146, 26)
    for (x0, y0, x1, y1), colour in (((0, 0, 16, 15), red), ((16, 0, 32, 15), orange),
                                      ((0, 15, 16, 32), orange), ((16, 15, 32, 32), red)):
        c.paint(inter(inner, c.rect(x0, y0, x1, y1)), colour)


def icon_status_clean(c, k):
    """Repair page, nothing found: a white tick on a green rounded square."""
    square = c.rrect(1, 1, 31, 31, 7)
    c.paint(square, (22, 112, 44))
    c.paint(erode(c, square, 2.0), c.linear(0, 2, 0, 30, [(0, (96, 206, 96)), (1, (34, 150, 58))]))
    c.paint(c.line([(8.5, 16.5), (13.5, 21.5), (23.5, 10.5)], 4.4), WHITE)


def icon_gear(c, k):
    draw_gear(c, k, 16, 16, 14, inner=4.6, colours=((30, 70, 130), (150, 220, 240), (40, 120, 204)))


def icon_home(c, k):
    c.paint(c.rect(21, 5, 24.5, 13), (30, 80, 160))
    walls = c.rect(7, 15, 25, 28.5)
    c.paint(walls, (58, 92, 140))
    c.paint(c.rect(8, 15, 24, 27.5), c.linear(0, 15, 0, 28, [(0, WHITE), (1, (214, 230, 246))]))
    roof = c.polygon([(16, 3.5), (30.5, 16.5), (27.5, 18), (16, 7.6), (4.5, 18), (1.5, 16.5)])
    c.paint(roof, c.linear(0, 3, 0, 18, [(0, (90, 180, 240)), (1, DEEP_BLUE)]))
    c.paint(c.rrect(13.5, 19, 18.5, 27.5, 1), c.linear(0, 19, 0, 28, [(0, (70, 210, 210)), (1, (20, 140, 150))]))
    c.paint(c.circle(17.3, 23.5, 0.6), WHITE)
    c.paint(c.rect(20, 18.5, 23, 21.5), (120, 200, 246))


def icon_cpu(c, k):
    draw_chip(c, k)


def icon_board(c, k):
    draw_board(c, k * 0.5, 32, 29)


def icon_disk(c, k):
    draw_drive(c, k)


def icon_network(c, k):
    draw_globe(c, 16, 16, 13.5, 1.0)


def icon_memory(c, k):
    draw_memory(c, k)


def icon_system(c, k):
    draw_window_badge(c, k)


def icon_app(c, k):
    draw_logo(c, k)


def make_icons():
    save_ico("app.ico", icon_images(icon_app, APP_SIZES))
    save_ico("system.ico", icon_images(icon_system, SYSTEM_SIZES))
    for name, draw in SINGLE_ICONS + STATUS_ICONS:
        save_ico(name, icon_images(draw, ICON_SIZES))


APP_SIZES = [16, 32, 48, 64, 72, 96, 128]
SYSTEM_SIZES = [16, 24, 32, 48, 64, 72, 96, 128]
ICON_SIZES = [16, 24, 32, 48, 64]   # 16 and 32 at 100% to 200%
SINGLE_ICONS = [
    ("disk.ico", icon_disk),
    ("network.ico", icon_network),
    ("memory.ico", icon_memory),
    ("tab1_sysinfo.ico", icon_computer),
    ("tab1_shortcuts.ico", icon_shortcut),
    ("tab1_empty2.ico", icon_star),
    ("tab1_junk.ico", icon_trash),
    ("tab1_repair.ico", icon_repair),
    ("tab1_empty5.ico", icon_gear),
    ("tab2_home.ico", icon_home),
    ("tab2_cpu.ico", icon_cpu),
    ("tab2_board.ico", icon_board),
    ("tab2_disk.ico", icon_disk),
    ("tab2_network.ico", icon_network),
    ("tab2_memory.ico", icon_memory),
    ("tab2_system.ico", icon_system),
]
# The repair page's status icons: 16 x 16 in the design.
STATUS_ICONS = [
    ("status_found.ico", icon_status_found),
    ("status_clean.ico", icon_status_clean),
]


# --- self-check ------------------------------------------------------------------------

EXPECTED = {
    "frame_top_left.bmp": ("BMP", (6, 30)),
    "frame_top_middle.bmp": ("BMP", (1, 30)),
    "frame_top_right.bmp": ("BMP", (6, 30)),
    "frame_middle_left.bmp": ("BMP", (2, 2)),
    "frame_middle_right.bmp": ("BMP", (2, 2)),
    "frame_bottom_left.bmp": ("BMP", (6, 7)),
    "frame_bottom_middle.bmp": ("BMP", (2, 2)),
    "frame_bottom_right.bmp": ("BMP", (6, 7)),
    **{f"{k}_{l}.bmp": ("BMP", (19, 19)) for k in ("min", "max", "close") for l in ("normal", "hot", "pressed")},
    "skin_normal.bmp": ("BMP", (69, 21)),
    "skin_hot.bmp": ("BMP", (69, 21)),
    "logo.gif": ("GIF", (80, 80)),
    "banner.jpg": ("JPEG", (439, 145)),
    "badge.gif": ("GIF", (359, 89)),
    "cpu.gif": ("GIF", (32, 32)),
    "board.jpg": ("JPEG", (77, 69)),
    "scanie.jpg": ("JPEG", (48, 48)),
    "app.ico": ("ICO", APP_SIZES),
    "system.ico": ("ICO", SYSTEM_SIZES),
    **{name: ("ICO", ICON_SIZES) for name, _ in SINGLE_ICONS + STATUS_ICONS},
}


def check_bmp(path, size):
    data = open(path, "rb").read()
    assert data[:2] == b"BM", "not a BMP"
    header = struct.unpack_from("<IiiHHI", data, 14)
    hsize, w, h, planes, bits, compression = header
    assert (w, h) == size, f"size {w}x{h}"        # positive height: bottom-up
    assert bits == 24 and compression == 0 and planes == 1, f"{bits} bpp, compression {compression}"


def check_ico(path, sizes):
    data = open(path, "rb").read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert reserved == 0 and kind == 1, "not an icon file"
    found = []
    for i in range(count):
        w, h, colours, _, planes, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        w, h = w or 256, h or 256
        assert bits == 32 and planes == 1, f"entry {w}: {bits} bpp"
        assert offset + length <= len(data), f"entry {w} runs past the end"
        bih = struct.unpack_from("<IiiHHI", data, offset)
        assert bih[0] == 40 and (bih[1], bih[2]) == (w, 2 * h) and bih[4] == 32, f"entry {w}: bad image header"
        assert length == 40 + w * h * 4 + ((w + 31) // 32) * 4 * h, f"entry {w}: bad length"
        alphas = {data[offset + 40 + j * 4 + 3] for j in range(w * h)}
        assert 0 in alphas and 255 in alphas, f"entry {w}: alpha channel looks unused"
        found.append(w)
        assert w == h
    assert sorted(found) == sorted(sizes), f"sizes {found}, wanted {sizes}"


def self_check():
    problems = []
    sets = [(1.0, "")] + list(SETS)
    expected = {}
    for k, folder in sets:
        for name, (kind, size) in EXPECTED.items():
            if kind != "ICO" or not folder:
                scaled = size if kind == "ICO" else tuple(v if v == 1 else int(math.floor(v * k + 0.5)) for v in size)
                expected[os.path.join(folder, name)] = (kind, scaled)
    written = sorted(os.path.relpath(os.path.join(d, f), OUT) for d, _, files in os.walk(OUT) for f in files)
    for name in sorted(set(written) - set(expected)):
        problems.append(f"{name}: not expected here")
    for name, (kind, size) in sorted(expected.items()):
        path = os.path.join(OUT, name)
        try:
            if kind == "BMP":
                check_bmp(path, size)
            elif kind == "ICO":
                check_ico(path, size)
            else:
                with Image.open(path) as im:
                    assert im.format == kind, f"format {im.format}"
                    assert im.size == size, f"size {im.size}"
                    if kind == "GIF":
                        assert im.mode == "P", f"mode {im.mode}"
                        assert im.info.get("transparency") == 255, "no transparent index"
        except (AssertionError, OSError, struct.error) as e:
            problems.append(f"{name}: {e}")
    for p in problems:
        print("make_pictures:", p, file=sys.stderr)
    return not problems


def make_set(k, folder):
    global K, SET
    K, SET = k, folder
    os.makedirs(os.path.join(OUT, SET), exist_ok=True)
    make_frame()
    make_title_buttons()
    make_skins()
    make_logo_gif()
    make_banner()
    make_badge()
    make_cpu_gif()
    make_board_jpg()
    make_scanie()


def main():
    for k, folder in SETS:
        make_set(k, folder)
    make_set(1.0, "")
    make_icons()
    if not self_check():
        sys.exit(1)
    print(f"make_pictures: {len(EXPECTED)} pictures in {1 + len(SETS)} sets written to {os.path.relpath(OUT)}")


if __name__ == "__main__":
    main()
