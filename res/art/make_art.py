#!/usr/bin/env python3
"""Draws the program's artwork and writes it as BMP and ICO files into res/:
the three splash pictures, the gauge icons and bars, and the program icon.

The splash pictures carry the title and the six category rows exactly where the
main window's hot rows lie, and leave the gauge band free for the gauges that the
main window draws over them. Run it again after changing anything here:

    python3 res/art/make_art.py [output folder]
"""

import os
import struct
import sys

sys.dont_write_bytecode = True  # keep the source folder clean
import pixelfont  # noqa: E402

# ---------------------------------------------------------------- canvas


class Canvas:
    """An RGB picture with float channels 0..255 and alpha-blended drawing."""

    def __init__(self, width, height, color=(0, 0, 0), alpha=255.0):
        self.width = width
        self.height = height
        self.rgb = [list(color) for _ in range(width * height)]
        self.alpha = [alpha] * (width * height)

    def blend(self, x, y, color, coverage=1.0):
        if coverage <= 0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        i = y * self.width + x
        px = self.rgb[i]
        a = min(1.0, coverage) * (color[3] / 255.0 if len(color) > 3 else 1.0)
        for k in range(3):
            px[k] += (color[k] - px[k]) * a
        self.alpha[i] += (255.0 - self.alpha[i]) * a

    def set(self, x, y, color):
        if 0 <= x < self.width and 0 <= y < self.height:
            i = y * self.width + x
            self.rgb[i] = list(color[:3])
            self.alpha[i] = 255.0

    def get(self, x, y):
        return tuple(self.rgb[y * self.width + x])

    def fill(self, x0, y0, x1, y1, color):
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                self.blend(x, y, color)

    def vertical_gradient(self, x0, y0, x1, y1, top, bottom):
        span = max(1, y1 - y0 - 1)
        for y in range(y0, y1):
            c = mix(top, bottom, (y - y0) / span)
            self.fill(x0, y, x1, y + 1, c)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    n = max(len(a), len(b))
    a = tuple(a) + (255,) * (n - len(a))
    b = tuple(b) + (255,) * (n - len(b))
    return tuple(a[k] + (b[k] - a[k]) * t for k in range(n))


def hex_color(text, alpha=255):
    text = text.lstrip('#')
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16), alpha)


# ---------------------------------------------------------------- shapes

_SUB = 4  # supersampling per axis at the edges of round shapes


def _rounded_coverage(px, py, x0, y0, x1, y1, radius):
    """Share of pixel (px, py) inside the rounded rectangle [x0, x1) x [y0, y1)."""
    cx = min(max(px + 0.5, x0 + radius), x1 - radius)
    cy = min(max(py + 0.5, y0 + radius), y1 - radius)
    dx, dy = px + 0.5 - cx, py + 0.5 - cy
    if dx * dx + dy * dy <= (radius - 1) ** 2 and x0 + 1 <= px + 0.5 <= x1 - 1 and y0 + 1 <= py + 0.5 <= y1 - 1:
        return 1.0
    inside = 0
    for sy in range(_SUB):
        for sx in range(_SUB):
            x = px + (sx + 0.5) / _SUB
            y = py + (sy + 0.5) / _SUB
            if not (x0 <= x < x1 and y0 <= y < y1):
                continue
            qx = min(max(x, x0 + radius), x1 - radius)
            qy = min(max(y, y0 + radius), y1 - radius)
            if (x - qx) ** 2 + (y - qy) ** 2 <= radius * radius:
                inside += 1
    return inside / (_SUB * _SUB)


def rounded_rect(canvas, x0, y0, x1, y1, radius, paint):
    """Fills a rounded rectangle; paint is a color or a function (x, y) -> color."""
    for y in range(max(0, int(y0)), min(canvas.height, int(y1) + 1)):
        for x in range(max(0, int(x0)), min(canvas.width, int(x1) + 1)):
            c = _rounded_coverage(x, y, x0, y0, x1, y1, radius)
            if c > 0:
                canvas.blend(x, y, paint(x, y) if callable(paint) else paint, c)


def ellipse(canvas, cx, cy, rx, ry, paint):
    for y in range(max(0, int(cy - ry) - 1), min(canvas.height, int(cy + ry) + 2)):
        for x in range(max(0, int(cx - rx) - 1), min(canvas.width, int(cx + rx) + 2)):
            inside = 0
            for sy in range(_SUB):
                for sx in range(_SUB):
                    dx = (x + (sx + 0.5) / _SUB - cx) / rx
                    dy = (y + (sy + 0.5) / _SUB - cy) / ry
                    if dx * dx + dy * dy <= 1.0:
                        inside += 1
            if inside:
                canvas.blend(x, y, paint(x, y) if callable(paint) else paint, inside / (_SUB * _SUB))


def gradient_paint(y0, y1, top, bottom):
    span = max(1.0, y1 - y0)
    return lambda x, y: mix(top, bottom, (y - y0) / span)


# ---------------------------------------------------------------- text


def text_size(text, scale):
    return pixelfont.text_width(text) * scale, 7 * scale


def draw_text(canvas, x, y, text, scale, color, shadow=None):
    """Draws text with its cap line at y; descenders reach 2 font rows lower."""
    if shadow is not None:
        offset = max(1, scale // 2)
        for cx, cy in pixelfont.text_pixels(text):
            canvas.fill(x + cx * scale + offset, y + cy * scale + offset,
                        x + (cx + 1) * scale + offset, y + (cy + 1) * scale + offset, shadow)
    for cx, cy in pixelfont.text_pixels(text):
        canvas.fill(x + cx * scale, y + cy * scale, x + (cx + 1) * scale, y + (cy + 1) * scale, color)


def draw_text_centred(canvas, left, top, right, bottom, text, scale, color, shadow=None):
    """Centres the text's cap height (descenders hang below) in the box."""
    w, h = text_size(text, scale)
    x = left + (right - left - w) // 2
    y = top + (bottom - top - h) // 2
    draw_text(canvas, x, y, text, scale, color, shadow)
    return x, y, w, h


# ---------------------------------------------------------------- pixel art

PICTOGRAMS = {
    # A calendar page with today marked.
    'today': [
        "..k......k..",
        ".kkkkkkkkkk.",
        ".krrrrrrrrk.",
        ".krrrrrrrrk.",
        ".kkkkkkkkkk.",
        ".kwwwwwwwwk.",
        ".kwgwgwgwgk.",
        ".kwwwwwwwwk.",
        ".kwgwgwrwgk.",
        ".kwwwwwwwwk.",
        ".kwgwgwgwwk.",
        ".kkkkkkkkkk.",
    ],
    # A folder.
    'files': [
        "............",
        ".kkkk.......",
        "kyyyyk......",
        "kyyyyykkkkk.",
        "kyyyyyyyyyyk",
        "kYYYYYYYYYYk",
        "kYYYYYYYYYYk",
        "kYYYYYYYYYYk",
        "kYYYYYYYYYYk",
        "kYYYYYYYYYYk",
        ".kkkkkkkkkk.",
        "............",
    ],
    # A handset with screen and keys.
    'phone': [
        "...k........",
        "...k........",
        "...kkkkkk...",
        "..kssssssk..",
        "..ksbbbbsk..",
        "..ksbbbbsk..",
        "..kssssssk..",
        "..kswswssk..",
        "..ksswswsk..",
        "..kswswssk..",
        "..kssssssk..",
        "...kkkkkk...",
    ],
    # A gear.
    'system': [
        ".....kk.....",
        "..kk.kk.kk..",
        "..kkkggkkk..",
        "...kggggk...",
        ".kkgg..ggkk.",
        "kkgg....ggkk",
        "kkgg....ggkk",
        ".kkgg..ggkk.",
        "...kggggk...",
        "..kkkggkkk..",
        "..kk.kk.kk..",
        ".....kk.....",
    ],
    # A globe.
    'internet': [
        "....kkkk....",
        "..kkbbGGkk..",
        ".kbbbGGGbbk.",
        ".kbbGGGGbbk.",
        "kbbbbGGGbbbk",
        "kGbbbbGGbbbk",
        "kGGbbbbbbbbk",
        "kGGGbbbbGbbk",
        ".kGGbbbbGGk.",
        ".kbGbbbbbbk.",
        "..kkbbbbkk..",
        "....kkkk....",
    ],
    # A keyboard.
    'keyboard': [
        "............",
        "............",
        ".kkkkkkkkkk.",
        "kssssssssssk",
        "kswswswswssk",
        "kssssssssssk",
        "ksswswswswsk",
        "kssssssssssk",
        "ksswwwwwwssk",
        "kssssssssssk",
        ".kkkkkkkkkk.",
        "............",
    ],
}

PICTOGRAM_PALETTE = {
    'k': hex_color('1d2b44'),
    'r': hex_color('e0474c'),
    'w': hex_color('ffffff'),
    'g': hex_color('8a97ab'),
    'y': hex_color('f7c948'),
    'Y': hex_color('f0b429'),
    's': hex_color('c9d3e1'),
    'b': hex_color('3d8bfd'),
    'G': hex_color('3fb950'),
}


def draw_pixel_art(canvas, x, y, rows, scale, palette):
    for r, line in enumerate(rows):
        for c, cell in enumerate(line):
            color = palette.get(cell)
            if color:
                canvas.fill(x + c * scale, y + r * scale, x + (c + 1) * scale, y + (r + 1) * scale, color)


# ---------------------------------------------------------------- the program's emblem

EMBLEM_TOP = hex_color('34c6b8')
EMBLEM_BOTTOM = hex_color('1b5fc1')


def draw_emblem(canvas, x, y, size):
    """A rounded square in sea colours with "ZR" on it: the program icon, at any size."""
    radius = max(3, size * 0.22)
    if size >= 48:
        rounded_rect(canvas, x + size * 0.03, y + size * 0.06, x + size * 1.03, y + size * 1.06, radius,
                     (0, 0, 0, 70))
    rounded_rect(canvas, x, y, x + size, y + size, radius, gradient_paint(y, y + size, EMBLEM_TOP, EMBLEM_BOTTOM))
    # Soft highlight over the upper half.
    rounded_rect(canvas, x + size * 0.06, y + size * 0.05, x + size * 0.94, y + size * 0.5, radius * 0.8,
                 gradient_paint(y, y + size * 0.5, (255, 255, 255, 80), (255, 255, 255, 0)))
    label = "ZR" if size >= 24 else "Z"
    scale = max(1, int(size * 0.066)) if label == "ZR" else max(1, size // 8)
    w, h = text_size(label, scale)
    tx = x + (size - w) // 2
    ty = y + (size - h) // 2
    draw_text(canvas, int(tx), int(ty), label, scale, hex_color('ffffff'),
              shadow=hex_color('0b2447', 120) if size >= 24 else None)


# ---------------------------------------------------------------- the splash pictures

CATEGORIES = ["Today Tricks", "File System", "Phone Tricks", "System Tricks", "Internet Tricks", "Keyboard Tricks"]
CATEGORY_PICTOGRAMS = ['today', 'files', 'phone', 'system', 'internet', 'keyboard']

# Hot rows of each layout: x range and row k from low + k*step to high + k*step
# (all exclusive), as the main window tests taps.
HOT_ROWS = {
    'portrait': dict(x=(150, 370), low=120, high=180, step=60),
    'landscape': dict(x=(150, 350), low=50, high=80, step=50),
    'square': dict(x=(150, 330), low=70, high=104, step=40),
}

# Gauge band: icons at (20/120/220, icon y), bars from x 46 to 310 at bar y.
GAUGE_ROWS = {
    'portrait': dict(icon_y=500, bar_y=504),
    'landscape': dict(icon_y=340, bar_y=348),
    'square': dict(icon_y=340, bar_y=350),
}

BACKGROUND_TOP = hex_color('0b2447')
BACKGROUND_BOTTOM = hex_color('19376d')
TITLE = hex_color('ffffff')
TITLE_SHADOW = hex_color('04101f', 200)
SUBTITLE = hex_color('a5d7e8')
BUTTON_TOP = hex_color('ffffff')
BUTTON_BOTTOM = hex_color('d4e4fa')
BUTTON_EDGE = hex_color('7fa7e0')
BUTTON_TEXT = hex_color('12305e')
# The gauge panel is one flat colour, so that the gauge icons and bars, which are
# copied over it whole, sit on it seamlessly.
PANEL = (233, 240, 250)
PANEL_EDGE = hex_color('9bb6dc')


def hot_row_box(layout, k):
    """The pixels strictly inside hot row k: (left, top, right, bottom), right/bottom exclusive."""
    h = HOT_ROWS[layout]
    return (h['x'][0] + 1, h['low'] + h['step'] * k + 1, h['x'][1], h['high'] + h['step'] * k)


def draw_background(canvas):
    canvas.vertical_gradient(0, 0, canvas.width, canvas.height, BACKGROUND_TOP, BACKGROUND_BOTTOM)
    # A few faint rings for depth.
    for cx, cy, r, a in ((canvas.width * 0.92, canvas.height * 0.12, canvas.width * 0.45, 14),
                         (canvas.width * 0.05, canvas.height * 0.85, canvas.width * 0.35, 10)):
        ellipse(canvas, cx, cy, r, r, (255, 255, 255, a))


def draw_category_rows(canvas, layout, text_scale, pictogram_scale):
    """Each hot row gets a button whose text lies over the row; a pictogram sits to its left."""
    for k, name in enumerate(CATEGORIES):
        left, top, right, bottom = hot_row_box(layout, k)
        inset = 2 if bottom - top > 40 else 1
        rounded_rect(canvas, left + 1, top + inset + 1, right + 1, bottom - inset + 1, 7, (0, 0, 0, 60))
        rounded_rect(canvas, left, top + inset, right, bottom - inset, 7, BUTTON_EDGE)
        rounded_rect(canvas, left + 1, top + inset + 1, right - 1, bottom - inset - 1, 6,
                     gradient_paint(top, bottom, BUTTON_TOP, BUTTON_BOTTOM))
        x, y, w, h = draw_text_centred(canvas, left, top, right, bottom, name, text_scale, BUTTON_TEXT)
        # Every line must lie within its row, descenders included.
        assert left <= x and x + w <= right, (layout, name)
        assert top <= y and y + 9 * text_scale <= bottom, (layout, name)

        size = 12 * pictogram_scale
        pad = 2 * pictogram_scale
        badge = size + 2 * pad
        bx = left - 8 - badge
        by = top + (bottom - top - badge) // 2
        ellipse(canvas, bx + badge / 2 + 1, by + badge / 2 + 1, badge / 2, badge / 2, (0, 0, 0, 60))
        ellipse(canvas, bx + badge / 2, by + badge / 2, badge / 2, badge / 2,
                gradient_paint(by, by + badge, hex_color('ffffff'), hex_color('dfe9f7')))
        draw_pixel_art(canvas, bx + pad, by + pad, PICTOGRAMS[CATEGORY_PICTOGRAMS[k]], pictogram_scale,
                       PICTOGRAM_PALETTE)


def draw_gauge_panel(canvas, layout):
    g = GAUGE_ROWS[layout]
    top = g['icon_y'] - 6
    bottom = max(g['icon_y'] + 30, g['bar_y'] + 22) + 6
    rounded_rect(canvas, 11, top + 1, 323, bottom + 1, 8, (0, 0, 0, 70))
    rounded_rect(canvas, 10, top, 322, bottom, 8, PANEL_EDGE)
    rounded_rect(canvas, 11, top + 1, 321, bottom - 1, 7, PANEL)
    # Flat inside, where the gauges go.
    canvas.fill(14, top + 4, 318, bottom - 4, PANEL)


def draw_title(canvas, x, y, scale):
    draw_text(canvas, x, y, "Zelvo Rudore", scale, TITLE, shadow=TITLE_SHADOW)


def splash_portrait():
    c = Canvas(480, 600)
    draw_background(c)
    draw_emblem(c, 34, 26, 64)
    draw_title(c, 114, 30, 5)
    draw_text(c, 116, 76, "for Pocket PC", 2, SUBTITLE)
    draw_category_rows(c, 'portrait', 2, 3)
    draw_gauge_panel(c, 'portrait')
    draw_text(c, 480 - 20 - text_size("Version 1.0", 2)[0], 572, "Version 1.0", 2, SUBTITLE)
    return c


def splash_landscape():
    c = Canvas(640, 440)
    draw_background(c)
    draw_title(c, 150, 12, 4)
    draw_category_rows(c, 'landscape', 2, 2)
    draw_emblem(c, 436, 74, 120)
    for text, y in (("for Pocket PC", 218), ("Version 1.0", 242)):
        w, _ = text_size(text, 2)
        draw_text(c, 496 - w // 2, y, text, 2, SUBTITLE)
    draw_gauge_panel(c, 'landscape')
    return c


def splash_square():
    c = Canvas(480, 400)
    draw_background(c)
    w, _ = text_size("Zelvo Rudore", 5)
    draw_title(c, (480 - w) // 2, 14, 5)
    draw_category_rows(c, 'square', 2, 2)
    draw_emblem(c, 360, 96, 88)
    for text, y in (("Pocket PC", 202), ("Version 1.0", 226)):
        w, _ = text_size(text, 2)
        draw_text(c, 404 - w // 2, y, text, 2, SUBTITLE)
    draw_gauge_panel(c, 'square')
    # The window is taller than the picture by the square screen's 28 rows below it, which
    # show black: the picture's foot fades into them.
    for y in range(380, 400):
        for x in range(c.width):
            c.blend(x, y, (0, 0, 0), (y - 379) / 21.0)
    return c


# ---------------------------------------------------------------- gauges


def gauge_canvas(width, height):
    return Canvas(width, height, PANEL)


def gauge_battery():
    c = gauge_canvas(22, 30)
    dark = hex_color('1d2b44')
    rounded_rect(c, 7, 1, 15, 5, 1.5, dark)
    rounded_rect(c, 3, 4, 19, 29, 3, dark)
    rounded_rect(c, 5, 6, 17, 27, 2, hex_color('f4f7fb'))
    for k, color in enumerate(('3fb950', '3fb950', '2ea043')):
        top = 8 + k * 6
        rounded_rect(c, 6, top + 0.5, 16, top + 5, 1.2, hex_color(color))
    return c


def gauge_memory():
    c = gauge_canvas(22, 30)
    pin = hex_color('b08d2f')
    for k in range(6):
        y = 5 + k * 4
        c.fill(2, y, 5, y + 2, pin)
        c.fill(17, y, 20, y + 2, pin)
    rounded_rect(c, 4, 2, 18, 28, 2, hex_color('1d2b44'))
    rounded_rect(c, 5, 3, 17, 27, 1.5, gradient_paint(3, 27, hex_color('3a4c6b'), hex_color('22324f')))
    ellipse(c, 8, 6, 1.3, 1.3, hex_color('8a97ab'))
    c.fill(8, 12, 14, 13, hex_color('5f7394'))
    c.fill(8, 15, 14, 16, hex_color('5f7394'))
    c.fill(8, 18, 12, 19, hex_color('5f7394'))
    return c


def gauge_storage():
    c = gauge_canvas(22, 30)
    body = hex_color('1b5fc1')
    edge = hex_color('1d2b44')
    # A memory card with its corner cut.
    for y in range(2, 29):
        for x in range(3, 20):
            cut = (x - 13) > (y - 2)
            if not cut:
                inner = 4 <= x <= 18 and 3 <= y <= 27 and (x - 13) <= (y - 2) - 1.5
                c.set(x, y, body[:3] if inner else edge[:3])
    c.fill(6, 4, 16, 5, hex_color('1d2b44'))
    for k in range(4):
        x = 6 + k * 3
        c.fill(x, 6, x + 2, 11, hex_color('f7c948'))
    c.fill(6, 15, 17, 25, hex_color('ffffff'))
    c.fill(8, 17, 15, 18, hex_color('8a97ab'))
    c.fill(8, 20, 13, 21, hex_color('8a97ab'))
    return c


def gauge_bar(top_color, bottom_color, edge_color):
    c = gauge_canvas(64, 22)
    rounded_rect(c, 0, 1, 64, 21, 5, edge_color)
    rounded_rect(c, 1, 2, 63, 20, 4, gradient_paint(2, 20, top_color, bottom_color))
    rounded_rect(c, 3, 3, 61, 10, 3, (255, 255, 255, 70))
    return c


# ---------------------------------------------------------------- the program icon


def icon_image(size):
    c = Canvas(size, size, (0, 0, 0), alpha=0.0)
    draw_emblem(c, 0, 0, size)
    return c


# ---------------------------------------------------------------- file formats


def bmp_bytes(canvas, bits=24):
    """A bottom-up BMP of 24 or 32 bits a pixel."""
    row_size = (canvas.width * bits // 8 + 3) & ~3
    pad = b'\0' * (bits // 8 - 3)
    pixels = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        row = bytearray()
        for x in range(canvas.width):
            r, g, b = (int(round(max(0, min(255, v)))) for v in canvas.get(x, y))
            row += bytes((b, g, r)) + pad
        row += b'\0' * (row_size - len(row))
        pixels += row
    info = struct.pack('<IiiHHIIiiII', 40, canvas.width, canvas.height, 1, bits, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + bytes(pixels)


def ico_bytes(canvases):
    """An icon file with one 32-bit image (and its mask) per canvas."""
    images = []
    for c in canvases:
        xor = bytearray()
        mask_row = ((c.width + 31) // 32) * 4
        mask = bytearray()
        for y in range(c.height - 1, -1, -1):
            bits = bytearray(mask_row)
            for x in range(c.width):
                a = c.alpha[y * c.width + x]
                r, g, b = (int(round(max(0, min(255, v)))) for v in c.get(x, y))
                alpha = int(round(max(0, min(255, a))))
                xor += bytes((b, g, r, alpha))
                if alpha < 128:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        info = struct.pack('<IiiHHIIiiII', 40, c.width, c.height * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        images.append((c.width, c.height, info + bytes(xor) + bytes(mask)))
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for w, h, data in images:
        out += struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    return out


# ---------------------------------------------------------------- main

# The splash pictures are kept in the screen's own format, 32 bits a pixel: the main
# window draws them at every start, and a picture of another depth would be converted
# pixel by pixel each time.
OUTPUTS = [
    ('splash_portrait.bmp', splash_portrait, (480, 600), 32),
    ('splash_landscape.bmp', splash_landscape, (640, 440), 32),
    ('splash_square.bmp', splash_square, (480, 400), 32),
    ('gauge_battery.bmp', gauge_battery, (22, 30)),
    ('gauge_memory.bmp', gauge_memory, (22, 30)),
    ('gauge_storage.bmp', gauge_storage, (22, 30)),
    ('bar_grey.bmp', lambda: gauge_bar(hex_color('f2f4f7'), hex_color('c3cad5'), hex_color('8b96a8')), (64, 22)),
    ('bar_blue.bmp', lambda: gauge_bar(hex_color('8cc2ff'), hex_color('3d8bfd'), hex_color('1b5fc1')), (64, 22)),
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(here)
    for name, make, size, *bits in OUTPUTS:
        canvas = make()
        assert (canvas.width, canvas.height) == size, name
        with open(os.path.join(out_dir, name), 'wb') as f:
            f.write(bmp_bytes(canvas, *bits))
    with open(os.path.join(out_dir, 'rudore.ico'), 'wb') as f:
        f.write(ico_bytes([icon_image(32), icon_image(16)]))


if __name__ == '__main__':
    main()
