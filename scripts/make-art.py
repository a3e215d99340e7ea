#!/usr/bin/env python3
"""Draws the editor's icons and cursors and writes them as Windows .ico and .cur files.

    scripts/make-art.py [OUTPUT_DIR]        (default: resources/art)

Writes ostrel.ico (the program), missing_point.ico (stands in for a missing point-icon
file), the four drag cursors cursor_104/105/106/144.cur and marks/mark01.ico to
marks/mark55.ico (the point icons). Only the Python standard library is used, and every
run writes the same bytes, so the outputs can be kept under version control and checked
against the script.
"""

import math
import os
import struct
import sys

# ---------------------------------------------------------------------------------------
# Raster helper: an RGBA canvas painted with shapes given as signed distance functions
# (negative inside, in pixels), so that an outline is the same shape painted once more,
# shrunk by the outline's width.

TRANSPARENT = (0, 0, 0, 0)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)

# 4 x 4 sample points per pixel give the edges 16 levels of coverage.
SMOOTH_SAMPLES = [((i + 0.5) / 4, (j + 0.5) / 4) for j in range(4) for i in range(4)]
SAMPLE_REACH = 0.54  # a little over the corner samples' distance from the centre, 0.375 * sqrt(2)
# Cursors are monochrome: a pixel is in or out, decided at its centre.
CENTRE_SAMPLE = [(0.5, 0.5)]


class Canvas:
    def __init__(self, size):
        self.size = size
        self.pixels = [[TRANSPARENT] * size for _ in range(size)]  # rows, top first

    def paint(self, shape, colour, inset=0.0, smooth=True, opacity=1.0):
        """Lays colour over the pixels that shape covers once shrunk by inset (grown
        when inset is negative)."""
        samples = SMOOTH_SAMPLES if smooth else CENTRE_SAMPLE
        for y in range(self.size):
            for x in range(self.size):
                if smooth:
                    # The shapes' distances change no faster than the position does, and
                    # no sample is more than SAMPLE_REACH from the centre: a pixel whose
                    # centre is farther than that from the edge is wholly in or out.
                    centre = shape(x + 0.5, y + 0.5) + inset
                    if centre > SAMPLE_REACH:
                        continue
                    if centre < -SAMPLE_REACH:
                        self.blend(x, y, colour, opacity)
                        continue
                hits = sum(1 for sx, sy in samples if shape(x + sx, y + sy) < -inset)
                if hits:
                    self.blend(x, y, colour, opacity * hits / len(samples))

    def blend(self, x, y, colour, cover):
        """Source-over compositing of an opaque colour at the given coverage."""
        r0, g0, b0, a0 = self.pixels[y][x]
        a0 /= 255.0
        a = cover + a0 * (1 - cover)
        mix = [(c * cover + c0 * a0 * (1 - cover)) / a for c, c0 in zip(colour, (r0, g0, b0))]
        self.pixels[y][x] = tuple(int(round(c)) for c in mix) + (int(round(a * 255)),)

    def picture(self, rows, left, top, palette):
        """Sets pixels from character art; palette maps a character to an RGB colour,
        other characters leave the pixel as it is."""
        if (min(left, top) < 0 or top + len(rows) > self.size
                or left + max(map(len, rows)) > self.size):
            raise ValueError('character art does not fit on the canvas')
        for dy, row in enumerate(rows):
            for dx, mark in enumerate(row):
                if mark in palette:
                    self.pixels[top + dy][left + dx] = tuple(palette[mark]) + (255,)


def disc(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def box(x0, y0, x1, y1, radius=0.0):
    """A rectangle, its corners rounded by radius."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def distance(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return distance


def polygon(points):
    """A convex polygon, its points in clockwise order on the screen (y down)."""
    edges = []
    for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
        length = math.hypot(x1 - x0, y1 - y0)
        # Outward normal of a clockwise edge with y pointing down.
        edges.append((x0, y0, (y1 - y0) / length, (x0 - x1) / length))
    return lambda x, y: max((x - x0) * nx + (y - y0) * ny for x0, y0, nx, ny in edges)


def segment(x0, y0, x1, y1, width):
    """A stroke of the given width with round ends."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def distance(x, y):
        t = min(max(((x - x0) * dx + (y - y0) * dy) / length2, 0.0), 1.0)
        return math.hypot(x - x0 - t * dx, y - y0 - t * dy) - width / 2
    return distance


def union(*shapes):
    return lambda x, y: min(shape(x, y) for shape in shapes)


def minus(shape, hole):
    return lambda x, y: max(shape(x, y), -hole(x, y))


def pin(cx, cy, r, tip_y):
    """A map pin: a round head over a point, the sides tangent to the head."""
    d = tip_y - cy
    sin_a = r / d
    cos_a = math.sqrt(1 - sin_a * sin_a)
    # Tangent points of the lines from the tip to the head.
    ty = cy + r * sin_a
    body = polygon([(cx + r * cos_a, ty), (cx, tip_y), (cx - r * cos_a, ty)])
    return union(disc(cx, cy, r), body)


def shade(colour, factor):
    """Darker (factor < 1) or lighter (factor > 1, towards white) version of a colour."""
    if factor <= 1:
        return tuple(int(round(c * factor)) for c in colour)
    return tuple(int(round(c + (255 - c) * (factor - 1))) for c in colour)


# ---------------------------------------------------------------------------------------
# Pixel fonts: the point numbers and the question mark.

SMALL_FONT = {  # 3 x 5, for 16 x 16 images
    '0': ['###', '#.#', '#.#', '#.#', '###'],
    '1': ['.#.', '##.', '.#.', '.#.', '###'],
    '2': ['###', '..#', '###', '#..', '###'],
    '3': ['###', '..#', '.##', '..#', '###'],
    '4': ['#.#', '#.#', '###', '..#', '..#'],
    '5': ['###', '#..', '###', '..#', '###'],
    '6': ['###', '#..', '###', '#.#', '###'],
    '7': ['###', '..#', '..#', '.#.', '.#.'],
    '8': ['###', '#.#', '###', '#.#', '###'],
    '9': ['###', '#.#', '###', '..#', '###'],
    '?': ['##.', '..#', '.#.', '...', '.#.'],
}

LARGE_FONT = {  # 6 x 10 with two-pixel strokes, for 32 x 32 images
    '0': ['.####.', '######', '##..##', '##..##', '##..##',
          '##..##', '##..##', '##..##', '######', '.####.'],
    '1': ['..##..', '.###..', '####..', '..##..', '..##..',
          '..##..', '..##..', '..##..', '######', '######'],
    '2': ['.####.', '######', '##..##', '....##', '...###',
          '..###.', '.###..', '###...', '######', '######'],
    '3': ['.####.', '######', '##..##', '....##', '..###.',
          '..###.', '....##', '##..##', '######', '.####.'],
    '4': ['...##.', '..###.', '.####.', '##.##.', '##.##.',
          '######', '######', '...##.', '...##.', '...##.'],
    '5': ['######', '######', '##....', '#####.', '######',
          '....##', '....##', '##..##', '######', '.####.'],
    '6': ['.####.', '######', '##....', '#####.', '######',
          '##..##', '##..##', '##..##', '######', '.####.'],
    '7': ['######', '######', '....##', '...##.', '...##.',
          '..##..', '..##..', '.##...', '.##...', '.##...'],
    '8': ['.####.', '######', '##..##', '##..##', '.####.',
          '######', '##..##', '##..##', '######', '.####.'],
    '9': ['.####.', '######', '##..##', '##..##', '##..##',
          '######', '.#####', '....##', '######', '.####.'],
    '?': ['.####.', '######', '##..##', '....##', '...###',
          '..###.', '..##..', '......', '..##..', '..##..'],
}


def font_for(size):
    return SMALL_FONT if size < 32 else LARGE_FONT


def write_text(canvas, text, centre_x, centre_y, colour):
    """Writes text centred on a point, one blank column between characters."""
    font = font_for(canvas.size)
    glyph_w, glyph_h = len(font['0'][0]), len(font['0'])
    gap = 1 if font is SMALL_FONT else 2
    width = len(text) * glyph_w + (len(text) - 1) * gap
    left = int(math.floor(centre_x - width / 2 + 0.5))
    top = int(math.floor(centre_y - glyph_h / 2 + 0.5))
    for i, ch in enumerate(text):
        canvas.picture(font[ch], left + i * (glyph_w + gap), top, {'#': colour})


# ---------------------------------------------------------------------------------------
# Point icons: eleven colours times five shapes. The number picks both (colour by its
# remainder modulo 11, shape modulo 5); since 11 and 5 have no common factor, all 55
# combinations occur once, and consecutive numbers differ in colour and shape.

MARK_COLOURS = [
    (214, 40, 40),    # red
    (238, 128, 22),   # orange
    (246, 208, 32),   # yellow
    (142, 200, 48),   # lime
    (28, 140, 60),    # green
    (0, 148, 140),    # teal
    (80, 190, 240),   # sky
    (40, 78, 206),    # blue
    (128, 62, 196),   # purple
    (212, 52, 168),   # magenta
    (146, 94, 52),    # brown
]


def mark_shape(kind, size):
    """The outline of shape kind (0-4) filling a size x size image, and where the
    number's centre goes."""
    s = float(size)
    c = s / 2
    e = 0.5 * s / 16  # keeps the smoothed edge inside the image
    if kind == 0:
        return disc(c, c, c - e), (c, c)
    if kind == 1:
        return box(e, e, s - e, s - e, radius=s * 0.19), (c, c)
    if kind == 2:
        # Tips cut off by the image's edge leave room for the number.
        tip = s / 16
        return polygon([(c, -tip), (s + tip, c), (c, s + tip), (-tip, c)]), (c, c)
    if kind == 3:
        return polygon([(c, e), (s - e, s * 0.26), (s - e, s * 0.74),
                        (c, s - e), (e, s * 0.74), (e, s * 0.26)]), (c, c)
    return polygon([(e, e), (s - e, e), (s - e, s * 0.56), (c, s - e),
                    (e, s * 0.56)]), (c, s * 0.40)


def mark_icon(number, size):
    colour = MARK_COLOURS[(number - 1) % len(MARK_COLOURS)]
    shape, (tx, ty) = mark_shape((number - 1) % 5, size)
    border = max(1.0, size / 16)
    canvas = Canvas(size)
    canvas.paint(shape, shade(colour, 0.55))
    canvas.paint(shape, colour, inset=border)
    luminance = 0.299 * colour[0] + 0.587 * colour[1] + 0.114 * colour[2]
    text_colour = (24, 24, 24) if luminance > 150 else WHITE
    write_text(canvas, '%02d' % number, tx, ty, text_colour)
    return canvas


# ---------------------------------------------------------------------------------------
# The program's icon: a red map pin standing on a folded road map. Drawn on a 32-unit
# grid and scaled to each size.

def program_icon(size):
    k = size / 32.0
    line = max(1.0, k)
    canvas = Canvas(size)
    xs = [2, 11, 21, 30]
    tops = [15, 12, 15, 12]
    bottoms = [30, 27, 30, 27]
    paper = [(236, 230, 196), (208, 200, 160), (236, 230, 196)]
    for i in range(3):
        panel = polygon([(xs[i] * k, tops[i] * k), (xs[i + 1] * k, tops[i + 1] * k),
                         (xs[i + 1] * k, bottoms[i + 1] * k), (xs[i] * k, bottoms[i] * k)])
        canvas.paint(panel, (96, 84, 56))
        canvas.paint(panel, paper[i], inset=line)
    if size >= 32:  # at 16 pixels they only blur the folds
        # A river and a road across the folds, kept off the outline.
        canvas.paint(segment(4 * k, 25 * k, 28 * k, 17 * k, 2.2 * k), (70, 140, 220))
        canvas.paint(segment(6 * k, 18 * k, 26 * k, 26 * k, 2.6 * k), (232, 120, 30))
    # The pin, its shadow on the map first.
    canvas.paint(disc(18 * k, 24.5 * k, 2.5 * k), BLACK, opacity=0.35)
    head = pin(18 * k, 9 * k, 7.5 * k, 24.5 * k)
    canvas.paint(head, (120, 12, 12))
    canvas.paint(head, (222, 36, 36), inset=line)
    canvas.paint(disc(18 * k, 9 * k, 2.8 * k), WHITE)
    return canvas


# The built-in point icon that replaces a missing point-icon file: a grey pin with a
# question mark.

def missing_point_icon(size):
    s = float(size)
    canvas = Canvas(size)
    cx = s / 2 + 0.5 * (s / 16)  # centred on a pixel column, like the glyph
    head_y = s * 0.38
    shape = pin(cx, head_y, s * 0.34, s - 0.5)
    canvas.paint(shape, (78, 78, 78))
    canvas.paint(shape, (168, 168, 168), inset=max(1.0, s / 16))
    write_text(canvas, '?', cx, head_y, WHITE)
    return canvas


# ---------------------------------------------------------------------------------------
# Cursors: 32 x 32, black on white outlines so that they show on any background.
# '#' black, '.' white, anything else transparent.

ARROW = [
    '#',
    '##',
    '#.#',
    '#..#',
    '#...#',
    '#....#',
    '#.....#',
    '#......#',
    '#.......#',
    '#........#',
    '#.........#',
    '#......#####',
    '#...#..#',
    '#..##..#',
    '#.#  #..#',
    '##   #..#',
    '#     #..#',
    '      #..#',
    '       ##',
]

PLUS = [
    '  ####',
    '  #..#',
    '###..###',
    '#......#',
    '#......#',
    '###..###',
    '  #..#',
    '  ####',
]

CURSOR_PALETTE = {'#': BLACK, '.': WHITE}


def plain_arrow_cursor():
    canvas = Canvas(32)
    canvas.picture(ARROW, 0, 0, CURSOR_PALETTE)
    return canvas, (0, 0)


def list_row(canvas, left, top):
    """A list row: a white bar in a black frame, with a line of 'text'."""
    canvas.paint(box(left, top, left + 16, top + 6), BLACK, smooth=False)
    canvas.paint(box(left + 1, top + 1, left + 15, top + 5), WHITE, smooth=False)
    canvas.paint(box(left + 3, top + 3, left + 12, top + 4), BLACK, smooth=False)


def drag_cursor(rows):
    """The arrow dragging one row or a stack of rows, with a plus sign above them."""
    canvas = Canvas(32)
    canvas.picture(ARROW, 0, 0, CURSOR_PALETTE)
    top = 28 - 5 * rows - 1  # stacked rows share their frame lines
    for i in range(rows):
        list_row(canvas, 11, top + 5 * i)
    canvas.picture(PLUS, 19, top - 8, CURSOR_PALETTE)
    return canvas, (0, 0)


def no_entry_cursor():
    """A circle with a diagonal bar, centred on pixel (15, 15)."""
    canvas = Canvas(32)
    c = 15.5
    ring = minus(disc(c, c, 11), disc(c, c, 7.5))
    bar = segment(c - 6.5, c - 6.5, c + 6.5, c + 6.5, 4.2)
    sign = union(ring, bar)
    canvas.paint(sign, WHITE, inset=-1.2, smooth=False)
    canvas.paint(sign, BLACK, smooth=False)
    return canvas, (15, 15)


# ---------------------------------------------------------------------------------------
# File formats. An .ico or .cur file is a directory of images, each a BMP without its
# file header: a BITMAPINFOHEADER whose height counts the colour bitmap and the AND mask
# together, the colour bitmap (bottom row first, rows padded to 4 bytes) and the
# one-bit AND mask, in which 1 means "leave the screen as it is".

def bmp_rows(rows):
    """Joins bitmap rows bottom first, each padded to a multiple of 4 bytes."""
    return b''.join(row + b'\0' * (-len(row) % 4) for row in reversed(rows))


def pack_bits(bits):
    out = bytearray((len(bits) + 7) // 8)
    for i, bit in enumerate(bits):
        if bit:
            out[i // 8] |= 0x80 >> (i % 8)
    return bytes(out)


def info_header(size, bit_count):
    return struct.pack('<IiiHHIIiiII', 40, size, 2 * size, 1, bit_count, 0, 0, 0, 0, 0, 0)


def encode_colour_image(canvas):
    """A 32-bit image with straight alpha. Pixels less than half covered are masked out
    and stored black: a program that draws with the AND mask instead of the alpha
    then gets a clean outline rather than colours XORed into the screen."""
    colour_rows, mask_rows = [], []
    for row in canvas.pixels:
        data = bytearray()
        mask = []
        for r, g, b, a in row:
            clear = a < 128
            if clear:
                r = g = b = 0
            data += struct.pack('<BBBB', b, g, r, a)
            mask.append(clear)
        colour_rows.append(bytes(data))
        mask_rows.append(pack_bits(mask))
    return info_header(canvas.size, 32) + bmp_rows(colour_rows) + bmp_rows(mask_rows)


def encode_monochrome_image(canvas):
    """A two-colour image: transparent pixels are AND 1 / XOR 0, black 0/0, white 0/1."""
    palette = struct.pack('<BBBBBBBB', 0, 0, 0, 0, 255, 255, 255, 0)
    colour_rows, mask_rows = [], []
    for row in canvas.pixels:
        white, clear = [], []
        for pixel in row:
            if pixel[3] == 0:
                white.append(False)
                clear.append(True)
            elif pixel[:3] in (BLACK, WHITE):
                white.append(pixel[:3] == WHITE)
                clear.append(False)
            else:
                raise ValueError('a cursor pixel is neither black, white nor transparent')
        colour_rows.append(pack_bits(white))
        mask_rows.append(pack_bits(clear))
    return (info_header(canvas.size, 1) + palette
            + bmp_rows(colour_rows) + bmp_rows(mask_rows))


ICON, CURSOR = 1, 2


def container(kind, entries):
    """entries: (size, colour count, word 1, word 2, image bytes). For icons the two
    words are planes and bit count; for cursors they are the hotspot's x and y."""
    header = struct.pack('<HHH', 0, kind, len(entries))
    offset = len(header) + 16 * len(entries)
    directory, images = b'', b''
    for size, colours, word1, word2, image in entries:
        directory += struct.pack('<BBBBHHII', size % 256, size % 256, colours, 0,
                                 word1, word2, len(image), offset)
        offset += len(image)
        images += image
    return header + directory + images


def icon_file(canvases):
    """The smallest image goes first: LoadImage asked for no particular size takes a
    file's first image, and the point list, which loads its icons so, shows the small
    ones (the large list then shows them scaled up)."""
    ordered = sorted(canvases, key=lambda c: c.size)
    return container(ICON, [(c.size, 0, 1, 32, encode_colour_image(c)) for c in ordered])


def cursor_file(canvas, hotspot):
    return container(CURSOR, [(canvas.size, 2, hotspot[0], hotspot[1],
                               encode_monochrome_image(canvas))])


# ---------------------------------------------------------------------------------------

# The lists' 16 and 32 pixels at 96 DPI, and what they become at 125, 150 and 200 % display
# scale, so that a program aware of the DPI finds a picture drawn for each size.
ICON_SIZES = (16, 20, 24, 32, 40, 48, 64)


def artwork():
    """Every file to write, as (path relative to the output folder, bytes)."""
    files = [
        ('ostrel.ico', icon_file([program_icon(n) for n in ICON_SIZES])),
        ('missing_point.ico', icon_file([missing_point_icon(n) for n in ICON_SIZES])),
        ('cursor_104.cur', cursor_file(*plain_arrow_cursor())),
        ('cursor_105.cur', cursor_file(*drag_cursor(1))),
        ('cursor_144.cur', cursor_file(*drag_cursor(2))),
        ('cursor_106.cur', cursor_file(*no_entry_cursor())),
    ]
    for number in range(1, 56):
        files.append(('marks/mark%02d.ico' % number,
                      icon_file([mark_icon(number, n) for n in ICON_SIZES])))
    return files


def write_all(out_dir):
    for name, data in artwork():
        path = os.path.join(out_dir, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        # Write beside the target and rename, so that an interrupted run leaves no
        # half-written file behind.
        temporary = path + '.tmp'
        with open(temporary, 'wb') as f:
            f.write(data)
        os.replace(temporary, path)


def main(argv):
    if len(argv) > 2:
        sys.stderr.write('usage: make-art.py [OUTPUT_DIR]\n')
        return 2
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = argv[1] if len(argv) == 2 else os.path.join(here, '..', 'resources', 'art')
    write_all(out_dir)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
