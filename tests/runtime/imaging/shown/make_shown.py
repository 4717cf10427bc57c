#!/usr/bin/env python3
"""Writes the pictures of this folder: tiny files that declare a huge picture within the decoders'
limits, or a huge part of one. They may decode or not; shown in the picture box, what they cost must
follow the size of the box, not the size they declare.

Run from anywhere: python3 make_shown.py (files are written next to this script).
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def write(name, data):
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(data)


def pcx(bits, width, height, line, data, version=5):
    header = struct.pack('<BBBBHHHHHH', 10, version, 1, bits, 0, 0, width - 1, height - 1, 72, 72)
    header += b'\0' * 48 + bytes([0, 1]) + struct.pack('<HH', line, 1)
    return header + b'\0' * (128 - len(header)) + data


# 1 bit: 32768 x 32768 in 136 bytes (four runs, the rest missing).
write('pcx1_32768x32768.pcx', pcx(1, 32768, 32768, 4096, b'\xff\x00' * 4, version=3))
# 8 bits: 16000 x 16000 with a few runs and its colour table.
palette = bytes(range(256)) * 3
write('pcx8_16000x16000.pcx', pcx(8, 16000, 16000, 16000, b'\xff\x80' * 4 + b'\x0c' + palette))
# BMP: 24 bits, 12000 x 12000, a few bytes of rows.
info = struct.pack('<IiiHHIIiiII', 40, 12000, 12000, 1, 24, 0, 0, 2835, 2835, 0, 0)
write('bmp_12000x12000.bmp', b'BM' + struct.pack('<IHHI', 54 + 64, 0, 0, 54) + info + b'\x80' * 64)
# GIF: a 20000 x 20000 logical screen around a 4 x 4 frame.
head = b'GIF89a' + struct.pack('<HHBBB', 20000, 20000, 0x81, 0, 0) + bytes([0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255])
frame = b',' + struct.pack('<HHHHB', 0, 0, 4, 4, 0) + b'\x02\x02\x84\x51\x00'
write('gif_screen_20000x20000.gif', head + frame + b';')
# PNG: 10000 x 10000 RGBA, rows of zeros deflated.
def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)
rows = zlib.compress(b'\0' * (10000 * 4 + 1) * 10000, 9)
write('png_10000x10000.png', b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', 10000, 10000, 8, 6, 0, 0, 0))
      + chunk(b'IDAT', rows) + chunk(b'IEND', b''))
# PNG: 8192 x 8192 grey, interlaced: no row is complete before the last of the seven passes.
def adam7_zero_rows(width, height, bytes_per_pixel):
    out = []
    for x0, y0, dx, dy in ((0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2),
                           (0, 1, 1, 2)):
        columns = (width - x0 + dx - 1) // dx
        rows = (height - y0 + dy - 1) // dy
        if columns and rows:
            out.append(b'\0' * (columns * bytes_per_pixel + 1) * rows)
    return b''.join(out)
interlaced = zlib.compress(adam7_zero_rows(8192, 8192, 1), 9)
write('png_interlaced_8192x8192.png', b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', 8192, 8192, 8, 0, 0, 0, 1))
      + chunk(b'IDAT', interlaced) + chunk(b'IEND', b''))
# PNG: a 24 x 16 picture whose text chunk before the pixels declares 512 MiB and holds 30 bytes.
write('png_text_chunk_512mib.png', b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', 24, 16, 8, 2, 0, 0, 0))
      + struct.pack('>I', 512 * 1024 * 1024) + b'tEXt' + b'Comment\0' + b'x' * 22)
# JPEG: 12000 x 12000 grey, progressive, whose first scan holds 16 bytes of a picture that needs two
# and a quarter million blocks.
dqt = b'\xff\xdb' + struct.pack('>H', 67) + b'\0' + b'\x01' * 64
sof = b'\xff\xc2' + struct.pack('>HBHHB', 11, 8, 12000, 12000, 1) + bytes([1, 0x11, 0])
dht = b'\xff\xc4' + struct.pack('>H', 20) + b'\0' + bytes([1] + [0] * 15) + b'\0'  # one code of one bit
sos = b'\xff\xda' + struct.pack('>HB', 8, 1) + bytes([1, 0, 0, 0, 0])
write('jpeg_progressive_12000x12000.jpg', b'\xff\xd8' + dqt + sof + dht + sos + b'\0' * 16 + b'\xff\xd9')
