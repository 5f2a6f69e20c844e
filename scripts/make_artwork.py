#!/usr/bin/python3
"""Draws every picture of the desktop application into resources/ and writes
resources/transcoda.qrc.

All artwork is drawn here from plain shapes and the DejaVu fonts (Debian package
fonts-dejavu-core); nothing is taken from elsewhere. The outputs are committed, so the
build never runs this script. To redraw after a change:

    /usr/bin/python3 scripts/make_artwork.py        (needs python3-pil)

Pictures are drawn at four times their size and scaled down, which smooths the edges.
The images of the picture buttons are also written at twice their size ("@2x"), for
screens that scale by two.
"""

import math
import os
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "resources")
FONT_DIR = "/usr/share/fonts/truetype/dejavu"
SS = 4  # supersampling factor

# Image-list indexes used by the window: 0 normal, 1 pressed, 2 hovered.
NORMAL, PRESSED, HOVER = 0, 1, 2


def font(size, bold=True):
    name = "DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size)


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(len(a)))


def shade(c, f):
    """f > 0 lightens towards white, f < 0 darkens towards black."""
    if f >= 0:
        return lerp(c, (255, 255, 255)[: len(c)] if len(c) == 3 else (255, 255, 255, c[3]), f)
    return lerp(c, (0, 0, 0)[: len(c)] if len(c) == 3 else (0, 0, 0, c[3]), -f)


def vertical_gradient(w, h, top, bottom, mode="RGB"):
    img = Image.new(mode, (w, h))
    d = ImageDraw.Draw(img)
    for y in range(h):
        d.line([(0, y), (w, y)], fill=lerp(top, bottom, y / max(1, h - 1)))
    return img


def rounded_mask(w, h, box, radius):
    m = Image.new("L", (w, h), 0)
    ImageDraw.Draw(m).rounded_rectangle(box, radius=radius, fill=255)
    return m


def paste_gradient(canvas, box, radius, top, bottom):
    """A rounded rectangle filled with a vertical gradient, composited onto canvas."""
    w, h = canvas.size
    x0, y0, x1, y1 = [int(v) for v in box]
    grad = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    g = vertical_gradient(x1 - x0, y1 - y0, top, bottom, "RGBA")
    grad.paste(g, (x0, y0))
    mask = rounded_mask(w, h, box, radius)
    canvas.paste(Image.alpha_composite(canvas, grad), (0, 0), mask)


def text_center(d, cx, cy, text, fnt, fill, stroke=0, stroke_fill=None):
    bb = d.textbbox((0, 0), text, font=fnt, stroke_width=stroke)
    tw, th = bb[2] - bb[0], bb[3] - bb[1]
    d.text((cx - tw / 2 - bb[0], cy - th / 2 - bb[1]), text, font=fnt, fill=fill,
           stroke_width=stroke, stroke_fill=stroke_fill)


def fit_font(d, text, max_w, max_h, start, bold=True):
    size = start
    while size > 6:
        f = font(size, bold)
        bb = d.textbbox((0, 0), text, font=f)
        if bb[2] - bb[0] <= max_w and bb[3] - bb[1] <= max_h:
            return f
        size -= 1
    return font(6, bold)


def finish(img, size):
    return img.resize(size, Image.LANCZOS)


def save(img, rel, **kw):
    path = os.path.join(OUT, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    img.save(path, **kw)
    return rel


# ----------------------------------------------------------------------------
# Pictograms. Each draws into d on a square of side s whose top-left is (ox, oy).
# ----------------------------------------------------------------------------

WHITE = (255, 255, 255, 255)


def arrow(d, cx, top, bottom, half_w, head, fill, up=True):
    shaft = half_w * 0.45
    if up:
        d.polygon([(cx, top), (cx + half_w, top + head), (cx + shaft, top + head),
                   (cx + shaft, bottom), (cx - shaft, bottom), (cx - shaft, top + head),
                   (cx - half_w, top + head)], fill=fill)
    else:
        d.polygon([(cx, bottom), (cx + half_w, bottom - head), (cx + shaft, bottom - head),
                   (cx + shaft, top), (cx - shaft, top), (cx - shaft, bottom - head),
                   (cx - half_w, bottom - head)], fill=fill)


def draw_folder(d, ox, oy, s, body, tab):
    d.rounded_rectangle([ox + s * 0.14, oy + s * 0.30, ox + s * 0.46, oy + s * 0.42],
                        radius=s * 0.03, fill=tab)
    d.rounded_rectangle([ox + s * 0.14, oy + s * 0.36, ox + s * 0.86, oy + s * 0.80],
                        radius=s * 0.05, fill=tab)
    d.polygon([(ox + s * 0.20, oy + s * 0.48), (ox + s * 0.92, oy + s * 0.48),
               (ox + s * 0.82, oy + s * 0.80), (ox + s * 0.14, oy + s * 0.80)], fill=body)


def pict_open(d, ox, oy, s):
    draw_folder(d, ox, oy, s, (255, 214, 110, 255), (235, 170, 50, 255))
    arrow(d, ox + s * 0.53, oy + s * 0.10, oy + s * 0.58, s * 0.14, s * 0.14,
          (255, 255, 255, 255), up=True)
    arrow(d, ox + s * 0.53, oy + s * 0.13, oy + s * 0.55, s * 0.10, s * 0.10,
          (40, 110, 200, 255), up=True)


def pict_save(d, ox, oy, s):
    # A tray with a down arrow dropping into it.
    d.rounded_rectangle([ox + s * 0.16, oy + s * 0.56, ox + s * 0.84, oy + s * 0.84],
                        radius=s * 0.06, fill=(230, 240, 250, 255))
    d.rectangle([ox + s * 0.30, oy + s * 0.56, ox + s * 0.70, oy + s * 0.66],
                fill=(160, 190, 215, 255))
    d.rounded_rectangle([ox + s * 0.22, oy + s * 0.70, ox + s * 0.78, oy + s * 0.76],
                        radius=s * 0.02, fill=(120, 160, 190, 255))
    arrow(d, ox + s * 0.50, oy + s * 0.12, oy + s * 0.64, s * 0.17, s * 0.17,
          (255, 255, 255, 255), up=False)
    arrow(d, ox + s * 0.50, oy + s * 0.15, oy + s * 0.60, s * 0.12, s * 0.12,
          (20, 140, 120, 255), up=False)


def pict_convert(d, ox, oy, s, colour=(255, 255, 255, 255), weight=1.0, play=True):
    # Two curved arrows chasing each other around a play triangle. weight thickens the
    # arrows for the smallest sizes; play=False leaves out the triangle.
    cx, cy, r, w = ox + s * 0.5, oy + s * 0.5, s * 0.33, s * 0.09 * weight
    box = [cx - r, cy - r, cx + r, cy + r]
    for start in (200, 20):
        d.arc(box, start=start, end=start + 130, fill=colour, width=int(w))
        a = math.radians(start + 130)
        # the head sits across the band, which grows inwards from radius r
        rh = r - s * 0.045 * (weight - 1)
        tipx, tipy = cx + rh * math.cos(a), cy + rh * math.sin(a)
        # arrow head pointing along the direction of rotation
        tx, ty = -math.sin(a), math.cos(a)
        nx, ny = math.cos(a), math.sin(a)
        hl, hw = s * 0.13 * weight, s * 0.11 * weight
        d.polygon([(tipx + tx * hl, tipy + ty * hl), (tipx + nx * hw, tipy + ny * hw),
                   (tipx - nx * hw, tipy - ny * hw)], fill=colour)
    if not play:
        return
    t = s * 0.13
    d.polygon([(cx - t * 0.7, cy - t), (cx - t * 0.7, cy + t), (cx + t * 1.0, cy)], fill=colour)


def pict_stop(d, ox, oy, s):
    cx, cy, r = ox + s * 0.5, oy + s * 0.5, s * 0.33
    pts = [(cx + r * math.cos(math.radians(22.5 + 45 * i)),
            cy + r * math.sin(math.radians(22.5 + 45 * i))) for i in range(8)]
    d.polygon(pts, fill=(255, 255, 255, 255))
    r2 = r * 0.86
    pts2 = [(cx + r2 * math.cos(math.radians(22.5 + 45 * i)),
             cy + r2 * math.sin(math.radians(22.5 + 45 * i))) for i in range(8)]
    d.polygon(pts2, fill=(200, 30, 30, 255))
    q = s * 0.12
    d.rounded_rectangle([cx - q, cy - q, cx + q, cy + q], radius=s * 0.02,
                        fill=(255, 255, 255, 255))


def pict_about(d, ox, oy, s):
    cx, cy, r = ox + s * 0.5, oy + s * 0.5, s * 0.32
    d.ellipse([cx - r, cy - r, cx + r, cy + r], outline=(255, 255, 255, 255), width=int(s * 0.06))
    dot = s * 0.055
    d.ellipse([cx - dot, cy - r * 0.62 - dot, cx + dot, cy - r * 0.62 + dot], fill=WHITE)
    d.rounded_rectangle([cx - s * 0.045, cy - r * 0.30, cx + s * 0.045, cy + r * 0.62],
                        radius=s * 0.02, fill=WHITE)


def pict_close(d, ox, oy, s):
    # A power symbol: the program goes off.
    cx, cy, r, w = ox + s * 0.5, oy + s * 0.53, s * 0.28, int(s * 0.08)
    d.arc([cx - r, cy - r, cx + r, cy + r], start=-60, end=240, fill=WHITE, width=w)
    d.rounded_rectangle([cx - w / 2, cy - r - s * 0.08, cx + w / 2, cy - s * 0.02],
                        radius=w / 2, fill=WHITE)


# ----------------------------------------------------------------------------
# The 96 x 96 picture buttons.
# ----------------------------------------------------------------------------

BIG = 96
BIG_BUTTONS = {
    # list name: (base colour, pictogram)
    "open": ((52, 120, 204), pict_open),
    "save": ((30, 150, 130), pict_save),
    "convert": ((50, 160, 60), pict_convert),
    "stop": ((200, 40, 40), pict_stop),
    "about": ((100, 80, 180), pict_about),
    "close": ((90, 100, 115), pict_close),
}


def big_button(base, pictogram, state):
    s = BIG * SS
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    inset = 8 * SS
    shift = 2 * SS if state == PRESSED else 0
    box = [inset + shift, inset + shift, s - inset + shift, s - inset + shift]
    radius = 18 * SS
    if state != PRESSED:
        # soft drop shadow (a glow of the button's colour when hovered)
        sh = Image.new("RGBA", (s, s), (0, 0, 0, 0))
        sd = ImageDraw.Draw(sh)
        colour = (*shade(base, 0.2), 170) if state == HOVER else (0, 0, 0, 90)
        off = 0 if state == HOVER else 3 * SS
        grow = 4 * SS if state == HOVER else 0
        sd.rounded_rectangle([box[0] - grow, box[1] + off - grow, box[2] + grow, box[3] + off + grow],
                             radius=radius + grow, fill=colour)
        sh = sh.filter(ImageFilter.GaussianBlur(4 * SS))
        img = Image.alpha_composite(img, sh)
    light = {NORMAL: 0.35, HOVER: 0.55, PRESSED: 0.05}[state]
    dark = {NORMAL: -0.15, HOVER: 0.0, PRESSED: -0.35}[state]
    paste_gradient(img, box, radius, (*shade(base, light), 255), (*shade(base, dark), 255))
    d = ImageDraw.Draw(img)
    # glossy upper half
    gloss = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    gd = ImageDraw.Draw(gloss)
    gd.rounded_rectangle([box[0] + 3 * SS, box[1] + 3 * SS, box[2] - 3 * SS, (box[1] + box[3]) / 2],
                         radius=radius - 3 * SS, fill=(255, 255, 255, 40 if state != PRESSED else 15))
    img = Image.alpha_composite(img, gloss)
    d = ImageDraw.Draw(img)
    d.rounded_rectangle(box, radius=radius, outline=(*shade(base, -0.45), 255), width=int(1.5 * SS))
    pictogram(d, box[0] + 6 * SS, box[1] + 6 * SS, box[2] - box[0] - 12 * SS)
    return img


# ----------------------------------------------------------------------------
# The fifteen 44 x 39 format shortcuts.
# ----------------------------------------------------------------------------

SW, SH = 44, 39


def lettering(text, colour, sub=None):
    def draw(d, x0, y0, w, h):
        if sub:
            f = fit_font(d, text, w * 0.86, h * 0.48, int(h * 0.6))
            text_center(d, x0 + w / 2, y0 + h * 0.36, text, f, colour)
            f2 = fit_font(d, sub, w * 0.86, h * 0.28, int(h * 0.3))
            text_center(d, x0 + w / 2, y0 + h * 0.76, sub, f2, colour)
        else:
            f = fit_font(d, text, w * 0.86, h * 0.62, int(h * 0.7))
            text_center(d, x0 + w / 2, y0 + h / 2, text, f, colour)
    return draw


def document(text, band):
    def draw(d, x0, y0, w, h):
        fold = w * 0.16
        l, r, t, b = x0 + w * 0.24, x0 + w * 0.76, y0 + h * 0.06, y0 + h * 0.94
        d.polygon([(l, t), (r - fold, t), (r, t + fold), (r, b), (l, b)], fill=(255, 255, 255, 255),
                  outline=(90, 100, 120, 255), width=SS)
        d.polygon([(r - fold, t), (r - fold, t + fold), (r, t + fold)], fill=(200, 205, 215, 255),
                  outline=(90, 100, 120, 255), width=SS)
        for i in range(3):
            yy = t + h * (0.16 + 0.08 * i)
            d.line([(l + w * 0.05, yy), (r - fold - w * 0.02, yy)], fill=(180, 185, 195, 255), width=SS)
        bt, bb = y0 + h * 0.50, y0 + h * 0.78
        d.rectangle([x0 + w * 0.10, bt, x0 + w * 0.90, bb], fill=band)
        f = fit_font(d, text, w * 0.76, (bb - bt) * 0.8, int(h * 0.3))
        text_center(d, x0 + w / 2, (bt + bb) / 2, text, f, (255, 255, 255, 255))
    return draw


def film_strip(d, l, t, r, b, colour=(40, 40, 50, 255)):
    d.rectangle([l, t, r, b], fill=colour)
    hole = (b - t) * 0.16
    n = max(3, int((r - l) / (hole * 2.2)))
    for i in range(n):
        x = l + (r - l) * (i + 0.5) / n
        for y in (t + hole * 0.9, b - hole * 0.9):
            d.rectangle([x - hole / 2, y - hole / 2, x + hole / 2, y + hole / 2], fill=(235, 235, 235, 255))
    d.rectangle([l + (r - l) * 0.08, t + (b - t) * 0.30, r - (r - l) * 0.08, b - (b - t) * 0.30],
                fill=(120, 170, 230, 255))


def pict_scissors_film(d, x0, y0, w, h):
    film_strip(d, x0 + w * 0.06, y0 + h * 0.52, x0 + w * 0.94, y0 + h * 0.90)
    # scissors: two blades crossing over the strip, two rings above
    c = (200, 40, 40, 255)
    px, py = x0 + w * 0.5, y0 + h * 0.48
    d.line([(x0 + w * 0.30, y0 + h * 0.18), (x0 + w * 0.66, y0 + h * 0.78)], fill=(90, 90, 100, 255), width=int(2.2 * SS))
    d.line([(x0 + w * 0.70, y0 + h * 0.18), (x0 + w * 0.34, y0 + h * 0.78)], fill=(90, 90, 100, 255), width=int(2.2 * SS))
    for cx in (x0 + w * 0.27, x0 + w * 0.73):
        r = h * 0.12
        d.ellipse([cx - r, y0 + h * 0.05, cx + r, y0 + h * 0.05 + 2 * r], outline=c, width=int(2 * SS))
    d.ellipse([px - SS * 1.5, py - SS * 1.5, px + SS * 1.5, py + SS * 1.5], fill=(255, 255, 255, 255))


def pict_phone(d, x0, y0, w, h):
    l, r, t, b = x0 + w * 0.34, x0 + w * 0.66, y0 + h * 0.06, y0 + h * 0.94
    d.rounded_rectangle([l, t, r, b], radius=w * 0.07, fill=(35, 35, 45, 255))
    d.rectangle([l + w * 0.03, t + h * 0.12, r - w * 0.03, b - h * 0.16], fill=(110, 180, 240, 255))
    d.ellipse([(l + r) / 2 - w * 0.035, b - h * 0.12, (l + r) / 2 + w * 0.035, b - h * 0.04],
              outline=(200, 200, 200, 255), width=SS)
    d.line([((l + r) / 2 - w * 0.05, t + h * 0.06), ((l + r) / 2 + w * 0.05, t + h * 0.06)],
           fill=(150, 150, 150, 255), width=SS)


def pict_gamepad(d, x0, y0, w, h):
    body = (50, 55, 70, 255)
    cy = y0 + h * 0.52
    d.rounded_rectangle([x0 + w * 0.12, cy - h * 0.22, x0 + w * 0.88, cy + h * 0.16], radius=h * 0.18, fill=body)
    d.ellipse([x0 + w * 0.08, cy - h * 0.10, x0 + w * 0.36, cy + h * 0.36], fill=body)
    d.ellipse([x0 + w * 0.64, cy - h * 0.10, x0 + w * 0.92, cy + h * 0.36], fill=body)
    # cross pad
    px, py, a = x0 + w * 0.28, cy - h * 0.02, w * 0.035
    d.rectangle([px - a * 3, py - a, px + a * 3, py + a], fill=(220, 220, 220, 255))
    d.rectangle([px - a, py - a * 3, px + a, py + a * 3], fill=(220, 220, 220, 255))
    # four buttons
    bx, by, q = x0 + w * 0.72, cy - h * 0.02, w * 0.05
    for (dx, dy), col in zip(((0, -1), (1, 0), (0, 1), (-1, 0)),
                             ((80, 200, 90), (230, 70, 70), (80, 140, 240), (240, 200, 60))):
        cx, cyy = bx + dx * q * 1.5, by + dy * q * 1.5
        d.ellipse([cx - q * 0.7, cyy - q * 0.7, cx + q * 0.7, cyy + q * 0.7], fill=(*col, 255))


def pict_disc(d, x0, y0, w, h):
    cx, cy, r = x0 + w / 2, y0 + h / 2, h * 0.44
    d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=(205, 210, 220, 255), outline=(110, 115, 130, 255), width=SS)
    for i, col in enumerate(((170, 210, 250), (230, 190, 250), (250, 230, 170))):
        rr = r * (0.85 - 0.12 * i)
        d.arc([cx - rr, cy - rr, cx + rr, cy + rr], start=200 + 15 * i, end=290 + 10 * i,
              fill=(*col, 255), width=int(1.6 * SS))
    d.ellipse([cx - r * 0.28, cy - r * 0.28, cx + r * 0.28, cy + r * 0.28], fill=(245, 245, 250, 255),
              outline=(110, 115, 130, 255), width=SS)
    d.ellipse([cx - r * 0.1, cy - r * 0.1, cx + r * 0.1, cy + r * 0.1], fill=(120, 125, 140, 255))
    f = fit_font(d, "DVD", r * 1.1, r * 0.42, int(h * 0.3))
    text_center(d, cx, cy + r * 0.58, "DVD", f, (40, 50, 110, 255))


def pict_note(d, x0, y0, w, h):
    c = (60, 40, 140, 255)
    # two beamed quavers
    x1, x2 = x0 + w * 0.36, x0 + w * 0.66
    top1, top2 = y0 + h * 0.18, y0 + h * 0.10
    stem = w * 0.04
    d.polygon([(x1, top1), (x2 + stem, top2), (x2 + stem, top2 + h * 0.14), (x1, top1 + h * 0.14)], fill=c)
    d.rectangle([x1 - stem, top1, x1, y0 + h * 0.74], fill=c)
    d.rectangle([x2, top2, x2 + stem, y0 + h * 0.66], fill=c)
    for hx, hy in ((x1, y0 + h * 0.76), (x2 + stem, y0 + h * 0.68)):
        d.ellipse([hx - w * 0.14, hy - h * 0.11, hx + w * 0.01, hy + h * 0.07], fill=c)


def pict_clock_film(d, x0, y0, w, h):
    film_strip(d, x0 + w * 0.04, y0 + h * 0.58, x0 + w * 0.96, y0 + h * 0.94)
    cx, cy, r = x0 + w * 0.5, y0 + h * 0.34, h * 0.30
    d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=(255, 255, 255, 255), outline=(200, 100, 20, 255), width=int(2 * SS))
    d.line([(cx, cy), (cx, cy - r * 0.7)], fill=(40, 40, 40, 255), width=int(1.5 * SS))
    d.line([(cx, cy), (cx + r * 0.5, cy + r * 0.2)], fill=(40, 40, 40, 255), width=int(1.5 * SS))


def bolt_lettering(text):
    def draw(d, x0, y0, w, h):
        c = (230, 80, 30, 255)
        d.polygon([(x0 + w * 0.56, y0 + h * 0.04), (x0 + w * 0.30, y0 + h * 0.50), (x0 + w * 0.48, y0 + h * 0.50),
                   (x0 + w * 0.40, y0 + h * 0.96), (x0 + w * 0.72, y0 + h * 0.40), (x0 + w * 0.54, y0 + h * 0.40),
                   (x0 + w * 0.66, y0 + h * 0.04)], fill=c)
        f = fit_font(d, text, w * 0.9, h * 0.34, int(h * 0.4))
        text_center(d, x0 + w / 2, y0 + h * 0.80, text, f, (30, 30, 40, 255), stroke=SS,
                    stroke_fill=(255, 255, 255, 255))
    return draw


def play_lettering(text, colour):
    def draw(d, x0, y0, w, h):
        cx, cy, r = x0 + w / 2, y0 + h * 0.34, h * 0.26
        d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=colour)
        t = r * 0.5
        d.polygon([(cx - t * 0.7, cy - t), (cx - t * 0.7, cy + t), (cx + t, cy)], fill=(255, 255, 255, 255))
        f = fit_font(d, text, w * 0.9, h * 0.30, int(h * 0.36))
        text_center(d, x0 + w / 2, y0 + h * 0.80, text, f, (30, 30, 40, 255))
    return draw


def ring_lettering(text, colour):
    def draw(d, x0, y0, w, h):
        cx, cy, r = x0 + w / 2, y0 + h / 2, h * 0.46
        d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=colour)
        d.ellipse([cx - r * 0.82, cy - r * 0.82, cx + r * 0.82, cy + r * 0.82], outline=(255, 255, 255, 200), width=SS)
        f = fit_font(d, text, r * 1.5, r * 0.9, int(h * 0.4))
        text_center(d, cx, cy, text, f, (255, 255, 255, 255))
    return draw


# Index order of the three shortcut image lists.
SHORTCUTS = [
    ("HD", lettering("HD", (20, 60, 150, 255), "1080")),                 # 0 Full HD
    ("HD ready", lettering("HD", (30, 120, 60, 255), "ready")),          # 1 HD Ready
    ("MPEG", document("MPEG", (30, 90, 180, 255))),                      # 2
    ("Flash", bolt_lettering("FLV")),                                    # 3
    ("WMV", play_lettering("WMV", (40, 110, 200, 255))),                 # 4
    ("3GPP", document("3GPP", (200, 110, 20, 255))),                     # 5
    ("Quick Time", play_lettering("MOV", (90, 90, 110, 255))),           # 6
    ("Extraction", pict_scissors_film),                                  # 7
    ("iPhone", pict_phone),                                              # 8
    ("Playstation", pict_gamepad),                                       # 9
    ("Xbox", ring_lettering("360", (70, 150, 40, 255))),                 # 10
    ("DVD", pict_disc),                                                  # 11
    ("Audio", pict_note),                                                # 12
    ("AVI", ring_lettering("AVI", (30, 60, 120, 255))),                  # 13
    ("Synchro", pict_clock_film),                                        # 14
]

SHORTCUT_LISTS = {NORMAL: "shortcuts_normal", PRESSED: "shortcuts_pressed", HOVER: "shortcuts_hover"}


def shortcut(draw, state):
    w, h = SW * SS, SH * SS
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    shift = SS if state == PRESSED else 0
    box = [SS + shift, SS + shift, w - 2 * SS + shift, h - 2 * SS + shift]
    top = {NORMAL: (250, 252, 255), HOVER: (255, 250, 225), PRESSED: (205, 215, 230)}[state]
    bottom = {NORMAL: (214, 226, 242), HOVER: (255, 222, 150), PRESSED: (180, 195, 215)}[state]
    edge = {NORMAL: (140, 160, 190), HOVER: (220, 150, 40), PRESSED: (90, 110, 140)}[state]
    if state != PRESSED:
        sh = Image.new("RGBA", (w, h), (0, 0, 0, 0))
        ImageDraw.Draw(sh).rounded_rectangle([box[0], box[1] + SS, box[2], box[3] + SS], radius=6 * SS,
                                             fill=(0, 0, 0, 70))
        img = Image.alpha_composite(img, sh.filter(ImageFilter.GaussianBlur(SS)))
    paste_gradient(img, box, 6 * SS, (*top, 255), (*bottom, 255))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle(box, radius=6 * SS, outline=(*edge, 255), width=SS)
    pad = 3 * SS
    draw(d, box[0] + pad, box[1] + pad, box[2] - box[0] - 2 * pad, box[3] - box[1] - 2 * pad)
    return img


# ----------------------------------------------------------------------------
# Backgrounds, logo and splash.
# ----------------------------------------------------------------------------

def soft_waves(img, colour, count, amp, base_y, alpha):
    w, h = img.size
    # transparent pixels carry the line colour, so blurring does not darken the edges
    layer = Image.new("RGBA", (w, h), (*colour, 0))
    d = ImageDraw.Draw(layer)
    for k in range(count):
        pts = []
        for x in range(0, w + 8, 8):
            y = base_y + k * amp * 0.45 + amp * math.sin(x / w * math.pi * 1.6 + k * 0.7)
            pts.append((x, y))
        d.line(pts, fill=(*colour, alpha), width=2)
    layer = layer.filter(ImageFilter.GaussianBlur(1.2))
    return Image.alpha_composite(img.convert("RGBA"), layer)


def background(w, h, top, bottom, waves, bands=()):
    img = vertical_gradient(w, h, top, bottom).convert("RGBA")
    for colour, count, amp, base_y, alpha in waves:
        img = soft_waves(img, colour, count, amp, base_y, alpha)
    # translucent rounded strips that frame a row of controls
    for box in bands:
        layer = Image.new("RGBA", (w, h), (255, 255, 255, 0))
        ld = ImageDraw.Draw(layer)
        ld.rounded_rectangle(box, radius=8, fill=(255, 255, 255, 90), outline=(160, 185, 220, 160), width=1)
        img = Image.alpha_composite(img, layer)
    return img.convert("RGB")


# The emblem's colours, shared by the bitmaps and the vector icon.
LOGO_TOP, LOGO_BOTTOM, LOGO_EDGE = (255, 170, 60), (225, 70, 40), (150, 40, 20)


def logo(size):
    """Our emblem: two arrows circling a play triangle on an orange tile. Below 32 pixels
    the arrows fill more of the tile and are drawn thicker, and at 16 the triangle goes,
    so that the emblem stays legible in menus and panels."""
    s = size * SS
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    box = [s * 0.04, s * 0.04, s * 0.96, s * 0.96]
    paste_gradient(img, box, s * 0.2, LOGO_TOP + (255,), LOGO_BOTTOM + (255,))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle(box, radius=s * 0.2, outline=LOGO_EDGE + (255,), width=max(1, int(s * 0.015)))
    if size >= 32:
        pict_convert(d, s * 0.14, s * 0.14, s * 0.72)
    else:
        pict_convert(d, s * 0.08, s * 0.08, s * 0.84, weight=1.6, play=size > 16)
    return finish(img, (size, size))


# Sizes of the application icon in the desktop's hicolor theme, beside the vector one.
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def logo_svg():
    """The emblem of logo() at 32 pixels and more, as vectors on a 256-unit square. PIL
    draws outlines and arcs inwards from their box; SVG strokes are centred, so the
    strokes here are moved in by half their width to match the bitmaps."""
    s = 256.0

    def n(v):
        return f"{v:.2f}".rstrip("0").rstrip(".")

    def rgb(c):
        return "#%02x%02x%02x" % c

    x0, x1, radius, edge = s * 0.04, s * 0.96, s * 0.2, s * 0.015
    ox, ps = s * 0.14, s * 0.72
    cx = cy = ox + ps * 0.5
    r, w = ps * 0.33, ps * 0.09
    rc = r - w / 2
    shapes = []
    for start in (200, 20):
        a0, a1 = math.radians(start), math.radians(start + 130)
        shapes.append(f'<path d="M{n(cx + rc * math.cos(a0))} {n(cy + rc * math.sin(a0))} '
                      f'A{n(rc)} {n(rc)} 0 0 1 {n(cx + rc * math.cos(a1))} {n(cy + rc * math.sin(a1))}" '
                      f'fill="none" stroke="#fff" stroke-width="{n(w)}"/>')
        tipx, tipy = cx + r * math.cos(a1), cy + r * math.sin(a1)
        tx, ty, nx, ny = -math.sin(a1), math.cos(a1), math.cos(a1), math.sin(a1)
        hl, hw = ps * 0.13, ps * 0.11
        pts = [(tipx + tx * hl, tipy + ty * hl), (tipx + nx * hw, tipy + ny * hw),
               (tipx - nx * hw, tipy - ny * hw)]
        shapes.append('<polygon points="' + " ".join(f"{n(x)},{n(y)}" for x, y in pts) + '" fill="#fff"/>')
    tp = ps * 0.13
    pts = [(cx - tp * 0.7, cy - tp), (cx - tp * 0.7, cy + tp), (cx + tp, cy)]
    shapes.append('<polygon points="' + " ".join(f"{n(x)},{n(y)}" for x, y in pts) + '" fill="#fff"/>')
    return "\n".join([
        '<?xml version="1.0" encoding="UTF-8"?>',
        "<!-- Written by scripts/make_artwork.py -->",
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{n(s)}" height="{n(s)}" viewBox="0 0 {n(s)} {n(s)}">',
        '  <defs><linearGradient id="tile" x1="0" y1="0" x2="0" y2="1">'
        f'<stop offset="0" stop-color="{rgb(LOGO_TOP)}"/><stop offset="1" stop-color="{rgb(LOGO_BOTTOM)}"/>'
        "</linearGradient></defs>",
        f'  <rect x="{n(x0)}" y="{n(x0)}" width="{n(x1 - x0)}" height="{n(x1 - x0)}" rx="{n(radius)}" fill="url(#tile)"/>',
        f'  <rect x="{n(x0 + edge / 2)}" y="{n(x0 + edge / 2)}" width="{n(x1 - x0 - edge)}" '
        f'height="{n(x1 - x0 - edge)}" rx="{n(radius - edge / 2)}" fill="none" stroke="{rgb(LOGO_EDGE)}" '
        f'stroke-width="{n(edge)}"/>',
    ] + ["  " + sh for sh in shapes] + ["</svg>", ""])


def write_app_icons():
    """The application icon for the desktop (menus, panels, the software centre), in the
    layout of the hicolor icon theme. These files are installed, not compiled in."""
    for size in ICON_SIZES:
        save(logo(size), f"icons/hicolor/{size}x{size}/apps/transcoda.png")
    path = os.path.join(OUT, "icons/hicolor/scalable/apps/transcoda.svg")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(logo_svg())


def splash(lang):
    w, h = 697, 340
    img = vertical_gradient(w * SS // 2, h * SS // 2, (18, 38, 86), (6, 14, 38)).convert("RGBA")
    sw, sh = img.size
    img = soft_waves(img, (90, 150, 255), 6, sh * 0.05, sh * 0.62, 70)
    d = ImageDraw.Draw(img)
    k = SS / 2
    # a film strip running along the bottom, its frames tinted like the stills of a clip
    top, bottom = sh - 62 * k, sh - 8 * k
    d.rectangle([0, top, sw, bottom], fill=(8, 10, 18, 255))
    pitch = 22 * k
    for x in range(0, int(sw), int(pitch)):
        for y in (top + 4 * k, bottom - 9 * k):
            d.rounded_rectangle([x + 7 * k, y, x + 15 * k, y + 5 * k], radius=k, fill=(190, 195, 210, 255))
    frame_w = 58 * k
    tints = [(60, 120, 200), (220, 140, 60), (70, 160, 110), (170, 80, 150), (200, 190, 80), (80, 170, 190)]
    for i, x in enumerate(range(int(4 * k), int(sw), int(frame_w + 6 * k))):
        c = tints[i % len(tints)]
        frame = vertical_gradient(int(frame_w), int(bottom - top - 26 * k), shade(c, 0.25), shade(c, -0.35))
        img.paste(frame, (x, int(top + 13 * k)))
    d = ImageDraw.Draw(img)
    lg = logo(150).resize((int(150 * k), int(150 * k)), Image.LANCZOS)
    img.alpha_composite(lg, (int(40 * k), int(58 * k)))
    d = ImageDraw.Draw(img)
    d.text((215 * k, 62 * k), "Transcoda", font=font(int(62 * k)), fill=(255, 255, 255, 255))
    d.text((220 * k, 138 * k), "Media Converter", font=font(int(28 * k), False), fill=(255, 190, 110, 255))
    tagline = ("Convertissez vos vidéos et votre musique" if lang == "FR"
               else "Convert your videos and your music")
    tagline2 = "vers 40 formats, en un clic" if lang == "FR" else "to 40 formats, in one click"
    d.text((222 * k, 184 * k), tagline, font=font(int(17 * k), False), fill=(205, 220, 245, 255))
    d.text((222 * k, 208 * k), tagline2, font=font(int(17 * k), False), fill=(205, 220, 245, 255))
    formats = "AVI  ·  MPEG  ·  FLV  ·  WMV  ·  3GP  ·  MOV  ·  MP4  ·  DVD  ·  MP3  ·  WAV"
    d.text((222 * k, 246 * k), formats, font=font(int(11 * k)), fill=(150, 175, 220, 255))
    d.text((20 * k, 14 * k), "Version 1.0", font=font(int(12 * k), False), fill=(170, 185, 215, 255))
    loading = "Chargement..." if lang == "FR" else "Loading..."
    f = font(int(12 * k), False)
    bb = d.textbbox((0, 0), loading, font=f)
    d.text((sw - (bb[2] - bb[0]) - 20 * k, 14 * k), loading, font=f, fill=(170, 185, 215, 255))
    img = img.resize((w, h), Image.LANCZOS).convert("RGB")
    ImageDraw.Draw(img).rectangle([0, 0, w - 1, h - 1], outline=(70, 100, 170))
    return img


def save_list_image(drawn, size, rel):
    """One image of an image list at its size, and at twice its size as "<i>@2x.png" for
    screens that scale by two, both from the same drawing."""
    w, h = size
    return [save(finish(drawn, (w, h)), f"{rel}.png"), save(finish(drawn, (2 * w, 2 * h)), f"{rel}@2x.png")]


def main():
    files = []
    for name, (base, pict) in BIG_BUTTONS.items():
        for state in (NORMAL, PRESSED, HOVER):
            files += save_list_image(big_button(base, pict, state), (BIG, BIG), f"imagelists/{name}/{state}")
    for state, listname in SHORTCUT_LISTS.items():
        for i, (_, draw) in enumerate(SHORTCUTS):
            files += save_list_image(shortcut(draw, state), (SW, SH), f"imagelists/{listname}/{i}")
    main_bg = background(761, 494, (214, 228, 246), (246, 249, 253),
                         [((255, 255, 255), 5, 18, 40, 150)],
                         # the row of format shortcuts (top 228, 44 x 39 pictures, 50 apart)
                         bands=[(2, 207, 758, 271)])
    files.append(save(main_bg, "backgrounds/main_panel.jpg", quality=90))
    dlg_bg = background(626, 274, (220, 232, 248), (248, 250, 254),
                        [((255, 255, 255), 4, 14, 30, 150), ((160, 190, 230), 3, 10, 200, 50)])
    files.append(save(dlg_bg, "backgrounds/dialog.jpg", quality=90))
    files.append(save(splash("FR"), "splash/splash_fr.png"))
    files.append(save(splash("EN"), "splash/splash_en.png"))
    files.append(save(logo(64), "icons/transcoda.png"))
    write_app_icons()

    files.sort()
    with open(os.path.join(OUT, "transcoda.qrc"), "w", encoding="utf-8") as q:
        q.write("<!DOCTYPE RCC>\n<!-- Written by scripts/make_artwork.py -->\n")
        q.write('<RCC version="1.0">\n  <qresource prefix="/">\n')
        for f in files:
            q.write(f"    <file>{f}</file>\n")
        q.write("  </qresource>\n</RCC>\n")
    print(f"{len(files)} pictures written to {OUT}", file=sys.stderr)


if __name__ == "__main__":
    main()
