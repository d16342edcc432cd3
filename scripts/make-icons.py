#!/usr/bin/python3
"""Draws zarno's icons as SVG files into resources/icons/.

    /usr/bin/python3 scripts/make-icons.py           write every icon and icons.txt
    /usr/bin/python3 scripts/make-icons.py --check   compare with the files on disk

Figure tools get <id>16.svg, <id>32.svg and <id>32disabled.svg; commands get
<name>16.svg; the program gets zarno_icon32.svg and zarno.svg (256 px).
icons.txt lists every file name, one per line, for the Qt resource.

Every picture is drawn once by a function on a 16-unit grid. A canvas scales
the units to the pixel size (1 unit = 1 px at 16, 2 px at 32) and snaps
horizontal and vertical strokes onto whole pixels. The disabled pictures are
the same drawing passed through a grey palette, so the two never drift apart.
Standard library only.
"""

import math
import os
import re
import sys
from xml.etree import ElementTree

HERE = os.path.dirname(os.path.abspath(__file__))
OUT_DIR = os.path.join(os.path.dirname(HERE), "resources", "icons")

# ---------------------------------------------------------------- palette

PALETTE = {
    "pt": "#dc1e1e",        # points
    "ptRim": "#7e0c0c",
    "ptDark": "#2a2a2a",    # centres and other secondary points
    "strong": "#1658d0",    # the constructed shape
    "strongLight": "#8fb4f0",
    "given": "#8a8a8a",     # shapes the construction starts from
    "faint": "#c8c8c8",
    "axis": "#6a6a6a",
    "ink": "#202020",       # text
    "fill": "#b4d0ff",
    "white": "#ffffff",
    "paper": "#fbfbfb",
    "line": "#6e6e6e",      # outlines of command pictures
    "yellow": "#f0c030",
    "yellowLight": "#fadc78",
    "yellowDark": "#8a6412",
    "blue": "#2c64c8",
    "blueDark": "#173a7c",
    "metal": "#dfe5ee",
    "red": "#d42020",
    "redDark": "#881010",
    "green": "#3a9a3c",
    "greenDark": "#1e5e22",
    "sky": "#cfe6ff",
    "pink": "#f29ab0",
    "brown": "#b87a3c",
    "brownDark": "#5a3512",
}

# How far a disabled colour moves from its grey level towards white.
DISABLED_LIGHTEN = 0.5


def hex_rgb(c):
    return int(c[1:3], 16), int(c[3:5], 16), int(c[5:7], 16)


def disabled_colour(c):
    r, g, b = hex_rgb(c)
    level = 0.299 * r + 0.587 * g + 0.114 * b
    v = round(255 - (255 - level) * DISABLED_LIGHTEN)
    return "#%02x%02x%02x" % (v, v, v)


def fmt(v):
    s = "%.3f" % v
    s = s.rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


# ---------------------------------------------------------------- canvas

class Canvas:
    """Collects SVG elements; coordinates are in grid units."""

    def __init__(self, size, grid=16, disabled=False):
        self.size = size
        self.grid = grid
        self.u = size / grid
        self.big = size >= 32
        self.disabled = disabled
        self.items = []

    # colours and units
    def col(self, name):
        if name is None or name == "none":
            return "none"
        c = PALETTE.get(name, name)
        return disabled_colour(c) if self.disabled else c

    def px(self, v):
        return fmt(v * self.u)

    def width_px(self, w, px):
        return px if px is not None else w * self.u

    @staticmethod
    def snap(v_px, w_px):
        """Centre of a stroke of w_px pixels nearest v_px that covers whole pixels."""
        start = math.floor(v_px - w_px / 2 + 0.5)
        return start + w_px / 2

    def stroke_attrs(self, color, w, px, dash=None, cap="butt", join="round", opacity=None):
        wp = self.width_px(w, px)
        a = 'fill="none" stroke="%s" stroke-width="%s"' % (self.col(color), fmt(wp))
        if cap != "butt":
            a += ' stroke-linecap="%s"' % cap
        if join != "miter":
            a += ' stroke-linejoin="%s"' % join
        if dash:
            a += ' stroke-dasharray="%s"' % ",".join(fmt(d * self.u) for d in dash)
        if opacity is not None:
            a += ' stroke-opacity="%s"' % fmt(opacity)
        return a

    # primitives
    def line(self, x1, y1, x2, y2, color="strong", w=1, px=None, dash=None, cap="butt", opacity=None):
        wp = self.width_px(w, px)
        X1, Y1, X2, Y2 = x1 * self.u, y1 * self.u, x2 * self.u, y2 * self.u
        if y1 == y2:
            Y1 = Y2 = self.snap(Y1, wp)
        if x1 == x2:
            X1 = X2 = self.snap(X1, wp)
        self.items.append('<path d="M%s %sL%s %s" %s/>' % (
            fmt(X1), fmt(Y1), fmt(X2), fmt(Y2),
            self.stroke_attrs(color, w, px, dash, cap, "miter", opacity)))

    def polyline(self, pts, color="strong", w=1, px=None, close=False, fill=None, dash=None,
                 cap="round", join="round", opacity=None, fill_opacity=None):
        d = "M" + " L".join("%s %s" % (self.px(x), self.px(y)) for x, y in pts)
        if close:
            d += "Z"
        self.path(d, color, w, px, fill, dash, cap, join, opacity, fill_opacity)

    def path(self, d, color="strong", w=1, px=None, fill=None, dash=None, cap="round", join="round",
             opacity=None, fill_opacity=None):
        """d is already in pixels (use polyline/curve helpers for units)."""
        if color is None:
            attrs = 'fill="%s"' % self.col(fill)
        else:
            attrs = self.stroke_attrs(color, w, px, dash, cap, join, opacity)
            if fill:
                attrs = attrs.replace('fill="none"', 'fill="%s"' % self.col(fill), 1)
        if fill_opacity is not None:
            attrs += ' fill-opacity="%s"' % fmt(fill_opacity)
        self.items.append('<path d="%s" %s/>' % (d, attrs))

    def rect(self, x, y, w, h, color="line", sw=None, px=1, fill=None, rx=0, dash=None):
        """Rectangle whose outline (px pixels) lies on whole pixels."""
        u = self.u
        if color is None:
            X, Y, W, H = x * u, y * u, w * u, h * u
            stroke = ""
        else:
            wp = self.width_px(sw if sw is not None else 1, px if sw is None else None)
            X, Y = self.snap(x * u, wp), self.snap(y * u, wp)
            X2, Y2 = self.snap((x + w) * u, wp), self.snap((y + h) * u, wp)
            W, H = X2 - X, Y2 - Y
            stroke = ' stroke="%s" stroke-width="%s"' % (self.col(color), fmt(wp))
            if dash:
                stroke += ' stroke-dasharray="%s"' % ",".join(fmt(d * u) for d in dash)
        r = ' rx="%s"' % fmt(rx * u) if rx else ""
        self.items.append('<rect x="%s" y="%s" width="%s" height="%s"%s fill="%s"%s/>' % (
            fmt(X), fmt(Y), fmt(W), fmt(H), r, self.col(fill) if fill else "none", stroke))

    def circle(self, cx, cy, r, color="strong", w=1, px=None, fill=None, dash=None, opacity=None):
        a = self.stroke_attrs(color, w, px, dash, "butt", "miter", opacity) if color else 'fill="none"'
        if fill:
            a = a.replace('fill="none"', 'fill="%s"' % self.col(fill), 1)
        self.items.append('<circle cx="%s" cy="%s" r="%s" %s/>' % (self.px(cx), self.px(cy), self.px(r), a))

    def ellipse(self, cx, cy, rx, ry, color="strong", w=1, px=None, fill=None):
        a = self.stroke_attrs(color, w, px) if color else 'fill="none"'
        if fill:
            a = a.replace('fill="none"', 'fill="%s"' % self.col(fill), 1)
        self.items.append('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" %s/>' % (
            self.px(cx), self.px(cy), self.px(rx), self.px(ry), a))

    def arc(self, cx, cy, r, a0, a1, color="strong", w=1, px=None, cap="butt"):
        """Circular arc from angle a0 to a1 (degrees, counter-clockwise as on paper)."""
        x0, y0 = cx + r * math.cos(math.radians(a0)), cy - r * math.sin(math.radians(a0))
        x1, y1 = cx + r * math.cos(math.radians(a1)), cy - r * math.sin(math.radians(a1))
        large = 1 if (a1 - a0) % 360 > 180 else 0
        d = "M%s %sA%s %s 0 %d 0 %s %s" % (self.px(x0), self.px(y0), self.px(r), self.px(r), large,
                                          self.px(x1), self.px(y1))
        self.path(d, color, w, px, cap=cap)

    def curve(self, pts, color="strong", w=1.5, px=None, dash=None, opacity=None):
        self.polyline(pts, color, w, px, dash=dash, opacity=opacity)

    def dot(self, x, y, kind="pt", r=None):
        """A point as a small filled dot; at 32 px it has a darker rim."""
        fill = kind
        rim = "ptRim" if kind == "pt" else kind
        if r is None:
            r = 1.6 if not self.big else 1.75
        if self.big:
            self.circle(x, y, r - 0.25, rim, px=1, fill=fill)
        else:
            self.circle(x, y, r, None, fill=fill)

    def polygon(self, pts, fill, color=None, w=1, px=None, join="round", fill_opacity=None):
        if color is None:
            d = "M" + " L".join("%s %s" % (self.px(x), self.px(y)) for x, y in pts) + "Z"
            self.path(d, None, fill=fill, fill_opacity=fill_opacity)
        else:
            self.polyline(pts, color, w, px, close=True, fill=fill, join=join, fill_opacity=fill_opacity)

    def arrowhead(self, tx, ty, dx, dy, length=4, half=2, color="strong"):
        n = math.hypot(dx, dy)
        dx, dy = dx / n, dy / n
        bx, by = tx - dx * length, ty - dy * length
        pts = [(tx, ty), (bx - dy * half, by + dx * half), (bx + dy * half, by - dx * half)]
        self.polygon(pts, color)

    def pixel_arrowhead(self, x, y, direction, color="ink", rows=3):
        """Arrowhead of whole pixels; (x, y) is the pixel of the tip, direction "up" or "right"."""
        for i in range(rows):
            if direction == "up":
                self.rect(x - i, y + i, 2 * i + 1, 1, None, fill=color)
            else:
                self.rect(x - i, y - i, 1, 2 * i + 1, None, fill=color)

    def arrow_shaft_end(self, tx, ty, dx, dy, length=4):
        n = math.hypot(dx, dy)
        return tx - dx / n * length * 0.7, ty - dy / n * length * 0.7

    def hatch(self, poly, spacing, color="strong", w=1, px=None, angle=45):
        """Parallel lines clipped to a polygon (computed here: no SVG clipping needed)."""
        a = math.radians(angle)
        dx, dy = math.cos(a), -math.sin(a)      # direction of the hatch lines
        nx, ny = -dy, dx                         # their normal
        offs = [x * nx + y * ny for x, y in poly]
        k = math.ceil(min(offs) / spacing)
        while k * spacing < max(offs):
            d = k * spacing
            ts = []
            for i in range(len(poly)):
                (x1, y1), (x2, y2) = poly[i], poly[(i + 1) % len(poly)]
                o1, o2 = x1 * nx + y1 * ny - d, x2 * nx + y2 * ny - d
                if (o1 < 0) != (o2 < 0):
                    t = o1 / (o1 - o2)
                    xi, yi = x1 + (x2 - x1) * t, y1 + (y2 - y1) * t
                    ts.append(xi * dx + yi * dy)
            ts.sort()
            for j in range(0, len(ts) - 1, 2):
                p, q = ts[j], ts[j + 1]
                self.line(d * nx + p * dx, d * ny + p * dy, d * nx + q * dx, d * ny + q * dy, color, w, px)
            k += 1

    def text(self, s, x, y, color="ink", font=None, pix=None):
        """Pixel-font text; x, y is the top left corner in units, pix the px per font pixel."""
        font = font or FONT
        pix = pix if pix is not None else self.u
        X, Y = round(x * self.u), round(y * self.u)
        d = []
        for ch in s:
            glyph = font[ch]
            for row, bits in enumerate(glyph):
                for col, b in enumerate(bits):
                    if b == "#":
                        d.append("M%s %sh%sv%sh-%sz" % (fmt(X + col * pix), fmt(Y + row * pix),
                                                       fmt(pix), fmt(pix), fmt(pix)))
            X += (len(glyph[0]) + 1) * pix
        self.path("".join(d), None, fill=color)

    @staticmethod
    def text_width(s, font=None):
        font = font or FONT
        return sum(len(font[ch][0]) + 1 for ch in s) - 1

    def right_angle(self, fx, fy, ax, ay, bx, by, size, color="ink", px=1):
        self.polyline([(fx + ax * size, fy + ay * size),
                       (fx + ax * size + bx * size, fy + ay * size + by * size),
                       (fx + bx * size, fy + by * size)], color, px=px, cap="butt", join="miter")

    def svg(self):
        s = self.size
        return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">\n'
                % (s, s, s, s) + "".join("  " + i + "\n" for i in self.items) + "</svg>\n")


# ---------------------------------------------------------------- pixel fonts

# Small font: capitals 3 x 5; lower case and signs sit on the same base line
# (row 4), descenders use row 5.
FONT = {
    "A": [".#.", "#.#", "###", "#.#", "#.#"],
    "P": ["##.", "#.#", "##.", "#..", "#.."],
    "a": ["...", "##.", ".##", "#.#", "###"],
    "b": ["#..", "##.", "#.#", "#.#", "##."],
    "c": ["...", ".##", "#..", "#..", ".##"],
    "f": [".#", "#.", "##", "#.", "#."],
    "g": ["...", "...", ".##", "#.#", ".##", "..#", "##."],
    "x": ["...", "...", "#.#", ".#.", "#.#"],
    "y": ["...", "...", "#.#", "#.#", ".##", "..#", ".#."],
    "(": [".#", "#.", "#.", "#.", "#.", ".#"],
    ")": ["#.", ".#", ".#", ".#", ".#", "#."],
    ",": [".", ".", ".", ".", "#", "#"],
    "=": ["...", "###", "...", "###", "..."],
    ".": [".", ".", ".", ".", "#"],
    ":": [".", "#", ".", "#", "."],
    "1": [".#", "##", ".#", ".#", ".#"],
    "2": ["##.", "..#", ".#.", "#..", "###"],
    "3": ["##.", "..#", ".#.", "..#", "##."],
    "5": ["###", "#..", "##.", "..#", "##."],
    " ": ["."],
}

# Large font, 5 x 7, for single letters that carry the picture.
BIG = {
    "A": ["..#..", ".#.#.", "#...#", "#...#", "#####", "#...#", "#...#"],
    "f": ["..##", ".#..", ".#..", "####", ".#..", ".#..", ".#.."],
    "1": [".##", "###", ".##", ".##", ".##", ".##", ".##"],
    ":": ["##", "##", "..", "..", "##", "##", ".."],
}

# A bold capital for 16-pixel pictures.
BOLD = {
    "A": ["..###..", "..###..", ".##.##.", ".##.##.", "##...##", "#######", "##...##", "##...##", "##...##"],
}


# ---------------------------------------------------------------- helpers

def fn_points(f, x0, x1, n=32):
    return [(x0 + (x1 - x0) * i / n, f(x0 + (x1 - x0) * i / n)) for i in range(n + 1)]


def param_points(f, t0, t1, n=40):
    return [f(t0 + (t1 - t0) * i / n) for i in range(n + 1)]


def line_through(c, p, q, color="strong", w=None, x0=-1, x1=17, **kw):
    """Line through p and q drawn from edge to edge (not vertical)."""
    m = (q[1] - p[1]) / (q[0] - p[0])
    c.line(x0, p[1] + m * (x0 - p[0]), x1, p[1] + m * (x1 - p[0]), color, w if w is not None else strong_w(c), **kw)


def strong_w(c):
    """Width (units) of a constructed line: 1.5 px at 16, 2 px at 32."""
    return 1.5 if not c.big else 1.0


def axes(c, ox, oy, color="axis"):
    c.line(0, oy, 16, oy, color, px=1)
    c.line(ox, 0, ox, 16, color, px=1)


# ---------------------------------------------------------------- figure tools

# Shared geometry of the line family (line, segment, ray, arrows).
LA, LB = (5.5, 11.0), (11.5, 7.0)


def t_dotOnField(c):
    for v in (3.5, 12.5):
        c.line(v, 0, v, 16, "faint", px=1)
        c.line(0, v, 16, v, "faint", px=1)
    c.dot(8, 8, r=3 if not c.big else 3.25)


def t_shapeVariable2dot(c):
    # a shape whose attributes make the coordinates, the point they define and its formula
    c.circle(4, 12, 2.5, "given", px=1 if not c.big else 1.5)
    c.line(6.5, 9.5, 9.2, 6.8, "given", px=1 if not c.big else 1.5)
    c.arrowhead(10.5, 5.5, 1, -1, 2.5, 1.4, "given")
    c.text("f", 1.5, 1, "strong", BIG)
    c.dot(12.5, 3.5, r=2 if not c.big else 2.25)


def t_setten(c):
    cx, cy, r = 10.5, 9.5, 4.5
    px_, py_ = 1.5, 3.0
    c.circle(cx, cy, r, "given", px=1)
    dx, dy = cx - px_, cy - py_
    d = math.hypot(dx, dy)
    base = math.atan2(dy, dx)
    off = math.asin(r / d)
    tl = math.sqrt(d * d - r * r)
    for s in (-1, 1):
        a = base + s * off
        tx, ty = px_ + tl * math.cos(a), py_ + tl * math.sin(a)
        ex, ey = px_ + (tl + 3) * math.cos(a), py_ + (tl + 3) * math.sin(a)
        c.line(px_, py_, ex, ey, "strong", px=1)
        c.dot(tx, ty)
    c.dot(px_, py_, "ptDark")


def t_seishiki2kyokuchiDots(c):
    f = lambda x: 8 + 2.25 * (((x - 8) / 4) ** 3 - 3 * (x - 8) / 4)
    c.curve(fn_points(f, -0.5, 16.5, 40), "given", px=1 if not c.big else 1.5)
    for x, y in ((4, 12.5), (12, 3.5)):
        c.line(x - 3, y, x + 3, y, "strong", px=1 if not c.big else 2)
        c.dot(x, y)


def t_line(c):
    line_through(c, LA, LB)
    c.dot(*LA)
    c.dot(*LB)


def t_line_1tenHeikou(c):
    m = -0.55
    g0 = (8, 12.5)
    p = (6, 5)
    c.line(-1, g0[1] + m * (-1 - g0[0]), 17, g0[1] + m * (17 - g0[0]), "given", px=1 if not c.big else 1.5)
    c.line(-1, p[1] + m * (-1 - p[0]), 17, p[1] + m * (17 - p[0]), "strong", strong_w(c))
    c.dot(*p)


def t_line_1tenSuicyoku(c):
    c.line(0, 12.5, 16, 12.5, "given", px=1 if not c.big else 2)
    c.line(7.5, 0, 7.5, 16, "strong", 1)
    c.right_angle(7.5, 12.5, 1, 0, 0, -1, 3 if not c.big else 3.5, "ink", px=1)
    c.dot(7.5, 4.5)


def t_sessenOnCircle(c):
    cx, cy, r = 6.5, 9.5, 5
    c.circle(cx, cy, r, "given", px=1 if not c.big else 1.5)
    a = math.radians(45)
    tx, ty = cx + r * math.cos(a), cy - r * math.sin(a)
    c.line(tx - 11, ty - 11, tx + 11, ty + 11, "strong", strong_w(c))
    c.dot(tx, ty)


def t_sessenOnEllipse(c):
    cx, cy, rx, ry = 8, 10.5, 6.5, 3.75
    c.ellipse(cx, cy, rx, ry, "given", px=1 if not c.big else 1.5)
    t = math.radians(55)
    tx, ty = cx + rx * math.cos(t), cy - ry * math.sin(t)
    dx, dy = -rx * math.sin(t), -ry * math.cos(t)
    m = dy / dx
    c.line(-1, ty + m * (-1 - tx), 17, ty + m * (17 - tx), "strong", strong_w(c))
    c.dot(tx, ty)


def t_senbun(c):
    c.line(LA[0], LA[1], LB[0], LB[1], "strong", strong_w(c), cap="round")
    c.dot(*LA)
    c.dot(*LB)


def t_hanCyokusen(c):
    m = (LB[1] - LA[1]) / (LB[0] - LA[0])
    c.line(LA[0], LA[1], 17, LA[1] + m * (17 - LA[0]), "strong", strong_w(c))
    c.dot(*LA)
    c.dot(*LB)


def t_circle(c):
    cx, cy, r = 8, 8, 6
    a = math.radians(40)
    qx, qy = cx + r * math.cos(a), cy - r * math.sin(a)
    c.line(cx, cy, qx, qy, "given", px=1)
    c.circle(cx, cy, r, "strong", strong_w(c))
    c.dot(cx, cy, "ptDark", r=1.25 if not c.big else 1.5)
    c.dot(qx, qy)


def t_gaisetsuen(c):
    cx, cy, r = 8, 8, 6
    pts = [(cx + r * math.cos(math.radians(a)), cy - r * math.sin(math.radians(a))) for a in (105, 215, 335)]
    if c.big:
        c.polyline(pts, "given", px=1, close=True)
    c.circle(cx, cy, r, "strong", strong_w(c))
    for p in pts:
        c.dot(*p)


def t_arc(c):
    cx, cy, r = 3.5, 12.5, 10
    a1 = 72
    ex, ey = cx + r * math.cos(math.radians(a1)), cy - r * math.sin(math.radians(a1))
    c.line(cx, cy, cx + r, cy, "given", px=1)
    c.line(cx, cy, ex, ey, "given", px=1)
    c.arc(cx, cy, r, 0, a1, "strong", strong_w(c))
    c.dot(cx, cy, "ptDark", r=1.25 if not c.big else 1.5)
    c.dot(cx + r, cy)
    p3 = 6
    c.dot(cx + p3 * math.cos(math.radians(a1)), cy - p3 * math.sin(math.radians(a1)))


def t_ellipse(c):
    cx, cy, rx, ry = 8, 8, 7, 4.5
    c.ellipse(cx, cy, rx, ry, "strong", strong_w(c))
    c.dot(cx, cy, "ptDark", r=1.25 if not c.big else 1.5)
    for deg in (-35, 115):
        t = math.radians(deg)
        c.dot(cx + rx * math.cos(t), cy - ry * math.sin(t))


def t_paint(c):
    # the region between a curve and a line, as under a graph
    base = 12.5
    top = lambda x: 3.5 + 0.26 * (x - 8) ** 2
    xc = math.sqrt((base - 3.5) / 0.26)
    region = fn_points(top, 8 - xc, 8 + xc, 24)
    c.polygon(region, "fill")
    c.hatch(region, 3 if not c.big else 2.5, "strong", px=1)
    w = 1 if not c.big else 2
    c.line(0, base, 16, base, "ink", px=w)
    c.curve(fn_points(top, 8 - xc - 1.2, 8 + xc + 1.2, 32), "ink", px=1.2 if not c.big else 2)
    c.dot(8, 9)


def t_writing(c):
    c.dot(4, 12.5)
    if c.big:
        c.text("A", 7, 2, "ink", BIG)
    else:
        c.text("A", 7, 1, "ink", BOLD)


def t_arrow2writing(c):
    c.line(2, 14, 7.2, 8.8, "given", px=1 if not c.big else 2)
    c.arrowhead(9, 7, 1, -1, 3.5, 1.8, "given")
    c.text("abc", 5, 1, "ink") if not c.big else c.text("abc", 4.5, 1, "ink")


def t_dot2zahyou(c):
    c.dot(3, 12.5)
    c.text("(x,y)", 0.5 if not c.big else 1, 2.5, "ink")


def t_shapeVariable2value(c):
    c.line(2.5, 12.5, 13.5, 12.5, "given", px=1 if not c.big else 2)
    c.dot(2.5, 12.5, "given", r=1.25 if not c.big else 1.5)
    c.dot(13.5, 12.5, "given", r=1.25 if not c.big else 1.5)
    c.text("=1.5", 2, 3, "ink")


def t_function(c):
    ox, oy = 8.5, 12.5
    axes(c, ox, oy)
    f = lambda x: oy - 0.3 * (x - ox) ** 2
    x = math.sqrt((oy + 0.5) / 0.3)
    c.curve(fn_points(f, ox - x, ox + x, 32), "strong", strong_w(c))
    c.dot(ox, oy)


def t_functionY(c):
    ox, oy = 3.5, 8.5
    axes(c, ox, oy)
    g = lambda y: ox + 0.3 * (y - oy) ** 2
    y = math.sqrt((16.5 - ox) / 0.3)
    c.curve([(g(yy), yy) for _, yy in fn_points(lambda v: v, oy - y, oy + y, 32)], "strong", strong_w(c))
    c.dot(ox, oy)


def t_seishiki(c):
    f = lambda x: 8.5 - 3.5 * (((x - 8) / 4.5) ** 3 - 2 * (x - 8) / 4.5)
    c.curve(fn_points(f, -0.5, 16.5, 40), "strong", strong_w(c))
    for x in (1.5, 5, 10, 14.5):
        c.dot(x, f(x))


def t_shapeVariable2function(c):
    ox, oy = 8.5, 12.5
    axes(c, ox, oy, "faint")
    for k, color, w in ((0.12, "strongLight", None), (0.7, "strongLight", None), (0.3, "strong", True)):
        f = lambda x, k=k: oy - k * (x - ox) ** 2
        x = math.sqrt((oy + 0.5) / k)
        x = min(x, 9)
        if w:
            c.curve(fn_points(f, ox - x, ox + x, 32), color, strong_w(c))
        else:
            c.curve(fn_points(f, ox - x, ox + x, 32), color, px=1 if not c.big else 1.5)
    c.dot(ox, oy)


def t_arrow(c):
    a, tip = (3, 12.5), (14, 4.5)
    dx, dy = tip[0] - a[0], tip[1] - a[1]
    ex, ey = c.arrow_shaft_end(tip[0], tip[1], dx, dy, 4.5)
    c.line(a[0], a[1], ex, ey, "strong", strong_w(c))
    c.arrowhead(tip[0], tip[1], dx, dy, 4.5, 2.25)
    c.dot(*a)


# the arrow as a line or a ray: P1, the point P2 it heads for, the tip at the edge
AA, AB = (5, 11.5), (9.5, 8.5)


def _arrow_to_edge(c, start_x):
    m = (AB[1] - AA[1]) / (AB[0] - AA[0])
    tip = (15.5, AA[1] + m * (15.5 - AA[0]))
    ex, ey = c.arrow_shaft_end(tip[0], tip[1], 1, m, 4.5)
    c.line(start_x, AA[1] + m * (start_x - AA[0]), ex, ey, "strong", strong_w(c))
    c.arrowhead(tip[0], tip[1], 1, m, 4.5, 2.25)
    c.dot(*AA)
    c.dot(*AB)


def t_arrowLine(c):
    _arrow_to_edge(c, -1)


def t_arrowHanCyokusen(c):
    _arrow_to_edge(c, AA[0])


def t_tracer(c):
    pts = param_points(lambda t: (8 - 6 * math.cos(t), 12 - 8.5 * math.sin(t) + 0.0), 0.15, 2.75, 7)
    n = len(pts)
    for i, (x, y) in enumerate(pts[:-1]):
        c.circle(x, y, 0.9 + 0.5 * i / n if not c.big else 0.8 + 0.45 * i / n, None, fill="strong")
    c.dot(*pts[-1])


def t_dot2zahyouGroup(c):
    ox, oy = 3.5, 12.5
    axes(c, ox, oy)
    px_, py_ = 11.5, 4.5
    c.line(px_, py_, px_, oy, "strong", px=1, dash=(1, 1))
    c.line(px_, py_, ox, py_, "strong", px=1, dash=(1, 1))
    c.rect(px_ - 1, oy - 1, 2, 2, None, fill="strong")
    c.rect(ox - 1, py_ - 1, 2, 2, None, fill="strong")
    if c.big:
        c.text("3", 9.5, 13.5, "ink", pix=1)
        c.text("2", 0.5, 3, "ink", pix=1)
    c.dot(px_, py_)


def t_koutenLineLine(c):
    # two given lines and the point where they cross
    w = 1 if not c.big else 1.5
    c.line(-1, 13.5, 17, 3.5, "given", px=w)
    c.line(-1, 4.0, 17, 14.0, "given", px=w)
    x = 8.0
    y = 13.5 + (3.5 - 13.5) * (x + 1) / 18
    c.dot(x, y)


def t_koutenLineCircle(c):
    # a given circle, a given line through it, and the two common points
    cx, cy, r = 8.5, 9.0, 5.5
    w = 1 if not c.big else 1.5
    c.circle(cx, cy, r, "given", px=w)
    m = -0.35
    y0 = 8.0 - m * 8.5
    c.line(-1, y0 - m, 17, y0 + m * 17, "given", px=w)
    # where y = y0 + m x meets the circle
    a = 1 + m * m
    b = 2 * (m * (y0 - cy) - cx)
    k = cx * cx + (y0 - cy) ** 2 - r * r
    disc = math.sqrt(b * b - 4 * a * k)
    for s in (-1, 1):
        x = (-b + s * disc) / (2 * a)
        c.dot(x, y0 + m * x)


def t_koutenCircleCircle(c):
    # two given circles and their two common points
    r = 5.0
    c1, c2 = (5.5, 9.0), (10.5, 7.0)
    w = 1 if not c.big else 1.5
    c.circle(c1[0], c1[1], r, "given", px=w)
    c.circle(c2[0], c2[1], r, "given", px=w)
    dx, dy = c2[0] - c1[0], c2[1] - c1[1]
    d = math.hypot(dx, dy)
    h = math.sqrt(r * r - (d / 2) ** 2)
    mx, my = c1[0] + dx / 2, c1[1] + dy / 2
    for s in (-1, 1):
        c.dot(mx - s * h * dy / d, my + s * h * dx / d)


# catalogue order
TOOLS = [
    ("dotOnField", t_dotOnField),
    ("shapeVariable2dot", t_shapeVariable2dot),
    ("setten", t_setten),
    ("seishiki2kyokuchiDots", t_seishiki2kyokuchiDots),
    ("line", t_line),
    ("line_1tenHeikou", t_line_1tenHeikou),
    ("line_1tenSuicyoku", t_line_1tenSuicyoku),
    ("sessenOnCircle", t_sessenOnCircle),
    ("sessenOnEllipse", t_sessenOnEllipse),
    ("senbun", t_senbun),
    ("hanCyokusen", t_hanCyokusen),
    ("circle", t_circle),
    ("gaisetsuen", t_gaisetsuen),
    ("arc", t_arc),
    ("ellipse", t_ellipse),
    ("paint", t_paint),
    ("writing", t_writing),
    ("arrow2writing", t_arrow2writing),
    ("dot2zahyou", t_dot2zahyou),
    ("shapeVariable2value", t_shapeVariable2value),
    ("function", t_function),
    ("functionY", t_functionY),
    ("seishiki", t_seishiki),
    ("shapeVariable2function", t_shapeVariable2function),
    ("arrow", t_arrow),
    ("arrowLine", t_arrowLine),
    ("arrowHanCyokusen", t_arrowHanCyokusen),
    ("tracer", t_tracer),
    ("dot2zahyouGroup", t_dot2zahyouGroup),
    ("koutenLineLine", t_koutenLineLine),
    ("koutenLineCircle", t_koutenLineCircle),
    ("koutenCircleCircle", t_koutenCircleCircle),
]


# ---------------------------------------------------------------- commands (16 px)

def floppy(c, x, y, s):
    """Floppy disk in an s x s box at (x, y) (s = 15 or 8)."""
    k = s / 15
    body = [(x + 0.5, y + 0.5), (x + s - 2 * k - 0.5, y + 0.5), (x + s - 0.5, y + 2 * k + 0.5),
            (x + s - 0.5, y + s - 0.5), (x + 0.5, y + s - 0.5)]
    c.polygon(body, "blue", "blueDark", px=1, join="miter")
    if s >= 12:
        c.rect(x + 4, y + 1, 7, 5, None, fill="metal")
        c.rect(x + 8, y + 2, 2, 3, None, fill="blueDark")
        c.rect(x + 3, y + 9, 9, 5, None, fill="white")
        c.line(x + 4, y + 10.5, x + 11, y + 10.5, "faint", px=1)
        c.line(x + 4, y + 12.5, x + 11, y + 12.5, "faint", px=1)
    else:
        c.rect(x + 2, y + 1, 4, 2, None, fill="metal")
        c.rect(x + 2, y + s - 4, s - 4, 3, None, fill="white")


def c_newFile(c):
    page = [(3.5, 1.5), (9.5, 1.5), (13.5, 5.5), (13.5, 14.5), (3.5, 14.5)]
    c.polygon(page, "white", "line", px=1, join="miter")
    c.polygon([(9.5, 1.5), (9.5, 5.5), (13.5, 5.5)], "metal", "line", px=1, join="miter")


def c_open(c):
    back = [(0.5, 2.5), (5.5, 2.5), (6.5, 3.5), (13.5, 3.5), (13.5, 13.5), (0.5, 13.5)]
    c.polygon(back, "yellow", "yellowDark", px=1, join="miter")
    c.rect(2, 5, 9, 3, None, fill="white")
    front = [(3.5, 7.5), (15.5, 7.5), (13.5, 13.5), (0.5, 13.5)]
    c.polygon(front, "yellowLight", "yellowDark", px=1, join="miter")


def c_save(c):
    floppy(c, 0.5, 0.5, 15)


def c_saveAs(c):
    floppy(c, 0, 0, 13)
    # pencil from lower right towards the disk
    c.line(15, 8, 9.2, 13.8, "yellowDark", px=3.6, cap="butt")
    c.line(15, 8, 9.2, 13.8, "yellow", px=2, cap="butt")
    c.polygon([(9.6, 12), (11, 13.4), (8, 15)], "ink")
    c.line(15.6, 7.4, 14.2, 8.8, "pink", px=3, cap="butt")


def c_saveGraphicfile(c):
    c.rect(0, 1, 15, 11, "line", fill="sky")
    c.polygon([(1, 11), (5, 6), (8, 9), (10, 7), (14, 11)], "green")
    c.circle(11, 4.5, 1.5, None, fill="yellow")
    floppy(c, 8, 8, 8)


def c_exit(c):
    c.rect(1, 1, 9, 14, "brownDark", fill="brown")
    c.rect(3, 3, 5, 4, "brownDark", fill=None)
    c.rect(3, 9, 5, 4, "brownDark", fill=None)
    c.circle(8.3, 8, 0.8, None, fill="yellow")
    c.line(9, 8.5, 12, 8.5, "red", px=2)
    c.arrowhead(15.5, 8.5, 1, 0, 3.5, 3, "red")


def _turn_back(c, mirror):
    """A stroke that turns back over the top, its head pointing the way back."""
    m = (lambda x: 16 - x) if mirror else (lambda x: x)
    c.path("M%s %sC%s %s %s %s %s %s" % (c.px(m(13)), c.px(13.5), c.px(m(14.5)), c.px(7),
                                         c.px(m(10.5)), c.px(4.5), c.px(m(5.5)), c.px(5.5)),
           "blue", px=2.2, cap="round")
    c.polygon([(m(1), 6), (m(6.5), 1.5), (m(7), 9.5)], "blue")


def c_undo(c):
    _turn_back(c, False)


def c_redo(c):
    _turn_back(c, True)


def c_delete(c):
    c.line(3, 3, 13, 13, "red", px=2.6, cap="round")
    c.line(13, 3, 3, 13, "red", px=2.6, cap="round")


def c_figureProperty(c):
    c.rect(2, 1, 12, 14, "line", fill="white")
    for y, col in ((4, "red"), (7.5, "blue"), (11, "green")):
        c.rect(4, y - 1, 2, 2, None, fill=col)
        c.line(7.5, y, 12, y, "line", px=1)


def c_eraseTrace(c):
    for x, y in ((1, 3), (1.5, 6.5), (3, 10), (5.5, 13)):
        c.circle(x, y, 1.1, None, fill="strong")
    body = [(9.5, 14.5), (5.5, 10.5), (11.5, 4.5), (15.5, 8.5)]
    c.polygon(body, "white", "line", px=1)
    c.polygon([(9.5, 14.5), (5.5, 10.5), (8.5, 7.5), (12.5, 11.5)], "pink", "line", px=1)


def c_scale1_1_(c):
    c.text("1:1", 2.0, 4, "ink", BIG)


def c_centerGenten(c):
    c.line(0, 7.5, 15, 7.5, "axis", px=1)
    c.line(7.5, 0, 7.5, 15, "axis", px=1)
    c.circle(7.5, 7.5, 5, "strong", px=1.5)
    c.circle(7.5, 7.5, 2, None, fill="red")


def c_zahyoujikuToggle(c):
    c.line(0, 10.5, 14, 10.5, "ink", px=1)
    c.pixel_arrowhead(15, 10, "right")
    c.line(4.5, 16, 4.5, 1, "ink", px=1)
    c.pixel_arrowhead(4, 0, "up")
    c.text("x", 11, 11, "strong", pix=1)
    c.text("y", 7, -1, "strong", pix=1)


def c_fixFieldToggle(c):
    c.path("M%s %sV%sA3 3 0 0 1 %s %sV%s" % (fmt(4.75), fmt(8), fmt(5.5), fmt(10.75), fmt(5.5), fmt(8)),
           "line", px=1.5, cap="butt")
    c.rect(2, 7, 11, 8, "yellowDark", fill="yellow")
    c.rect(7, 9, 1, 4, None, fill="yellowDark")


def c_previewToggle(c):
    c.path("M0.5 8C3 3 13 3 15.5 8C13 13 3 13 0.5 8Z", "ink", px=1, fill="white")
    c.circle(8, 8, 3, None, fill="blue")
    c.circle(8, 8, 1.3, None, fill="ink")
    c.circle(9.2, 6.8, 0.7, None, fill="white")


def c_figureList(c):
    c.rect(1, 1, 14, 14, "line", fill="white")
    c.circle(4.5, 4, 1.5, None, fill="pt")
    c.line(3, 9.5, 6, 6.5, "strong", px=1.2)
    c.circle(4.5, 12, 1.5, "strong", px=1)
    for y in (4, 8, 12):
        c.line(8, y + 0.5, 13, y + 0.5, "line", px=1)


def c_printAreaToggle(c):
    c.rect(1, 3, 14, 10, "ink", px=1, dash=(2, 1))
    c.circle(6, 8.5, 2.5, "strong", px=1)
    c.line(7.5, 11, 12.5, 6, "red", px=1)


def c_viewScaleToggle(c):
    c.rect(0, 5, 16, 7, "yellowDark", fill="yellowLight")
    for i, x in enumerate(range(2, 15, 2)):
        c.line(x + 0.5, 5, x + 0.5, 5 + (4 if i % 2 == 0 else 2), "yellowDark", px=1)


def c_setupToolbar(c):
    c.rect(0, 0, 16, 6, "line", fill="metal")
    for x in (1.5, 6, 10.5):
        c.rect(x + 0.5, 1.5, 3, 3, None, fill="white")
    c.circle(3.5, 3, 0.8, None, fill="pt")
    c.line(7.1, 4, 9.4, 2, "strong", px=1)
    c.circle(12.5, 3, 1.1, "strong", px=1)
    # gear
    cx, cy, ro, ri = 10.5, 11, 4.5, 3.2
    pts = []
    for i in range(8):
        a = math.radians(i * 45)
        for da, r in ((-14, ri), (-8, ro), (8, ro), (14, ri)):
            aa = a + math.radians(da)
            pts.append((cx + r * math.cos(aa), cy + r * math.sin(aa)))
    c.polygon(pts, "axis")
    c.circle(cx, cy, 1.4, None, fill="white")


def c_helpContents(c):
    c.circle(8, 8, 7, "blueDark", px=1, fill="blue")
    qm = [".###.", "##.##", "...##", "..##.", ".##..", ".....", ".##.."]
    c.text("?", 5.5, 4, "white", {"?": qm}, pix=1)


def c_splash(c):
    c.circle(8, 8, 7, "blueDark", px=1, fill="blue")
    c.rect(7, 3, 2, 2, None, fill="white")
    c.rect(7, 6, 2, 6, None, fill="white")
    c.rect(6, 6, 1, 1, None, fill="white")
    c.rect(6, 11, 4, 1, None, fill="white")


# command table order
COMMANDS = [
    ("newFile", c_newFile),
    ("open", c_open),
    ("saveAs", c_saveAs),
    ("save", c_save),
    ("saveGraphicfile", c_saveGraphicfile),
    ("exit", c_exit),
    ("undo", c_undo),
    ("redo", c_redo),
    ("delete", c_delete),
    ("figureProperty", c_figureProperty),
    ("eraseTrace", c_eraseTrace),
    ("scale1_1_", c_scale1_1_),
    ("centerGenten", c_centerGenten),
    ("zahyoujikuToggle", c_zahyoujikuToggle),
    ("fixFieldToggle", c_fixFieldToggle),
    ("previewToggle", c_previewToggle),
    ("figureList", c_figureList),
    ("printAreaToggle", c_printAreaToggle),
    ("viewScaleToggle", c_viewScaleToggle),
    ("setupToolbar", c_setupToolbar),
    ("helpContents", c_helpContents),
    ("splash", c_splash),
]


# ---------------------------------------------------------------- program icon

def program_icon(c):
    """Drawn on a 32-unit grid: a sheet of squared paper with axes, a parabola and a circle."""
    hi = c.size > 32
    thin_ = {"w": 0.25} if hi else {"px": 1}
    c.rect(1, 1, 30, 30, "blueDark", sw=0.6 if hi else None, px=None if hi else 1, fill="paper", rx=4)
    for v in (7.5, 15.5, 23.5):
        c.line(v, 2, v, 30, "faint", **thin_)
        c.line(2, v, 30, v, "faint", **thin_)
    ox, oy = 9.5, 22.5
    c.line(3, oy, 29, oy, "axis", **({"w": 0.5} if hi else {"px": 1}))
    c.line(ox, 3, ox, 29, "axis", **({"w": 0.5} if hi else {"px": 1}))
    cx, cy, r = 22.5, 10.5, 5.5
    c.circle(cx, cy, r, "pt", w=1.6 if not hi else 1.1)
    k = 0.45
    f = lambda x: oy - k * (x - ox) ** 2
    xs = math.sqrt((oy - 3.5) / k)
    c.curve(fn_points(f, ox - xs, ox + xs, 48), "strong", w=2.2 if not hi else 1.4)
    c.circle(cx, cy, 1.4 if hi else 1.6, None, fill="ink")
    c.circle(ox, oy, 1.8 if hi else 2, None, fill="pt")


# ---------------------------------------------------------------- locus mark

def locus_mark(selected):
    """The mark a locus stands at on the field, 18 x 20 pixels, its foot at the
    bottom-left corner (the traced position). Drawn over the figure with AND,
    so white is transparent: a pin on a trail of shrinking dots."""
    ink = PALETTE["red"] if selected else PALETTE["greenDark"]
    head = PALETTE["pink"] if selected else "#7fd07f"
    items = [
        '<path d="M1.5 18.5 L1.5 7.5" stroke="%s" stroke-width="1.6" fill="none"/>' % ink,
        '<path d="M1.5 1.5 L13 4.5 L1.5 8" stroke="%s" stroke-width="1.2" fill="%s" stroke-linejoin="round"/>'
        % (ink, head),
    ]
    for i, (x, y, r) in enumerate(((6, 17, 1.9), (10.5, 14.5, 1.6), (14.2, 11.2, 1.3), (16.6, 7.6, 1.0))):
        items.append('<circle cx="%s" cy="%s" r="%s" fill="%s"/>' % (fmt(x), fmt(y), fmt(r), ink))
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="18" height="20" viewBox="0 0 18 20">\n'
            + "".join("  " + i + "\n" for i in items) + "</svg>\n")


# ---------------------------------------------------------------- files

def render(draw, size, disabled=False, grid=16):
    c = Canvas(size, grid, disabled)
    draw(c)
    return c.svg()


def all_icons():
    """(file name, SVG text) for every icon, in the order icons.txt lists them."""
    files = []
    for name, draw in TOOLS:
        files.append((name + "16.svg", render(draw, 16)))
        files.append((name + "32.svg", render(draw, 32)))
        files.append((name + "32disabled.svg", render(draw, 32, disabled=True)))
    for name, draw in COMMANDS:
        files.append((name + "16.svg", render(draw, 16)))
    files.append(("shapeTracer.svg", locus_mark(False)))
    files.append(("shapeTracerSelected.svg", locus_mark(True)))
    files.append(("zarno_icon32.svg", render(program_icon, 32, grid=32)))
    files.append(("zarno.svg", render(program_icon, 256, grid=32)))
    return files


def check_file(name, text):
    """Every file must be well-formed XML; a disabled picture may hold greys only."""
    ElementTree.fromstring(text)
    if name.endswith("disabled.svg"):
        for c in re.findall(r"#[0-9a-fA-F]{6}\b", text):
            r, g, b = hex_rgb(c)
            if not r == g == b:
                raise SystemExit("%s: colour %s in a disabled picture" % (name, c))


def main(argv):
    check = "--check" in argv[1:]
    files = all_icons()
    listing = "".join(n + "\n" for n, _ in files)
    wanted = dict(files)
    wanted["icons.txt"] = listing
    for n, text in files:
        check_file(n, text)
    if check:
        bad = []
        for n, text in sorted(wanted.items()):
            p = os.path.join(OUT_DIR, n)
            if not os.path.exists(p) or open(p, encoding="utf-8").read() != text:
                bad.append(n)
        extra = sorted(f for f in os.listdir(OUT_DIR) if f.endswith(".svg") and f not in wanted) \
            if os.path.isdir(OUT_DIR) else []
        for n in bad:
            print("differs: " + n)
        for n in extra:
            print("not generated: " + n)
        return 1 if bad or extra else 0
    os.makedirs(OUT_DIR, exist_ok=True)
    for f in os.listdir(OUT_DIR):
        if f.endswith(".svg") and f not in wanted:
            os.remove(os.path.join(OUT_DIR, f))
    for n, text in wanted.items():
        with open(os.path.join(OUT_DIR, n), "w", encoding="utf-8", newline="\n") as fh:
            fh.write(text)
    print("%d icons written to %s" % (len(files), os.path.relpath(OUT_DIR)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
