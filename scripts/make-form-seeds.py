#!/usr/bin/env python3
"""Writes the form reader's fuzz seeds into fuzz/seeds/form_reader/ from a built main window
description: the description itself and variants that reach the reader's other paths.
Usage: scripts/make-form-seeds.py [BUILD_DIR]   (default: build)"""
import os
import struct
import sys

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'build')
source = open(os.path.join(build, 'app', 'data', 'main_window.form'), 'rb').read()
out = os.path.join(root, 'fuzz', 'seeds', 'form_reader')
os.makedirs(out, exist_ok=True)


def dword(data, at):
    return struct.unpack_from('<I', data, at)[0]


def split(block):
    """The block as (head, [window]), each window (fixed, count, ids, records, trailing)."""
    list_length = dword(block, 0)
    window_count = list_length // 8
    at = 4 + list_length
    head = block[:at]
    windows = []
    for _ in range(window_count):
        start = at
        at += 8
        for _ in range(2):
            at += 4 + dword(block, at)
        fixed = block[start:at]
        count = dword(block, at)
        body_length = dword(block, at + 4)
        body = block[at + 8:at + 8 + body_length]
        at += 8 + body_length
        ids = [dword(body, 4 * i) for i in range(count)]
        offsets = [dword(body, 4 * count + 4 * i) for i in range(count)]
        area = body[8 * count:]
        records = []
        for offset in offsets:
            n = dword(area, offset)
            records.append(area[offset + 4:offset + 4 + n])
        end = max(offset + 4 + len(record) for offset, record in zip(offsets, records))
        windows.append((fixed, ids, records, area[end:]))
    return head, windows


def join(head, windows, layout=None, gap=0, offsets_patch=None):
    """Writes the windows back, records placed in `layout` order with `gap` bytes between them."""
    block = bytearray(head)
    for fixed, ids, records, trailing in windows:
        count = len(ids)
        order = layout(count) if layout else list(range(count))
        offsets = [0] * count
        area = bytearray()
        for index in order:
            area += b'\0' * gap
            offsets[index] = len(area)
            area += struct.pack('<I', len(records[index])) + records[index]
        area += trailing
        if offsets_patch:
            offsets_patch(offsets)
        body = b''.join(struct.pack('<I', i) for i in ids) + b''.join(struct.pack('<I', o) for o in offsets) + area
        block += fixed + struct.pack('<II', count, len(body)) + body
    return bytes(block)


head, windows = split(source)
assert join(head, windows) == source, 'the description does not write back as read'


def first_units(n):
    fixed, ids, records, trailing = windows[0]
    return [(fixed, ids[:n], records[:n], trailing)] + windows[1:]


def same_record(offsets):
    offsets[2] = offsets[1]


seeds = {
    'main_window.form': source,
    'records_backwards.form': join(head, windows, layout=lambda n: list(reversed(range(n)))),
    'records_with_gaps.form': join(head, windows, gap=3),
    'three_units.form': join(head, first_units(3)),
    'three_units_interleaved.form': join(head, first_units(3), layout=lambda n: [1, 0, 2]),
    'two_units_one_record.form': join(head, first_units(3), offsets_patch=same_record),
    'truncated.form': source[:len(source) // 3],
    'no_windows.form': b'',
}
for name, data in seeds.items():
    with open(os.path.join(out, name), 'wb') as f:
        f.write(data)
    print(f'{name}: {len(data)} bytes')
