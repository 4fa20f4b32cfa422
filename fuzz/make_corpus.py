#!/usr/bin/env python3
"""Writes the seed corpus of the dialog template walk: every dialog template of the
given compiled resource files (.res, as windres -O res writes them) plus a few
hand-built templates with the header and item forms that resource compilers
rarely write (ordinals and strings in every name field, creation data).

    python3 fuzz/make_corpus.py OUTPUT_DIR [FILE.res ...]
"""

import os
import struct
import sys

RT_DIALOG = 5


def read_name(data, pos):
    """A name-or-ordinal of a .res entry header; returns (value, next position)."""
    (first,) = struct.unpack_from('<H', data, pos)
    if first == 0xFFFF:
        (ordinal,) = struct.unpack_from('<H', data, pos + 2)
        return ordinal, pos + 4
    end = pos
    while struct.unpack_from('<H', data, end)[0] != 0:
        end += 2
    return data[pos:end].decode('utf-16-le'), end + 2


def dialogs_in_res(path):
    with open(path, 'rb') as f:
        data = f.read()
    pos = 0
    while pos + 8 <= len(data):
        data_size, header_size = struct.unpack_from('<II', data, pos)
        rtype, p = read_name(data, pos + 8)
        name, p = read_name(data, p)
        body = pos + header_size
        if rtype == RT_DIALOG and data_size:
            yield name, data[body:body + data_size]
        pos = (body + data_size + 3) & ~3


# ---- hand-built templates


def field(value):
    """Encodes a name-or-ordinal: None empty, int ordinal, str string."""
    if value is None:
        return b'\0\0'
    if isinstance(value, int):
        return struct.pack('<HH', 0xFFFF, value)
    return value.encode('utf-16-le') + b'\0\0'


def template(items, style=0x80C80000, menu=None, wclass=None, title='T', font=None):
    """items: (style, exstyle, x, y, cx, cy, id, class, title, creation data bytes)."""
    if font is not None:
        style |= 0x40
    out = bytearray(struct.pack('<IIHhhhh', style, 0, len(items), 0, 0, 200, 100))
    out += field(menu) + field(wclass) + field(title)
    if font is not None:
        out += struct.pack('<H', font[0]) + field(font[1])
    for st, ex, x, y, cx, cy, cid, cls, text, extra in items:
        while len(out) % 4:
            out += b'\0'
        out += struct.pack('<IIhhhhH', st, ex, x, y, cx, cy, cid) + field(cls) + field(text)
        out += struct.pack('<H', len(extra) + 2 if extra else 0) + extra
    return bytes(out)


def crafted():
    button = (0x50010003, 0, 4, 4, 60, 12, 300, 0x80, 'Check', b'')
    icon = (0x50000203, 0, 70, 4, 32, 32, 301, 0x82, 197, b'')
    listbox = (0x50A10101, 0, 4, 20, 60, 40, 302, 0x83, None, b'')
    named = (0x50000000, 0x200, 4, 64, 60, 10, 303, 'Static', 'Text', b'')
    custom = (0x50000000, 0, 4, 78, 60, 10, 304, 'msctls_updown32', None, b'\1\2\3\4')
    odd = (0x50000000, 0, 4, 90, 60, 10, 305, 0x85, 'x', b'\7\7\7')
    items = [button, icon, listbox, named, custom, odd]
    yield 'no_font', template(items)
    yield 'font_named', template(items, font=(8, 'Tahoma'))
    yield 'font_ordinal', template(items, font=(9, 12))
    yield 'font_empty', template(items, font=(8, None))
    yield 'menu_ordinal_class_string', template(items, menu=102, wclass='MyDialog', title=None, font=(8, 'Tahoma'))
    yield 'menu_string_class_ordinal', template(items, menu='MainMenu', wclass=0x8002, title=106)
    yield 'unnamed_pair', template([(0x50000000, 0, 1, 1, 9, 9, 0xFFFF, 0x82, 'a', b''),
                                    (0x50000000, 0, 2, 2, 9, 9, 0xFFFF, 0x82, 'b', b'')])
    yield 'no_items', template([], font=(8, 'Tahoma'))


def main():
    out_dir = sys.argv[1]
    os.makedirs(out_dir, exist_ok=True)
    for path in sys.argv[2:]:
        for name, data in dialogs_in_res(path):
            with open(os.path.join(out_dir, 'dialog_%s.bin' % name), 'wb') as f:
                f.write(data)
    for name, data in crafted():
        with open(os.path.join(out_dir, 'crafted_%s.bin' % name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
