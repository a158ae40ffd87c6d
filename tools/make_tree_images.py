#!/usr/bin/env python3
"""Draws the editor's tree pictures into data/Images.

The editor shows one picture per element name: a file named after the element in lower
case (documentid.png), with generalpropertyimage.png for elements without a picture of
their own and splr4.png for the document element. This script reads the element names of
SPLR4Definitions/DefinitionSPLR4.xml, sorts each into a kind (group, product, ingredient,
package, section, text, code, date, id, file) and writes that kind's picture under the
element's name. Run it after the vocabulary changes and commit the PNG files:

    python3 tools/make_tree_images.py
"""
import os
import struct
import sys
import xml.etree.ElementTree as ET
import zlib

SIZE = 16
ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
DEFINITION = os.path.join(ROOT, 'data', 'SPLR4Definitions', 'DefinitionSPLR4.xml')
IMAGES = os.path.join(ROOT, 'data', 'Images')


class Canvas:
    def __init__(self):
        self.px = [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]

    def dot(self, x, y, c):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.px[y][x] = c

    def fill(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.dot(x, y0, c)
            self.dot(x, y1, c)
        for y in range(y0, y1 + 1):
            self.dot(x0, y, c)
            self.dot(x1, y, c)

    def disc(self, cx, cy, r, c):
        for y in range(SIZE):
            for x in range(SIZE):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.dot(x, y, c)

    def line(self, x0, y0, x1, y1, c):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.dot(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), c)

    def png(self):
        raw = b''.join(b'\x00' + b''.join(bytes(p) for p in row) for row in self.px)
        def chunk(kind, data):
            body = kind + data
            return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xffffffff)
        header = struct.pack('>IIBBBBB', SIZE, SIZE, 8, 6, 0, 0, 0)
        return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')


INK = (60, 60, 60, 255)
PAPER = (255, 255, 255, 255)
BLUE = (40, 90, 180, 255)
LIGHTBLUE = (150, 190, 235, 255)
YELLOW = (240, 200, 80, 255)
DARKYELLOW = (190, 140, 30, 255)
RED = (200, 50, 50, 255)
GREEN = (60, 150, 70, 255)
BROWN = (170, 120, 70, 255)
LIGHTBROWN = (215, 175, 120, 255)
GREY = (150, 150, 150, 255)
PURPLE = (130, 80, 170, 255)


def page(c, fold=True):
    c.fill(3, 1, 12, 14, PAPER)
    c.frame(3, 1, 12, 14, INK)
    if fold:
        c.fill(10, 1, 12, 3, (0, 0, 0, 0))
        c.line(9, 1, 12, 4, INK)
        c.line(9, 1, 9, 4, INK)
        c.line(9, 4, 12, 4, INK)


def draw_document(c):
    page(c)
    for y in (6, 8, 10, 12):
        c.line(5, y, 10, y, BLUE)


def draw_group(c):
    c.fill(1, 4, 6, 5, DARKYELLOW)
    c.fill(1, 5, 14, 13, YELLOW)
    c.frame(1, 5, 14, 13, DARKYELLOW)


def draw_product(c):
    for y, (x0, x1) in {5: (2, 13), 6: (1, 14), 7: (1, 14), 8: (1, 14), 9: (1, 14), 10: (2, 13)}.items():
        c.line(x0, y, 7, y, RED)
        c.line(8, y, x1, y, PAPER)
    c.line(3, 4, 12, 4, INK)
    c.line(3, 11, 12, 11, INK)
    c.line(0, 6, 0, 9, INK)
    c.line(15, 6, 15, 9, INK)
    for x, y in ((1, 5), (2, 4), (1, 10), (2, 11), (14, 5), (13, 4), (14, 10), (13, 11)):
        c.dot(x, y, INK)


def draw_ingredient(c):
    c.fill(6, 1, 9, 5, LIGHTBLUE)
    c.frame(6, 1, 9, 5, INK)
    for y in range(6, 15):
        half = (y - 5) // 2 + 2
        c.line(7 - half + 1, y, 8 + half - 1, y, GREEN if y > 9 else LIGHTBLUE)
    c.line(2, 14, 13, 14, INK)
    c.line(6, 5, 2, 14, INK)
    c.line(9, 5, 13, 14, INK)


def draw_package(c):
    c.fill(2, 5, 13, 14, LIGHTBROWN)
    c.frame(2, 5, 13, 14, BROWN)
    c.fill(1, 3, 14, 5, BROWN)
    c.line(7, 3, 7, 14, PAPER)
    c.line(8, 3, 8, 14, PAPER)


def draw_section(c):
    page(c, fold=False)
    c.fill(4, 2, 11, 4, BLUE)
    for y in (7, 9, 11, 13):
        c.line(5, y, 10 if y != 13 else 8, y, GREY)


def draw_text(c):
    for y, end in ((3, 13), (6, 13), (9, 13), (12, 9)):
        c.fill(2, y, end, y + 1, INK)


def draw_code(c):
    c.fill(1, 3, 14, 12, PAPER)
    c.frame(1, 3, 14, 12, INK)
    for x in (3, 4, 6, 8, 9, 11, 12):
        c.line(x, 5, x, 10, INK)


def draw_date(c):
    c.fill(1, 2, 14, 14, PAPER)
    c.frame(1, 2, 14, 14, INK)
    c.fill(1, 2, 14, 5, RED)
    c.fill(4, 0, 4, 3, INK)
    c.fill(11, 0, 11, 3, INK)
    for y in (8, 11):
        for x in (3, 6, 9, 12):
            c.fill(x, y, x + 1, y + 1, GREY)


def draw_id(c):
    c.fill(0, 3, 15, 12, LIGHTBLUE)
    c.frame(0, 3, 15, 12, BLUE)
    c.disc(4, 7, 2, BLUE)
    c.fill(2, 9, 6, 10, BLUE)
    for y in (5, 8, 10):
        c.line(8, y, 13, y, INK)


def draw_file(c):
    page(c)
    c.fill(5, 7, 10, 12, PURPLE)
    c.frame(5, 7, 10, 12, INK)


def draw_general(c):
    c.disc(7.5, 7.5, 4, GREEN)
    c.disc(7.5, 7.5, 1.5, PAPER)


KINDS = {
    'document': draw_document, 'group': draw_group, 'product': draw_product,
    'ingredient': draw_ingredient, 'package': draw_package, 'section': draw_section,
    'text': draw_text, 'code': draw_code, 'date': draw_date, 'id': draw_id, 'file': draw_file,
}

PRODUCTS = {'Products', 'Product', 'KitAssembly', 'KitPart'}
INGREDIENTS = {'Ingredient', 'ActiveMoiety'}
PACKAGES = {'Package', 'OuterPackage', 'BulkLot'}
SECTIONS = {'DocumentSections', 'Section', 'component', 'ProductLabel', 'OmitSections'}


def kind_of(element):
    name = element.tag
    data_type = element.get('ConstraintDataType', '')
    if name in PRODUCTS:
        return 'product'
    if name in INGREDIENTS:
        return 'ingredient'
    if name in PACKAGES:
        return 'package'
    if name in SECTIONS:
        return 'section'
    if len(element):
        return 'group'
    if data_type in ('File', 'Folder', 'SPLFile') or name.endswith('FileName'):
        return 'file'
    if data_type == 'GUID' or name.endswith('ID') or name.endswith('DUNSNumber') or name == 'LotNumber':
        return 'id'
    if 'Time' in name or name.endswith('Date'):
        return 'date'
    if element.get('ConstraintValues') or name.endswith('Code'):
        return 'code'
    if element.get('AllowMultiLineText') == '1':
        return 'text'
    return None


def main():
    os.makedirs(IMAGES, exist_ok=True)
    pictures = {}
    root = ET.parse(DEFINITION).getroot()
    for element in root.iter():
        if element is root:
            continue
        kind = kind_of(element)
        if kind:
            pictures.setdefault(element.tag.lower(), kind)
    pictures[root.tag.lower()] = 'document'

    def write(key, draw):
        canvas = Canvas()
        draw(canvas)
        with open(os.path.join(IMAGES, key + '.png'), 'wb') as f:
            f.write(canvas.png())

    for stale in os.listdir(IMAGES):
        if stale.endswith('.png'):
            os.remove(os.path.join(IMAGES, stale))
    write('generalpropertyimage', draw_general)
    for key, kind in sorted(pictures.items()):
        write(key, KINDS[kind])
    print(f'{len(pictures) + 1} pictures written to {IMAGES}')


if __name__ == '__main__':
    sys.exit(main())
