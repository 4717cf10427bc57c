#!/usr/bin/env python3
"""Writes the malformed picture files of this folder. Every one must decode to no picture.

Run from anywhere: python3 make_hostile.py (files are written next to this script).
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def write(name, data):
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(data)


def bmp(width, height, bits, compression=0, data=b'', palette=b''):
    offset = 54 + len(palette)
    header = b'BM' + struct.pack('<IHHI', offset + len(data), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, compression, len(data), 2835, 2835,
                       len(palette) // 4, 0)
    return header + info + palette + data


def png_chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)


def png(width, height, colour_type, idat):
    ihdr = struct.pack('>IIBBBBB', width, height, 8, colour_type, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + png_chunk(b'IHDR', ihdr) + png_chunk(b'IDAT', idat) + png_chunk(b'IEND', b''))


def pack_codes(codes):
    bits = 0
    count = 0
    out = bytearray()
    for code, width in codes:
        bits |= code << count
        count += width
        while count >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            count -= 8
    if count:
        out.append(bits & 0xFF)
    return bytes(out)


def gif(screen, frame, data, min_code_size=2):
    head = b'GIF89a' + struct.pack('<HHBBB', screen[0], screen[1], 0x81, 0, 0)
    table = bytes([0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255])
    descriptor = b',' + struct.pack('<HHHHB', 0, 0, frame[0], frame[1], 0)
    blocks = bytearray()
    for i in range(0, len(data), 255):
        part = data[i:i + 255]
        blocks += bytes([len(part)]) + part
    return head + table + descriptor + bytes([min_code_size]) + bytes(blocks) + b'\x00;'


def ico(entries, images, kind=1):
    out = struct.pack('<HHH', 0, kind, len(entries))
    for width, size, offset in entries:
        out += struct.pack('<BBBBHHII', width, width, 0, 0, 1, 32, size, offset)
    return out + images


def jpeg_with_size(width, height):
    # SOI, a baseline frame header of one component, and nothing else.
    sof = b'\xff\xc0' + struct.pack('>HBHHB', 11, 8, height, width, 1) + b'\x01\x11\x00'
    return b'\xff\xd8' + sof + b'\xff\xd9'


# BMP
write('bmp_height_int_min.bmp', bmp(1, -2147483648, 24, data=b'\0' * 16))
write('bmp_60000x60000.bmp', bmp(60000, 60000, 24, data=b'\0' * 256))
write('bmp_width_int_min.bmp', bmp(-2147483648, 1, 24, data=b'\0' * 16))
write('bmp_rle8_overrun.bmp', bmp(4, 4, 8, compression=1, data=bytes([255, 1] * 64), palette=b'\0' * 1024))
write('bmp_offset_before_palette.bmp', bmp(2, 2, 8, palette=b'\0' * 1024)[:10] + struct.pack('<I', 20)
      + bmp(2, 2, 8, palette=b'\0' * 1024)[14:] + b'\0' * 8)
write('bmp_colours_used_huge.bmp', bmp(2, 2, 8, data=b'\0' * 8)[:46] + struct.pack('<I', 0x40000000)
      + bmp(2, 2, 8, data=b'\0' * 8)[50:])
write('bmp_core_header.bmp', b'BM' + struct.pack('<IHHI', 40, 0, 0, 26) + struct.pack('<IHHHH', 12, 2, 2, 1, 24)
      + b'\0' * 40)

# PNG: a decompression bomb (declares 50000 x 50000 RGBA, carries a little deflated zero data)
write('png_bomb_50000.png', png(50000, 50000, 6, zlib.compress(b'\0' * 200000, 9)))
write('png_bad_crc.png', png(4, 4, 6, zlib.compress(b'\0' * 68))[:29] + b'\0\0\0\0' + png(4, 4, 6, b'')[33:])
write('png_width_zero.png', png(0, 4, 6, zlib.compress(b'\0' * 4)))

# GIF
# A chain whose prefix is not smaller than its code: a code equal to the next free code right after
# a clear (no previous string to extend).
write('gif_lzw_free_code_first.gif', gif((4, 4), (4, 4), pack_codes([(4, 3), (6, 3), (5, 3)])))
# A code beyond the table.
write('gif_lzw_code_beyond_table.gif', gif((4, 4), (4, 4), pack_codes([(4, 3), (1, 3), (7, 3), (5, 3)])))
# A minimum code size of 12 (code table overflow on the first entry).
write('gif_code_size_12.gif', gif((4, 4), (4, 4), b'\x00\x10', min_code_size=12))
write('gif_frame_65535x65535.gif', gif((65535, 65535), (65535, 65535), pack_codes([(4, 3), (5, 3)])))
write('gif_no_image.gif', b'GIF89a' + struct.pack('<HHBBB', 1, 1, 0, 0, 0) + b'!\xfe\x01x\x00;')
write('gif_unknown_extension.gif', b'GIF89a' + struct.pack('<HHBBB', 1, 1, 0, 0, 0) + b'!\x77\x00,' + b'\0' * 9)
write('gif_table_reaches_end.gif', b'GIF89a' + struct.pack('<HHBBB', 1, 1, 0x87, 0, 0) + b'\0' * 40)
write('gif_sub_block_past_end.gif', gif((4, 4), (4, 4), pack_codes([(4, 3), (1, 3)]))[:-3] + b'\xff\x01')

# PCX
def pcx(version, bits, planes, width, height, line, data=b''):
    header = struct.pack('<BBBBHHHHHH', 10, version, 1, bits, 0, 0, width - 1, height - 1, 72, 72)
    header += b'\0' * 48 + bytes([0, planes]) + struct.pack('<HH', line, 1)
    return header + b'\0' * (128 - len(header)) + data


write('pcx_24bit_planes.pcx', pcx(5, 8, 3, 4, 4, 4, b'\xc4\x01' * 12))
write('pcx_line_shorter_than_width.pcx', pcx(5, 8, 1, 64, 2, 2, b'\xff\x00' * 4))
write('pcx_4bit.pcx', pcx(5, 4, 1, 4, 4, 2, b'\0' * 8))
write('pcx_header_only.pcx', pcx(5, 8, 1, 4, 4, 4)[:128])
write('pcx_huge_rle_overrun.pcx', pcx(5, 8, 1, 65535, 65535, 65535, b'\xff\x07' * 1000))

# Icons and cursors
write('ico_entry_past_end.ico', ico([(32, 40, 0x7FFFFFF0)], b'\0' * 40))
write('ico_size_past_end.ico', ico([(32, 0xFFFFFFF0, 22)], b'\0' * 40))
write('ico_directory_cut.ico', struct.pack('<HHH', 0, 1, 5) + b'\0' * 20)
dib = struct.pack('<IiiHHIIiiII', 40, 30000, 60000, 1, 32, 0, 0, 0, 0, 0, 0)
write('cur_huge_dib.cur', ico([(0, len(dib) + 16, 22)], dib + b'\0' * 16, kind=2))
dib16 = struct.pack('<IiiHHIIiiII', 40, 2, 4, 1, 16, 0, 0, 0, 0, 0, 0)
write('ico_16bit_dib.ico', ico([(2, len(dib16) + 24, 22)], dib16 + b'\0' * 24))

# JPEG
write('jpeg_65500x65500.jpg', jpeg_with_size(65500, 65500))
write('jpeg_soi_only.jpg', b'\xff\xd8\xff\xd9' + b'\0' * 8)
write('jpeg_zero_width.jpg', jpeg_with_size(0, 16))
