#!/usr/bin/env python3
"""Draws every picture and icon Kavel's windows load from the program folder.

Tool: the Python Imaging Library (Pillow) from Debian, run with Debian's own Python:

    apt-get update && apt-get install -y python3-pil fonts-dejavu-core
    /usr/bin/python3 tools/pictures/make_pictures.py [output-folder]

The output folder defaults to the repository's data/ (the build copies it next to the
executable). Everything is drawn here from geometric shapes and seeded noise, so every run
writes the same files. The results are committed; the build does not run this script.

Files and sizes:
    green-on.gif green-off.gif red-on.gif red-off.gif yellow-on.gif   48x48, transparent
    tirante_on.jpg tirante_off.jpg (Pedal), tirante_on_go.jpg tirante_off_go.jpg (Great),
    tirante_on_sw.jpg tirante_off_sw.jpg (Swell)                       120x120 drawknobs
    tavola.jpg                                                         2000x1400 board
    stucco.gif                                                         222x76 name plate

The console scales with its window, up to a maximised one on a large screen: the pictures
carry two to three times the pixels they cover at the panel's design size, so they are drawn
smooth at any size. Shapes are described on the design grid (a 60-unit knob, a 16-unit LED)
and rendered DETAIL times finer.
    tastiera.bmp      930x490 the Total Recall keys and their commands (texts in DejaVu)
    about.jpg         150x200 the about box's organ case
    bach.ico panda1.ico wrench.ico light.ico lookout.ico pingu1.ico
    flgitaly.ico Alph1f.ico                                            16, 32 and 48 px
"""

import math
import os
import random
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont, ImageStat

SEED = 1729

KNOB_SIZE = 60          # drawknobs are drawn on a 60-unit grid...
KNOB_DETAIL = 2         # ...at two pixels a unit
LED_SIZE = 16           # LEDs on a 16-unit grid...
LED_DETAIL = 3          # ...at three pixels a unit
BOARD_SIZE = (2000, 1400)
PLATE_SIZE = (222, 76)  # 1100x380 twips at 15 twips a pixel, three times over
ICON_SIZES = (16, 32, 48)


# ---------------------------------------------------------------- small helpers

def clamp8(v):
    if v <= 0:
        return 0
    if v >= 255:
        return 255
    return int(v + 0.5)


def mix(c0, c1, t):
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def smoothstep(e0, e1, x):
    if x <= e0:
        return 0.0
    if x >= e1:
        return 1.0
    t = (x - e0) / (e1 - e0)
    return t * t * (3 - 2 * t)


def ramp(stops, t):
    """Colour at t on a list of (position, colour) stops."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0))
    return stops[-1][1]


def normalize(v):
    n = math.sqrt(sum(c * c for c in v))
    return tuple(c / n for c in v)


# Light from the upper left, in front (image y grows downward, z towards the viewer).
LIGHT = normalize((-0.5, -0.7, 0.9))
HALF = normalize((LIGHT[0], LIGHT[1], LIGHT[2] + 1.0))


def lit(n, ambient, diffuse, spec_amount, spec_power):
    d = max(0.0, n[0] * LIGHT[0] + n[1] * LIGHT[1] + n[2] * LIGHT[2])
    s = max(0.0, n[0] * HALF[0] + n[1] * HALF[1] + n[2] * HALF[2]) ** spec_power
    return ambient + diffuse * d, spec_amount * s


def render(w, h, ss, fn, detail=1):
    """Calls fn(x, y) at ss x ss points per pixel (x, y in units of a w x h grid, each unit
    `detail` pixels) and averages. fn returns (r, g, b) or (r, g, b, a) with 0..255 values, or
    None for nothing."""
    w, h, ss = w * detail, h * detail, ss
    W, H = w * ss, h * ss
    buf = bytearray(W * H * 4)
    i = 0
    for j in range(H):
        y = (j + 0.5) / ss / detail
        for k in range(W):
            c = fn((k + 0.5) / ss / detail, y)
            if c is not None:
                buf[i] = clamp8(c[0])
                buf[i + 1] = clamp8(c[1])
                buf[i + 2] = clamp8(c[2])
                buf[i + 3] = clamp8(c[3]) if len(c) > 3 else 255
            i += 4
    img = Image.frombytes("RGBA", (W, H), bytes(buf))
    return img.resize((w, h), Image.BOX) if ss > 1 else img


def smooth_field(rng, w, h, gw, gh, lo, hi):
    """A smooth random field (list of w*h floats in lo..hi) from a coarse grid."""
    grid = Image.new("L", (gw, gh))
    grid.putdata([rng.randrange(256) for _ in range(gw * gh)])
    big = grid.resize((w, h), Image.BICUBIC)
    return [lo + (hi - lo) * v / 255.0 for v in big.getdata()]


# ---------------------------------------------------------------- file writers

def save_gif(img, path, transparent=True):
    """Writes a real GIF: an adaptive palette of up to 255 colours, plus one transparent
    index for the pixels less than half covered."""
    rgba = img.convert("RGBA")
    w, h = rgba.size
    alpha = list(rgba.getchannel("A").getdata())
    # Semi-covered edge pixels keep their own colour at full strength.
    opaque = Image.new("RGB", (w, h))
    opaque.paste(rgba.convert("RGB"))
    pal_img = opaque.quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    idx = list(pal_img.getdata())
    palette = pal_img.getpalette()[:255 * 3]
    palette += [0] * (255 * 3 - len(palette))
    palette += [128, 128, 128]  # index 255: the transparent one
    if transparent:
        idx = [255 if a < 128 else p for p, a in zip(idx, alpha)]
    out = Image.new("P", (w, h))
    out.putpalette(palette)
    out.putdata(idx)
    if transparent:
        out.save(path, "GIF", transparency=255, optimize=False)
    else:
        out.save(path, "GIF", optimize=False)


def save_jpeg(img, path, quality=90):
    img.convert("RGB").save(path, "JPEG", quality=quality, optimize=False, progressive=False)


def save_ico(images, path):
    """Writes a .ico with one 32-bit BMP image (colour plus AND mask) per size."""
    entries = []
    blobs = []
    for img in images:
        img = img.convert("RGBA")
        w, h = img.size
        px = img.load()
        xor = bytearray()
        for y in range(h - 1, -1, -1):
            for x in range(w):
                r, g, b, a = px[x, y]
                xor += bytes((b, g, r, a))
        row_bytes = ((w + 31) // 32) * 4
        mask = bytearray()
        for y in range(h - 1, -1, -1):
            row = bytearray(row_bytes)
            for x in range(w):
                if px[x, y][3] == 0:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0,
                             len(xor) + len(mask), 0, 0, 0, 0)
        blobs.append(header + bytes(xor) + bytes(mask))
        entries.append((w, h))
    offset = 6 + 16 * len(images)
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    for (w, h), blob in zip(entries, blobs):
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(path, "wb") as f:
        f.write(out)


# ---------------------------------------------------------------- wood

WALNUT = [
    (0.00, (22, 12, 7)),
    (0.30, (50, 28, 16)),
    (0.50, (72, 42, 24)),
    (0.70, (98, 60, 34)),
    (0.88, (124, 80, 47)),
    (1.00, (146, 98, 60)),
]


def draw_board(w, h, seed):
    """A dark walnut panel: horizontal grain (growth rings with dark late-wood lines, fine
    lines, a few wider bands), gently wavy, with short streaks and fine noise."""
    rng = random.Random(seed)
    res = 4                      # profile samples per pixel
    margin = 60
    n = (h + 2 * margin) * res

    def smooth1d(period_px, amp):
        period = period_px * res
        knots = [rng.uniform(-1, 1) for _ in range(n // period + 4)]
        out = []
        for i in range(n):
            t = i / period
            k = int(t)
            f = t - k
            # Catmull-Rom through the knots
            p0, p1, p2, p3 = knots[k], knots[k + 1], knots[k + 2], knots[k + 3]
            v = 0.5 * (2 * p1 + (-p0 + p2) * f + (2 * p0 - 5 * p1 + 4 * p2 - p3) * f * f
                       + (-p0 + 3 * p1 - 3 * p2 + p3) * f * f * f)
            out.append(amp * v)
        return out

    broad = smooth1d(110, 0.10)
    medium = smooth1d(17, 0.045)
    prof = [0.52 + a + b for a, b in zip(broad, medium)]

    # growth rings: wood slowly darkening across the ring, ending in a dark line
    pos = 0.0
    while pos < n:
        ring = rng.uniform(5.0, 14.0) * res
        depth = rng.uniform(0.05, 0.11)
        start = int(pos)
        end = min(n, int(pos + ring))
        for i in range(start, end):
            p = (i - pos) / ring
            prof[i] -= depth * p * p
        line_w = rng.uniform(0.5, 1.3) * res
        line_d = rng.uniform(0.08, 0.20)
        c = pos + ring
        for i in range(max(0, int(c - 3 * line_w)), min(n, int(c + 3 * line_w) + 1)):
            d = (i - c) / line_w
            prof[i] -= line_d * math.exp(-d * d)
        pos += ring
    # fine lines between the rings
    pos = 0.0
    while pos < n:
        pos += rng.uniform(1.5, 5.0) * res
        lw = rng.uniform(0.3, 0.7) * res
        ld = rng.uniform(0.02, 0.07)
        for i in range(max(0, int(pos - 3 * lw)), min(n, int(pos + 3 * lw) + 1)):
            d = (i - pos) / lw
            prof[i] -= ld * math.exp(-d * d)
    # a few wider bands, darker or lighter, with soft edges
    for _ in range(6):
        c = rng.uniform(0, n)
        half = rng.uniform(10, 38) * res
        amp = rng.choice((-1, -1, 1)) * rng.uniform(0.05, 0.10)
        soft = rng.uniform(4, 10) * res
        for i in range(max(0, int(c - half - soft)), min(n, int(c + half + soft) + 1)):
            d = abs(i - c)
            prof[i] += amp * (1.0 - smoothstep(half - soft, half + soft, d))

    # the grain waves gently: large slow bends and small ripples
    warp_big = smooth_field(rng, w, h, 5, 4, -18.0, 18.0)
    warp_small = smooth_field(rng, w, h, 22, 9, -3.5, 3.5)
    ph = rng.uniform(0, 2 * math.pi)
    wave = [5.0 * math.sin(2 * math.pi * x / 430.0 + ph) for x in range(w)]

    # short streaks along the grain (pores), linear along x, constant across a pixel row of t
    cell = 24
    cols = w // cell + 2
    streak_rows = [[rng.uniform(-1, 1) for _ in range(cols)] for _ in range(h + 2 * margin + 2)]
    fine = [rng.gauss(0.0, 1.0) for _ in range(w * h)]

    out = bytearray(w * h)
    i = 0
    for y in range(h):
        for x in range(w):
            t = y + margin + warp_big[i] + warp_small[i] + wave[x]
            if t < 0:
                t = 0.0
            elif t > h + 2 * margin - 1:
                t = h + 2 * margin - 1.0
            v = prof[int(t * res)]
            row = streak_rows[int(t * 1.7) % len(streak_rows)]
            fx = x / cell
            kx = int(fx)
            f = fx - kx
            v += 0.035 * (row[kx] * (1 - f) + row[kx + 1] * f)
            v += 0.012 * fine[i]
            out[i] = clamp8(v * 255)
            i += 1
    gray = Image.frombytes("L", (w, h), bytes(out))
    lut = []
    for ch in range(3):
        for k in range(256):
            lut.append(clamp8(ramp(WALNUT, k / 255.0)[ch]))
    board = Image.merge("RGB", (gray, gray, gray)).point(lut)

    # a soft darkening towards the edges, smooth enough to be stretched
    vig = Image.new("L", (w, h))
    vpx = []
    for y in range(h):
        dy = (y + 0.5) / h * 2 - 1
        for x in range(w):
            dx = (x + 0.5) / w * 2 - 1
            d = max(0.0, math.sqrt(dx * dx * 0.6 + dy * dy * 0.8) - 0.55)
            vpx.append(clamp8(255 * (1.0 - 0.55 * d * d)))
    vig.putdata(vpx)
    board = Image.composite(board, Image.new("RGB", (w, h), (0, 0, 0)), vig)
    return board


# ---------------------------------------------------------------- LEDs

LED_COLOURS = {
    #           hot centre        lit glass        lit edge         unlit centre    unlit edge
    "green": ((235, 255, 215), (80, 240, 55), (20, 150, 25), (70, 92, 74), (24, 36, 28)),
    "red": ((255, 232, 210), (250, 60, 40), (160, 18, 12), (98, 60, 58), (38, 20, 20)),
    "yellow": ((255, 255, 228), (255, 214, 40), (195, 125, 0), (98, 90, 56), (38, 34, 18)),
}


def draw_led(colour, on):
    hot, mid, edge, dark_c, dark_e = LED_COLOURS[colour]
    c = LED_SIZE / 2.0
    r_out = 7.5
    r_glass = 5.5

    def fn(x, y):
        dx, dy = x - c, y - c
        r = math.hypot(dx, dy)
        if r > r_out:
            return None
        if r > r_glass:
            # chrome bezel, a rounded ring
            t = (r - r_glass) / (r_out - r_glass)
            ang = (t - 0.45) * math.pi * 0.85
            s = math.sin(ang)
            nx, ny = (dx / r) * s, (dy / r) * s
            n = (nx, ny, math.cos(ang))
            a, sp = lit(n, 0.25, 0.75, 0.5, 12)
            base = (150, 150, 154)
            col = tuple(v * a + 255 * sp for v in base)
            if on:
                col = mix(col, mid, 0.45 * (1.0 - t))
            if t > 0.82:
                col = mix(col, (30, 30, 32), smoothstep(0.82, 1.0, t))
            if t < 0.12:
                col = mix(col, (20, 20, 20), 1.0 - t / 0.12)
            return col
        q = r / r_glass
        # glass dome
        nz = math.sqrt(max(0.0, 1.0 - 0.55 * q * q))
        n = normalize((dx / r_glass * 0.75, dy / r_glass * 0.75, nz))
        if on:
            col = mix(hot, mid, smoothstep(0.0, 0.55, q)) if q < 0.55 else \
                mix(mid, edge, smoothstep(0.55, 1.0, q))
            shine = 0.55
        else:
            a, _ = lit(n, 0.55, 0.6, 0.0, 1)
            col = tuple(v * a for v in mix(dark_c, dark_e, smoothstep(0.0, 1.0, q)))
            shine = 0.45
        # a small specular spot up and to the left
        hx, hy = x - (c - 2.0), y - (c - 2.2)
        g = math.exp(-(hx * hx + hy * hy) / (2 * 0.75 * 0.75))
        return mix(col, (255, 255, 255), shine * g)

    return render(LED_SIZE, LED_SIZE, 8, fn, LED_DETAIL)


# ---------------------------------------------------------------- drawknobs

IVORY = (234, 218, 180)
KNOB_CENTRE = {"go": (168, 26, 30), "sw": (34, 82, 190), "ped": None}


def knob_face(cx, cy, R, centre, dim, recessed):
    """fn(x, y) for a round ivory knob face with a thin dark rim and an optional centre disc."""

    def fn(x, y):
        dx, dy = (x - cx) / R, (y - cy) / R
        r = math.hypot(dx, dy)
        if r > 1.0:
            return None
        # domed face with a rounded edge
        if r < 0.78:
            nx, ny = dx * 0.35, dy * 0.35
            n = normalize((nx, ny, 1.0))
        else:
            e = (r - 0.78) / 0.22
            ang = math.radians(20 + 55 * e)
            n = (math.sin(ang) * dx / r, math.sin(ang) * dy / r, math.cos(ang))
        a, sp = lit(n, 0.42, 0.62, 0.55, 28)
        base = IVORY
        # a faint bone mottle
        base = tuple(v * (1.0 - 0.025 * math.sin(9 * dx + 4 * dy) * math.sin(7 * dy - 3 * dx))
                     for v in base)
        if centre is not None:
            if r < 0.40:
                base = centre
                sp *= 0.8
            elif r < 0.46:
                base = mix((70, 40, 26), IVORY, smoothstep(0.40, 0.46, r) ** 3)
        col = tuple(v * a + 255 * sp for v in base)
        if r > 0.93:
            col = mix(col, (52, 32, 20), smoothstep(0.93, 0.985, r))
        if recessed:
            # the board's edge shades the upper left of a pushed-in knob
            shade = smoothstep(0.55, 1.0, r) * max(0.0, -(dx + dy) / (r * 1.41 + 1e-9))
            col = tuple(v * (1.0 - 0.45 * shade) for v in col)
        return tuple(v * dim for v in col)

    return fn


def knob_background(board):
    """The knobs sit on a square of the board itself: the calmest square whose colour is
    closest to the board's average, so the pictures blend in wherever they are placed."""
    w, h = board.size
    S = KNOB_SIZE * KNOB_DETAIL
    mean = ImageStat.Stat(board.convert("L")).mean[0]
    best = None
    for y in range(h // 5, 4 * h // 5 - S, 10):
        for x in range(w // 5, 4 * w // 5 - S, 10):
            st = ImageStat.Stat(board.crop((x, y, x + S, y + S)).convert("L"))
            score = abs(st.mean[0] - mean) * 2 + st.stddev[0]
            if best is None or score < best[0]:
                best = (score, x, y)
    _, x, y = best
    return board.crop((x, y, x + S, y + S)).filter(ImageFilter.GaussianBlur(0.6 * KNOB_DETAIL))


def draw_knob_on(bg, centre):
    S = KNOB_SIZE
    D = KNOB_DETAIL
    ss = 4
    img = bg.convert("RGBA")
    cx, cy, R = 30.0, 22.5, 21.0

    # shadow on the board, below and to the right
    k = ss * D
    sh = Image.new("L", (S * k, S * k), 0)
    d = ImageDraw.Draw(sh)
    d.ellipse([(32 - 19) * k, (53.5 - 5) * k, (32 + 19) * k, (53.5 + 5) * k], fill=200)
    d.ellipse([(cx + 3 - R) * k, (cy + 5 - R) * k, (cx + 3 + R) * k, (cy + 5 + R) * k],
              fill=170)
    sh = sh.filter(ImageFilter.GaussianBlur(3.2 * k)).resize((S * D, S * D), Image.BOX)
    img = Image.composite(Image.new("RGBA", (S * D, S * D), (0, 0, 0, 255)), img, sh)

    # the round bushing where the shank leaves the board, seen a little from above
    bx, by, brx, bry = 30.0, 52.5, 12.5, 3.6

    def bushing(x, y):
        dx, dy = (x - bx) / brx, (y - by) / bry
        r = math.hypot(dx, dy)
        if r > 1.0:
            return None
        col = mix((120, 74, 40), (58, 34, 18), smoothstep(-0.6, 0.8, dy))
        if r > 0.8:
            col = mix(col, (30, 18, 10), smoothstep(0.8, 1.0, r))
        return col

    img = Image.alpha_composite(img, render(S, S, ss, bushing, KNOB_DETAIL))

    # the turned wooden shank
    def half_width(y):
        if y < 46.5:
            return 7.0
        if y < 48.5:
            return 7.0 + 1.2 * smoothstep(46.5, 48.5, y)
        return 8.2 + 1.6 * smoothstep(48.5, 52.0, y)

    grooves = (41.5, 44.5, 48.4)

    def shank(x, y):
        if y < cy or y > 52.5:
            return None
        hw = half_width(y)
        u = (x - cx) / hw
        if abs(u) > 1.0:
            return None
        n = (u, -0.15, math.sqrt(max(0.0, 1.0 - u * u)))
        a, sp = lit(normalize(n), 0.30, 0.85, 0.35, 16)
        base = (128, 78, 42)
        # faint turned rings and fibres
        base = tuple(v * (1.0 + 0.05 * math.sin(y * 5.3 + 2.0 * math.sin(x * 0.7))) for v in base)
        col = tuple(v * a + 255 * sp for v in base)
        for g in grooves:
            k = abs(y - g)
            if k < 0.6:
                col = mix(col, (40, 22, 12), 0.75 * (1 - k / 0.6))
        # shadow of the face on the shank
        fy = cy + math.sqrt(max(0.0, R * R - (x - cx) ** 2))
        col = tuple(v * (0.35 + 0.65 * smoothstep(fy, fy + 5.0, y)) for v in col)
        return col

    img = Image.alpha_composite(img, render(S, S, ss, shank, KNOB_DETAIL))
    img = Image.alpha_composite(img, render(S, S, ss, knob_face(cx, cy, R, centre, 1.0, False), KNOB_DETAIL))
    return img.convert("RGB")


def draw_knob_off(bg, centre):
    S = KNOB_SIZE
    ss = 4
    img = bg.convert("RGBA")
    cx, cy, R = 30.0, 30.0, 17.5
    hole = R + 2.2

    # the hole in the board: dark, with a light lip on the lower right edge
    def rim(x, y):
        dx, dy = x - cx, y - cy
        r = math.hypot(dx, dy)
        if r > hole + 1.0:
            return None
        if r > hole:
            lip = max(0.0, (dx + dy) / (r * 1.41))
            return (150, 100, 60, 255 * 0.55 * lip * (1 - (r - hole)))
        return (18, 10, 6)

    img = Image.alpha_composite(img, render(S, S, ss, rim, KNOB_DETAIL))
    img = Image.alpha_composite(img, render(S, S, ss, knob_face(cx, cy, R, centre, 0.62, True), KNOB_DETAIL))
    return img.convert("RGB")


# ---------------------------------------------------------------- name plate

def draw_plate(seed):
    rng = random.Random(seed)
    w, h = PLATE_SIZE
    mottle = smooth_field(rng, w, h, 7, 3, -7.0, 7.0)
    px = []
    i = 0
    for y in range(h):
        for x in range(w):
            v = mottle[i] + rng.gauss(0.0, 2.2)
            px.append((clamp8(240 + v), clamp8(230 + v), clamp8(202 + v * 1.1)))
            i += 1
    img = Image.new("RGB", (w, h))
    img.putdata(px)
    d = ImageDraw.Draw(img)
    # bevel: light on the upper left, shaded on the lower right, inside a thin dark border
    d.line([(1, 1), (w - 2, 1)], fill=(253, 248, 232))
    d.line([(1, 1), (1, h - 2)], fill=(253, 248, 232))
    d.line([(2, 2), (w - 3, 2)], fill=(247, 240, 220))
    d.line([(1, h - 2), (w - 2, h - 2)], fill=(186, 168, 132))
    d.line([(w - 2, 1), (w - 2, h - 2)], fill=(186, 168, 132))
    d.line([(2, h - 3), (w - 3, h - 3)], fill=(214, 200, 168))
    d.line([(w - 3, 2), (w - 3, h - 3)], fill=(214, 200, 168))
    d.rectangle([0, 0, w - 1, h - 1], outline=(98, 72, 44))
    return img


# ---------------------------------------------------------------- Total Recall keyboard

FONT_DIR = "/usr/share/fonts/truetype/dejavu"


def font(name, size):
    """A DejaVu face (Debian fonts-dejavu-core); the same font file draws the same pixels."""
    path = os.path.join(FONT_DIR, name)
    if not os.path.exists(path):
        sys.exit("make_pictures.py: %s is missing; apt-get install -y fonts-dejavu-core" % path)
    return ImageFont.truetype(path, size)


KEYS_FIRST, KEYS_LAST = 36, 95      # the command keys 36..94, and B 95 to end the octave
WHITE_W = 26                        # pixels per white key
BLACK_W = 15
KEYBOARD_TOP = 152
WHITE_H = 180
BLACK_H = 112
LEGEND_SIZE = (930, 490)            # the Totalrec window shows it pixel for pixel

# What each key does with the sustain pedal held.
KEY_COMMANDS = {
    36: "step \u221210", 37: "step \u22121", 38: "row 14", 39: "step +1", 40: "step +10",
    41: "Great Fondi", 42: "Swell Fondi", 43: "Great Mutazioni", 44: "Swell Mutazioni",
    45: "Great Ance", 46: "Swell Ance", 47: "Pedal",
    48: "Great to Swell", 49: "I - P", 50: "Swell to Great", 51: "II - P",
    52: "Clr memories", 53: "REC", 54: "Thru button", 55: "RESET",
    56: "Trem Swell", 57: "Cancel all", 58: "Trem Great", 59: "PANIC",
    84: "Great Mut. mute", 85: "Swell Mut. mute", 86: "Great Ance mute", 87: "Swell Ance mute",
    88: "panic",
    89: "Temperament \u2212", 90: "Temperament +", 91: "Tune start \u2212", 92: "Tune start +",
    93: "Reverb \u2212", 94: "Reverb +", 95: "panic",
}
KEY_COMMANDS.update({60 + i: str(i + 1) for i in range(12)})
KEY_COMMANDS.update({72 + i: str(i + 1) for i in range(12)})

# Keys after which the next key is a command again, without pressing the pedal anew.
KEEPS_ARMED = set(range(36, 48)) | {53} | set(range(84, 88)) | set(range(89, 95))

# The key groups: first key, last key, heading, colour of the heading band.
KEY_ZONES = [
    (36, 40, "STEP", (52, 96, 170)),
    (41, 47, "TARGET GROUP", (40, 120, 176)),
    (48, 59, "CONSOLE", (190, 104, 24)),
    (60, 71, "FREE MEMORIES", (26, 140, 44)),
    (72, 83, "FIXED MEMORIES", (186, 32, 36)),
    (84, 87, "CANCELLERS", (120, 62, 150)),
    (88, 88, "", (120, 120, 120)),
    (89, 94, "ADVANCED", (20, 128, 128)),
    (95, 95, "", (120, 120, 120)),
]


def is_black(key):
    return key % 12 in (1, 3, 6, 8, 10)


def key_span(key, left):
    """The key's left and right edge in pixels; black keys stand over the white keys' joint."""
    whites = sum(1 for k in range(KEYS_FIRST, key) if not is_black(k))
    x = left + whites * WHITE_W
    if is_black(key):
        return x - BLACK_W / 2.0, x + BLACK_W / 2.0
    return float(x), float(x + WHITE_W)


def text_size(fnt, text):
    l, t, r, b = fnt.getbbox(text)
    return r - l, b - t


def paste_text(img, xy, text, fnt, colour, rotate=False):
    """Text drawn into a mask of its own (turned a quarter left when asked: it then reads from
    bottom to top) and pasted with its top left corner at xy."""
    ascent, descent = fnt.getmetrics()
    l, _, r, _ = fnt.getbbox(text)
    mask = Image.new("L", (r - l + 2, ascent + descent))
    ImageDraw.Draw(mask).text((1 - l, 0), text, font=fnt, fill=255)
    if rotate:
        mask = mask.transpose(Image.Transpose.ROTATE_90)
    img.paste(Image.new("RGB", mask.size, colour), (int(round(xy[0])), int(round(xy[1]))), mask)
    return mask.size


def fitting_font(name, text, width, largest, smallest=8):
    for size in range(largest, smallest - 1, -1):
        fnt = font(name, size)
        if text_size(fnt, text)[0] <= width:
            return fnt
    return font(name, smallest)


def draw_keyboard_legend():
    """The MIDI keyboard from C 36 to B 95 with every Total Recall command written beside its
    key: black keys' commands above the keyboard, white keys' below it, memory numbers on the
    keys' own columns, each group under a coloured heading."""
    w, h = LEGEND_SIZE
    img = Image.new("RGB", (w, h), (250, 248, 242))
    d = ImageDraw.Draw(img)
    whites = sum(1 for k in range(KEYS_FIRST, KEYS_LAST + 1) if not is_black(k))
    left = (w - whites * WHITE_W) // 2
    top = KEYBOARD_TOP
    bottom = top + WHITE_H
    label_font = font("DejaVuSansCondensed-Bold.ttf", 12)
    number_font = font("DejaVuSans-Bold.ttf", 14)
    small = font("DejaVuSansCondensed.ttf", 9)

    def zone_of(key):
        for z in KEY_ZONES:
            if z[0] <= key <= z[1]:
                return z
        return None

    def tint(colour, t):
        return tuple(clamp8(v) for v in mix((250, 248, 242), colour, t))

    # heading bands, each over its keys, clipped where a black key shares a joint
    band_top, band_bottom = 4, 34
    previous_right = 0.0
    for first, last, title, colour in KEY_ZONES:
        x0 = max(key_span(first, left)[0], previous_right)
        x1 = key_span(last, left)[1]
        previous_right = x1
        d.rectangle([x0 + 1, band_top, x1 - 2, band_bottom], fill=tint(colour, 0.18))
        d.rectangle([x0 + 1, band_bottom - 4, x1 - 2, band_bottom], fill=colour)
        if title:
            fnt = fitting_font("DejaVuSansCondensed-Bold.ttf", title, x1 - x0 - 6, 13)
            tw, _ = text_size(fnt, title)
            d.text(((x0 + x1) / 2.0 - tw / 2.0, band_top + 4), title, font=fnt,
                   fill=tuple(clamp8(v * 0.75) for v in colour))

    # label columns: tinted strips joining each command to its key
    for key in range(KEYS_FIRST, KEYS_LAST + 1):
        x0, x1 = key_span(key, left)
        colour = zone_of(key)[3]
        if is_black(key):
            d.rectangle([x0 - 2, band_bottom + 4, x1 + 1, top - 3], fill=tint(colour, 0.12))
        else:
            d.rectangle([x0 + 2, bottom + 3, x1 - 3, h - 30], fill=tint(colour, 0.12))

    # the keys: white ones first, the black ones over them
    for key in range(KEYS_FIRST, KEYS_LAST + 1):
        if is_black(key):
            continue
        x0, x1 = key_span(key, left)
        d.rectangle([x0, top, x1 - 1, bottom], fill=(252, 252, 250), outline=(60, 56, 52))
        d.rectangle([x0 + 1, bottom - 4, x1 - 2, bottom - 1], fill=(214, 210, 202))
        d.rectangle([x0 + 1, top + 1, x1 - 2, top + 4], fill=zone_of(key)[3])
        name = str(key)
        tw, _ = text_size(small, name)
        d.text(((x0 + x1) / 2.0 - tw / 2.0, bottom - 18), name, font=small, fill=(70, 66, 60))
    for key in range(KEYS_FIRST, KEYS_LAST + 1):
        if not is_black(key):
            continue
        x0, x1 = key_span(key, left)
        d.rectangle([x0, top, x1 - 1, top + BLACK_H], fill=(22, 22, 24), outline=(0, 0, 0))
        d.rectangle([x0 + 2, top + BLACK_H - 8, x1 - 3, top + BLACK_H - 3], fill=(70, 70, 74))
        d.rectangle([x0 + 1, top, x1 - 2, top + 3], fill=zone_of(key)[3])
        name = str(key)
        tw, _ = text_size(small, name)
        d.text(((x0 + x1) / 2.0 - tw / 2.0, top + BLACK_H - 22), name, font=small,
               fill=(230, 230, 230))

    # the commands: memory numbers upright, words turned to run along the column
    for key in range(KEYS_FIRST, KEYS_LAST + 1):
        x0, x1 = key_span(key, left)
        cx = (x0 + x1) / 2.0
        text = KEY_COMMANDS[key]
        ink = tuple(clamp8(v * 0.6) for v in zone_of(key)[3])
        marker = key in KEEPS_ARMED
        if is_black(key):
            near = top - 8          # the column's end next to the key
            if marker:
                d.ellipse([cx - 3, near - 6, cx + 3, near], fill=ink)
                near -= 10
            if text.isdigit():
                tw, _ = text_size(number_font, text)
                d.text((cx - tw / 2.0, near - 22), text, font=number_font, fill=ink)
            else:
                ascent, descent = label_font.getmetrics()
                tw, _ = text_size(label_font, text)
                paste_text(img, (cx - (ascent + descent) / 2.0, near - tw - 2), text,
                           label_font, ink, rotate=True)
        else:
            near = bottom + 8
            if marker:
                d.ellipse([cx - 3, near, cx + 3, near + 6], fill=ink)
                near += 10
            if text.isdigit():
                tw, _ = text_size(number_font, text)
                d.text((cx - tw / 2.0, near), text, font=number_font, fill=ink)
            else:
                ascent, descent = label_font.getmetrics()
                paste_text(img, (cx - (ascent + descent) / 2.0, near), text, label_font, ink,
                           rotate=True)

    # the legend under it all
    legend = font("DejaVuSans.ttf", 12)
    y = h - 24
    x = left
    d.ellipse([x, y + 4, x + 6, y + 10], fill=(60, 60, 60))
    x += 12
    for part, bold in (("keeps the pedal's command mode: ", True),
                       ("the next key is a command again.   ", False),
                       ("Memory keys ", True),
                       ("recall, or store after REC.   ", False),
                       ("Any other key: ", True), ("panic.", False)):
        fnt = font("DejaVuSans-Bold.ttf", 12) if bold else legend
        d.text((x, y), part, font=fnt, fill=(40, 40, 40))
        x += text_size(fnt, part)[0] + (4 if part.endswith(" ") else 0)
    return img


# ---------------------------------------------------------------- about picture

ABOUT_SIZE = (150, 200)


def draw_about(board):
    """An organ case of walnut with three flats of silver pipes, the middle one tallest, over
    a console of two manuals."""
    w, h = ABOUT_SIZE
    ss = 4
    W, H = w * ss, h * ss
    case = board.crop((600, 300, 600 + 450, 300 + 600)).resize((W, H), Image.BICUBIC)
    img = case.convert("RGBA")
    d = ImageDraw.Draw(img)

    def box(x0, y0, x1, y1):
        return [x0 * ss, y0 * ss, x1 * ss - 1, y1 * ss - 1]

    # the dark opening behind the pipes
    d.rectangle(box(10, 24, 140, 132), fill=(24, 14, 8))
    # cornice and impost
    d.rectangle(box(4, 14, 146, 24), fill=(112, 70, 38))
    d.rectangle(box(4, 14, 146, 16), fill=(160, 110, 66))
    d.rectangle(box(6, 124, 144, 132), fill=(98, 60, 32))

    def pipe(x0, width, top, foot):
        """One pipe: body with a silver shine, a conical foot and a mouth."""
        x1 = x0 + width
        mouth = foot - 7
        for i in range(int(x0 * ss), int(x1 * ss)):
            t = (i / ss - x0) / width
            c = ramp([(0.0, (110, 114, 122)), (0.3, (248, 248, 250)), (0.55, (204, 208, 214)),
                      (1.0, (96, 100, 108))], t)
            d.line([(i, top * ss), (i, mouth * ss)], fill=tuple(clamp8(v) for v in c))
        d.polygon([(x0 * ss, mouth * ss), (x1 * ss, mouth * ss),
                   ((x0 + width * 0.62) * ss, foot * ss), ((x0 + width * 0.38) * ss, foot * ss)],
                  fill=(172, 176, 184))
        d.rectangle(box(x0 + width * 0.22, mouth - 4, x1 - width * 0.22, mouth - 1.5),
                    fill=(44, 46, 52))
        d.polygon([((x0 + width * 0.22) * ss, (mouth - 4) * ss),
                   ((x1 - width * 0.22) * ss, (mouth - 4) * ss),
                   ((x0 + width / 2) * ss, (mouth - 7) * ss)], fill=(128, 132, 140))

    # side flats falling outwards, the middle tower rising to its centre
    for k in range(5):
        pipe(13 + 7.5 * k, 6, 60 + 6 * k, 124)
        pipe(100 + 7.5 * k, 6, 84 - 6 * k, 124)
    for k in range(5):
        top = 30 + 6 * abs(k - 2)
        pipe(52 + 9.5 * k, 8, top, 124)

    # the console: stop jambs, two manuals and a music desk
    d.rectangle(box(18, 140, 132, 196), fill=(60, 36, 20))
    d.rectangle(box(22, 144, 128, 152), fill=(92, 56, 30))
    for row, y in enumerate((160, 174)):
        d.rectangle(box(28, y, 122, y + 10), fill=(246, 244, 236))
        for i in range(1, 16):
            x = 28 + i * (94 / 16.0)
            d.line([(x * ss, y * ss), (x * ss, (y + 10) * ss - 1)], fill=(150, 146, 138),
                   width=2)
        for i in range(16):
            if i % 7 in (0, 1, 3, 4, 5):
                x = 28 + (i + 0.68) * (94 / 16.0)
                d.rectangle(box(x, y, x + 3.4, y + 6), fill=(20, 20, 22))
        d.rectangle(box(26, y + 10, 124, y + 12), fill=(40, 24, 14))
    for side in (20, 124):
        for k in range(4):
            d.ellipse(box(side + 0.5, 146 + 10 * k, side + 6.5, 152 + 10 * k),
                      fill=(234, 218, 180), outline=(80, 50, 28))
    return img.resize((w, h), Image.BOX).convert("RGB")


# ---------------------------------------------------------------- icons

class Icon:
    """An icon drawn on a 16-unit grid at 8x supersampling, so that shapes on whole units
    land on whole pixels at 16, 32 and 48 px."""

    SS = 8

    def __init__(self, size):
        self.size = size
        self.u = size * self.SS / 16.0
        self.W = size * self.SS
        self.img = Image.new("RGBA", (self.W, self.W), (0, 0, 0, 0))

    def _mask(self):
        m = Image.new("L", (self.W, self.W), 0)
        return m, ImageDraw.Draw(m)

    def _fill(self, mask, paint):
        if callable(paint):
            layer = paint(self)
        else:
            if len(paint) == 3:
                paint = paint + (255,)
            layer = Image.new("RGBA", (self.W, self.W), paint)
        if layer.mode != "RGBA":
            layer = layer.convert("RGBA")
        a = layer.getchannel("A")
        layer.putalpha(ImageChops.multiply(a, mask))
        self.img = Image.alpha_composite(self.img, layer)

    def box(self, x0, y0, x1, y1):
        u = self.u
        return [x0 * u, y0 * u, x1 * u - 1, y1 * u - 1]

    def rect(self, x0, y0, x1, y1, paint, radius=0.0):
        m, d = self._mask()
        if radius > 0:
            d.rounded_rectangle(self.box(x0, y0, x1, y1), radius=radius * self.u, fill=255)
        else:
            d.rectangle(self.box(x0, y0, x1, y1), fill=255)
        self._fill(m, paint)

    def ellipse(self, x0, y0, x1, y1, paint):
        m, d = self._mask()
        d.ellipse(self.box(x0, y0, x1, y1), fill=255)
        self._fill(m, paint)

    def circle(self, cx, cy, r, paint):
        self.ellipse(cx - r, cy - r, cx + r, cy + r, paint)

    def polygon(self, pts, paint):
        m, d = self._mask()
        d.polygon([(x * self.u, y * self.u) for x, y in pts], fill=255)
        self._fill(m, paint)

    def line(self, pts, width, paint):
        m, d = self._mask()
        d.line([(x * self.u, y * self.u) for x, y in pts], fill=255, width=int(width * self.u))
        r = width * self.u / 2
        for x, y in (pts[0], pts[-1]):
            d.ellipse([x * self.u - r, y * self.u - r, x * self.u + r, y * self.u + r], fill=255)
        self._fill(m, paint)

    def done(self):
        return self.img.resize((self.size, self.size), Image.BOX)


def vgrad(stops, y0=0.0, y1=16.0):
    """A paint: colour stops from unit y0 to unit y1, top to bottom."""
    def paint(icon):
        W = icon.W
        col = []
        for j in range(W):
            t = ((j + 0.5) / icon.u - y0) / (y1 - y0)
            c = ramp(stops, t)
            col.append(tuple(clamp8(v) for v in c) + ((255,) if len(c) == 3 else ()))
        strip = Image.new("RGBA", (1, W))
        strip.putdata(col)
        return strip.resize((W, W), Image.NEAREST)
    return paint


def hgrad(stops, x0=0.0, x1=16.0):
    """A paint: colour stops from unit x0 to unit x1, left to right."""
    def paint(icon):
        W = icon.W
        row = []
        for i in range(W):
            t = ((i + 0.5) / icon.u - x0) / (x1 - x0)
            c = ramp(stops, t)
            row.append(tuple(clamp8(v) for v in c) + ((255,) if len(c) == 3 else ()))
        strip = Image.new("RGBA", (W, 1))
        strip.putdata(row)
        return strip.resize((W, W), Image.NEAREST)
    return paint


def rgrad(stops, cx, cy, r):
    """A paint: colour stops from the centre (cx, cy) out to radius r, in units."""
    def paint(icon):
        W = icon.W
        n = 96
        small = Image.new("RGBA", (n, n))
        px = []
        for j in range(n):
            for i in range(n):
                x = (i + 0.5) / n * 16
                y = (j + 0.5) / n * 16
                c = ramp(stops, math.hypot(x - cx, y - cy) / r)
                px.append(tuple(clamp8(v) for v in c) + ((255,) if len(c) == 3 else ()))
        small.putdata(px)
        return small.resize((W, W), Image.BILINEAR)
    return paint


def silver(x0, x1):
    return hgrad([(0.0, (120, 124, 132)), (0.28, (246, 248, 250)), (0.55, (200, 204, 210)),
                  (1.0, (104, 108, 116))], x0, x1)


def icon_bach(size):
    """An organ façade: a flat of silver pipes, tallest in the middle, in a dark case."""
    ic = Icon(size)
    ic.rect(0, 0, 16, 16, (118, 74, 42), radius=1.5)
    ic.rect(1, 1, 15, 15, vgrad([(0, (44, 25, 14)), (1, (70, 42, 24))]), radius=0.5)
    # impost the pipes stand on
    ic.rect(1, 12, 15, 15, vgrad([(0, (150, 98, 56)), (0.2, (112, 70, 38)),
                                  (1, (84, 50, 28))], 12, 15))
    tops = (5, 3, 1, 3, 5)
    for k, top in enumerate(tops):
        x0 = 1 + 3 * k
        x1 = x0 + 2
        # body down to the mouth, then the foot narrowing to the impost
        ic.rect(x0, top, x1, 10, silver(x0, x1))
        ic.polygon([(x0, 10), (x1, 10), (x0 + 1.5, 12), (x0 + 0.5, 12)], silver(x0, x1))
        # mouth: a dark slot with the upper lip above it
        ic.polygon([(x0 + 0.45, 9.0), (x1 - 0.45, 9.0), (x1 - 0.45, 9.9), (x0 + 0.45, 9.9)],
                   (52, 54, 60))
        ic.polygon([(x0 + 0.45, 9.0), (x1 - 0.45, 9.0), (x0 + 1, 8.2)], (84, 88, 96))
    return ic.done()


def icon_panda(size):
    """Three faders on a dark panel."""
    ic = Icon(size)
    ic.rect(0, 0, 16, 16, (138, 144, 156), radius=2)
    ic.rect(1, 1, 15, 15, vgrad([(0, (78, 84, 96)), (1, (46, 50, 58))]), radius=1.5)
    caps = (9, 3, 6)
    for k, top in enumerate(caps):
        x0 = 1 + 5 * k
        ic.rect(x0 + 1.5, 2, x0 + 2.5, 14, (10, 10, 12))
        ic.rect(x0, top, x0 + 4, top + 3,
                vgrad([(0, (250, 251, 252)), (0.5, (206, 210, 216)), (1, (150, 154, 162))],
                      top, top + 3))
        ic.rect(x0, top + 1, x0 + 4, top + 2, (236, 98, 36))
    return ic.done()


def icon_wrench(size):
    """A round five-pin plug: chrome shell, dark face, pins on a half circle, a key notch."""
    ic = Icon(size)
    ic.circle(8, 8, 8, (40, 40, 44))
    ic.circle(8, 8, 7.2, rgrad([(0, (250, 250, 252)), (0.6, (190, 194, 200)),
                                (1, (110, 114, 122))], 6, 6, 10))
    ic.circle(8, 8, 6.0, (26, 26, 30))
    ic.rect(7, 1, 9, 3.6, (26, 26, 30))
    pin = rgrad([(0, (255, 240, 180)), (1, (200, 150, 50))], 7, 7, 8)
    # on the pixel grid at 16 px: five pins on the lower half circle
    for px, py in ((4, 8), (5, 11), (8, 12), (11, 11), (12, 8)):
        ic.circle(px, py, 1.1, pin)
    return ic.done()


def icon_light(size):
    """A lit bulb: yellow glass, a neck, a screw base."""
    ic = Icon(size)
    glass = rgrad([(0, (255, 255, 236)), (0.45, (255, 238, 120)), (1, (240, 186, 30))],
                  6.5, 4.8, 7)
    outline = (130, 92, 10)
    ic.circle(8, 6.5, 6.2, outline)
    ic.polygon([(3.4, 8.6), (12.6, 8.6), (10.6, 12.2), (5.4, 12.2)], outline)
    ic.circle(8, 6.5, 5.2, glass)
    ic.polygon([(4.4, 8.4), (11.6, 8.4), (9.9, 11.4), (6.1, 11.4)], glass)
    # filament
    ic.line([(6.8, 9.5), (6.8, 7.2), (9.2, 7.2), (9.2, 9.5)], 0.45, (190, 110, 20))
    # screw base
    base = hgrad([(0, (110, 112, 118)), (0.35, (236, 238, 240)), (1, (96, 98, 104))], 5, 11)
    ic.rect(5, 12, 11, 15, base)
    ic.rect(5, 13, 11, 14, (84, 86, 92))
    ic.rect(6.5, 15, 9.5, 16, (50, 50, 54))
    return ic.done()


def icon_lookout(size):
    """A magnifier over a table."""
    ic = Icon(size)
    ic.rect(0, 0, 14, 14, (92, 98, 110))
    ic.rect(1, 1, 13, 13, (252, 252, 250))
    ic.rect(1, 1, 13, 4, vgrad([(0, (96, 140, 210)), (1, (52, 92, 168))], 1, 4))
    for y in (6, 9):
        ic.rect(1, y, 13, y + 1, (184, 190, 200))
    for x in (5, 9):
        ic.rect(x, 4, x + 1, 13, (184, 190, 200))
    # the magnifier
    ic.line([(12.2, 12.2), (15.0, 15.0)], 2.2, (40, 30, 24))
    ic.circle(9.5, 9.5, 4.6, (36, 38, 44))
    ic.circle(9.5, 9.5, 3.4, (190, 222, 250, 170))
    ic.ellipse(7.2, 7.0, 9.4, 8.6, (255, 255, 255, 200))
    return ic.done()


def icon_pingu(size):
    """A small keyboard: four white keys, two black ones, in a wooden cheek."""
    ic = Icon(size)
    ic.rect(0, 2, 16, 15, (36, 22, 14), radius=1)
    ic.rect(0, 2, 16, 4, vgrad([(0, (150, 96, 54)), (1, (98, 60, 32))], 2, 4), radius=1)
    white = vgrad([(0, (246, 244, 238)), (1, (206, 202, 192))], 4, 14)
    for k in range(4):
        x0 = 4 * k
        ic.rect(x0, 4, x0 + 3, 14, white)
    for x0 in (2, 6):
        ic.rect(x0, 4, x0 + 3, 10, vgrad([(0, (14, 14, 16)), (0.8, (54, 54, 60)),
                                           (1, (90, 90, 96))], 4, 10))
    return ic.done()


def icon_flag(size):
    """The Italian tricolour: green, white, red vertical bands."""
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    fh = {16: 11, 32: 22, 48: 32}[size]
    y0 = (size - fh) // 2
    third = round(size / 3)
    bands = [(0, third, (0, 146, 70), (0, 92, 44)),
             (third, size - third, (246, 246, 244), (150, 150, 150)),
             (size - third, size, (206, 43, 55), (128, 22, 30))]
    for x0, x1, col, edge in bands:
        d.rectangle([x0, y0, x1 - 1, y0 + fh - 1], fill=col)
        d.line([(x0, y0), (x1 - 1, y0)], fill=edge)
        d.line([(x0, y0 + fh - 1), (x1 - 1, y0 + fh - 1)], fill=edge)
    d.line([(0, y0), (0, y0 + fh - 1)], fill=bands[0][3])
    d.line([(size - 1, y0), (size - 1, y0 + fh - 1)], fill=bands[2][3])
    # a gentle light across the cloth
    px = img.load()
    for y in range(y0 + 1, y0 + fh - 1):
        for x in range(1, size - 1):
            r, g, b, a = px[x, y]
            k = 1.0 + 0.06 * math.sin((x / size) * 2 * math.pi * 1.2 + 0.6) - \
                0.05 * (y - y0) / fh
            px[x, y] = (clamp8(r * k), clamp8(g * k), clamp8(b * k), a)
    return img


def icon_alpha(size):
    """A capital A on a paper tile."""
    ic = Icon(size)
    paper = (250, 246, 232)
    ic.rect(0, 0, 16, 16, (120, 108, 86), radius=1.5)
    ic.rect(1, 1, 15, 15, vgrad([(0, (255, 253, 244)), (1, (236, 228, 206))], 1, 15), radius=0.8)
    ink = (28, 38, 92)
    top, bot = 2.0, 14.0
    ic.polygon([(7.0, top), (9.0, top), (13.8, bot), (2.2, bot)], ink)
    slope = (7.0 - 2.2) / (bot - top)
    leg = 2.7                       # horizontal thickness of a leg

    def inner_left(y):
        return 2.2 + leg + slope * (bot - y)

    bar0, bar1 = 9.0, 11.0
    apex_y = bot - (8.0 - 2.2 - leg) / slope
    ic.polygon([(8.0, apex_y), (16 - inner_left(bar0), bar0), (inner_left(bar0), bar0)], paper)
    ic.polygon([(inner_left(bar1), bar1), (16 - inner_left(bar1), bar1),
                (16 - inner_left(bot), bot), (inner_left(bot), bot)], paper)
    # small foot serifs
    ic.rect(1.6, bot - 1, 5.6, bot, ink)
    ic.rect(10.4, bot - 1, 14.4, bot, ink)
    return ic.done()


ICONS = {
    "bach.ico": icon_bach,
    "panda1.ico": icon_panda,
    "wrench.ico": icon_wrench,
    "light.ico": icon_light,
    "lookout.ico": icon_lookout,
    "pingu1.ico": icon_pingu,
    "flgitaly.ico": icon_flag,
    "Alph1f.ico": icon_alpha,
}


# ---------------------------------------------------------------- main

def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    out = argv[1] if len(argv) > 1 else os.path.join(here, "..", "..", "data")
    out = os.path.abspath(out)
    os.makedirs(out, exist_ok=True)
    random.seed(SEED)

    def path(name):
        return os.path.join(out, name)

    written = []

    for colour, states in (("green", (True, False)), ("red", (True, False)), ("yellow", (True,))):
        for on in states:
            name = "%s-%s.gif" % (colour, "on" if on else "off")
            save_gif(draw_led(colour, on), path(name))
            written.append(name)

    board = draw_board(BOARD_SIZE[0], BOARD_SIZE[1], SEED)
    save_jpeg(board, path("tavola.jpg"), quality=85)
    written.append("tavola.jpg")

    bg = knob_background(board)
    for suffix, key in (("", "ped"), ("_go", "go"), ("_sw", "sw")):
        save_jpeg(draw_knob_on(bg, KNOB_CENTRE[key]), path("tirante_on%s.jpg" % suffix), 92)
        save_jpeg(draw_knob_off(bg, KNOB_CENTRE[key]), path("tirante_off%s.jpg" % suffix), 92)
        written += ["tirante_on%s.jpg" % suffix, "tirante_off%s.jpg" % suffix]

    save_gif(draw_plate(SEED + 1), path("stucco.gif"), transparent=False)
    written.append("stucco.gif")

    # 256 colours hold its flat fills and smoothed letters: a third of the 24-bit file
    legend = draw_keyboard_legend().quantize(colors=256, method=Image.Quantize.MEDIANCUT,
                                             dither=Image.Dither.NONE)
    legend.save(path("tastiera.bmp"), "BMP")
    written.append("tastiera.bmp")
    save_jpeg(draw_about(board), path("about.jpg"), quality=92)
    written.append("about.jpg")

    for name, fn in ICONS.items():
        save_ico([fn(s) for s in ICON_SIZES], path(name))
        written.append(name)

    for name in written:
        print(os.path.join(out, name))


if __name__ == "__main__":
    main(sys.argv)
