#!/usr/bin/env python3
"""Reads back every file that make-art.py writes, with a parser of its own, and checks
that Windows will find what it expects in them: directory entries that match their
bitmaps, AND masks that agree with the alpha, hotspots on the cursor's tip or centre,
55 different point icons whose numbers can be read, and committed files that are what
the script writes now."""

import importlib.util
import os
import struct
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
COMMITTED = os.path.join(HERE, '..', 'resources', 'art')


def load_generator():
    spec = importlib.util.spec_from_file_location('make_art', os.path.join(HERE, 'make-art.py'))
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


class Image:
    """One decoded directory entry: pixels[y][x] = (r, g, b, a), top row first, and
    masked[y][x] from the AND mask."""

    def __init__(self, data, entry):
        width, height, colours, _, word1, word2, length, offset = entry
        self.entry_size = (width or 256, height or 256)
        self.words = (word1, word2)
        self.colours = colours
        if offset + length > len(data):
            raise ValueError('image runs past the end of the file')
        (header_size, w, h, planes, bits, compression, _, _, _, used, _) = struct.unpack_from(
            '<IiiHHIIiiII', data, offset)
        if (header_size, planes, compression, used) != (40, 1, 0, 0):
            raise ValueError('unexpected BITMAPINFOHEADER')
        if (w, h) != (self.entry_size[0], 2 * self.entry_size[1]):
            raise ValueError('bitmap size differs from the directory entry')
        self.size, self.bits = w, bits
        pos = offset + 40
        palette = []
        if bits == 1:
            palette = [struct.unpack_from('<BBB', data, pos + 4 * i)[::-1] for i in range(2)]
            pos += 8
        stride = (w * bits + 31) // 32 * 4
        mask_stride = (w + 31) // 32 * 4
        if pos + w * (stride + mask_stride) != offset + length:
            raise ValueError('entry length differs from the bitmap data')
        self.pixels, self.masked = [], []
        for y in range(w):
            row = data[pos + (w - 1 - y) * stride:]
            mask = data[pos + w * stride + (w - 1 - y) * mask_stride:]
            self.masked.append([bool(mask[x // 8] & (0x80 >> x % 8)) for x in range(w)])
            if bits == 32:
                self.pixels.append([struct.unpack_from('<BBBB', row, 4 * x)[2::-1]
                                    + (row[4 * x + 3],) for x in range(w)])
            else:
                self.pixels.append([palette[(row[x // 8] >> (7 - x % 8)) & 1] + (255,)
                                    for x in range(w)])


def parse(data):
    """(kind, [Image]) of an .ico (kind 1) or .cur (kind 2) file."""
    reserved, kind, count = struct.unpack_from('<HHH', data, 0)
    if reserved != 0 or kind not in (1, 2) or count == 0:
        raise ValueError('not an icon or cursor directory')
    entries = [struct.unpack_from('<BBBBHHII', data, 6 + 16 * i) for i in range(count)]
    # The images follow the directory back to back and end the file.
    expected = 6 + 16 * count
    for entry in entries:
        if entry[7] != expected:
            raise ValueError('images are not contiguous')
        expected += entry[6]
    if expected != len(data):
        raise ValueError('file length differs from its directory')
    return kind, [Image(data, entry) for entry in entries]


class ArtworkTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.generator = load_generator()
        cls.files = dict(cls.generator.artwork())
        cls.parsed = {name: parse(data) for name, data in cls.files.items()}

    def test_every_file_is_written(self):
        marks = {'marks/mark%02d.ico' % n for n in range(1, 56)}
        others = {'ostrel.ico', 'missing_point.ico', 'cursor_104.cur', 'cursor_105.cur',
                  'cursor_106.cur', 'cursor_144.cur'}
        self.assertEqual(set(self.files), marks | others)

    def test_icons_hold_32_bit_images_smallest_first_with_matching_masks(self):
        for name, (kind, images) in self.parsed.items():
            if not name.endswith('.ico'):
                continue
            with self.subTest(name):
                self.assertEqual(kind, 1)
                sizes = [image.size for image in images]
                self.assertEqual(sizes, [16, 20, 24, 32, 40, 48, 64])
                for image in images:
                    self.assertEqual((image.bits, image.words, image.colours), (32, (1, 32), 0))
                    opaque = 0
                    for pixel_row, mask_row in zip(image.pixels, image.masked):
                        for (r, g, b, a), masked in zip(pixel_row, mask_row):
                            self.assertEqual(masked, a < 128)
                            if masked:
                                self.assertEqual((r, g, b), (0, 0, 0))
                            opaque += a == 255
                    self.assertGreater(opaque, image.size * image.size // 3)
                    self.assertTrue(any(any(row) for row in image.masked))

    def test_cursors_are_monochrome_with_hotspot_on_the_tip_or_centre(self):
        for number in (104, 105, 106, 144):
            kind, images = self.parsed['cursor_%d.cur' % number]
            with self.subTest(number):
                self.assertEqual((kind, len(images)), (2, 1))
                image = images[0]
                self.assertEqual((image.size, image.bits), (32, 1))
                x, y = image.words
                drawn = [(px, py) for py in range(32) for px in range(32)
                         if not image.masked[py][px]]
                self.assertFalse(image.masked[y][x], 'hotspot on a transparent pixel')
                if number == 106:
                    xs = [px for px, _ in drawn]
                    ys = [py for _, py in drawn]
                    self.assertEqual((x, y), ((min(xs) + max(xs)) // 2, (min(ys) + max(ys)) // 2))
                else:
                    self.assertEqual((x, y), min(drawn, key=lambda p: p[0] + p[1]))

    def test_cursors_differ(self):
        bitmaps = {tuple(map(tuple, images[0].masked)) + tuple(map(tuple, images[0].pixels))
                   for name, (_, images) in self.parsed.items() if name.endswith('.cur')}
        self.assertEqual(len(bitmaps), 4)

    def test_point_icons_differ_without_their_numbers(self):
        # Told apart by shape (the alpha channel) and colour (the commonest opaque one)
        # alone; consecutive numbers differ in both.
        for index in range(2):
            looks = []
            for n in range(1, 56):
                pixels = self.parsed['marks/mark%02d.ico' % n][1][index].pixels
                alpha = tuple(tuple(a for *_, a in row) for row in pixels)
                opaque = [p for row in pixels for p in row if p[3] == 255]
                looks.append((alpha, max(set(opaque), key=opaque.count)))
            self.assertEqual(len(set(looks)), 55)
            for before, after in zip(looks, looks[1:]):
                self.assertNotEqual(before[0], after[0])
                self.assertNotEqual(before[1], after[1])

    def test_point_icons_show_their_number_whole(self):
        # The number is the only run of its colour in the icon: read the glyphs back
        # from the pixels of the text colour and compare them with the font.
        for n in range(1, 56):
            for image in self.parsed['marks/mark%02d.ico' % n][1]:
                with self.subTest(number=n, size=image.size):
                    font = self.generator.font_for(image.size)
                    text = [p for p in ((255, 255, 255, 255), (24, 24, 24, 255))
                            if any(p in row for row in image.pixels)]
                    self.assertEqual(len(text), 1)
                    lit = {(x, y) for y, row in enumerate(image.pixels)
                           for x, pixel in enumerate(row) if pixel == text[0]}
                    left = min(x for x, _ in lit)
                    top = min(y for _, y in lit)
                    glyph_w, glyph_h = len(font['0'][0]), len(font['0'])
                    step = glyph_w + (1 if glyph_w == 3 else 2)
                    expected = set()
                    for i, digit in enumerate('%02d' % n):
                        for dy, line in enumerate(font[digit]):
                            for dx, mark in enumerate(line):
                                if mark == '#':
                                    expected.add((left + i * step + dx, top + dy))
                    self.assertEqual(lit, expected)
                    # Clear of the image's edge, so that the outline surrounds it.
                    self.assertTrue(all(0 < x < image.size - 1 and 0 < y < image.size - 1
                                        for x, y in lit))

    def test_output_is_deterministic_and_committed_files_are_current(self):
        self.assertEqual(dict(self.generator.artwork()), self.files)
        for name, data in self.files.items():
            path = os.path.join(COMMITTED, name)
            with self.subTest(name), open(path, 'rb') as f:
                self.assertEqual(f.read(), data, 'rerun scripts/make-art.py')

    def test_parser_rejects_truncated_files(self):
        # Guards the checks above: a damaged file must not parse.
        data = self.files['missing_point.ico']
        for cut in (5, 40, len(data) // 2, len(data) - 1):
            with self.assertRaises((ValueError, struct.error)):
                parse(data[:cut])


if __name__ == '__main__':
    unittest.main()
