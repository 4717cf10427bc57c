#!/usr/bin/env python3
"""Writes the seeds of the picture decoders' fuzz targets (bmp, gif, pcx, png): small pictures that
are larger than the boxes the targets show them in, so that reducing and cropping rows as they are
read starts from real data, and the cases where it differs by layout (top-down rows, runs that end
early, a frame off the screen, 16-bit and interlaced rows). Needs ImageMagick's convert.

Run from anywhere: python3 make_picture_seeds.py (files are written into the folders beside it).
"""
import os
import struct
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROSE = ['rose:', '-crop', '24x16+20+20', '+repage']


def convert(args, prefix, suffix):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, 'seed' + suffix)
        subprocess.run(['convert'] + args + [prefix + path], check=True)
        with open(path, 'rb') as f:
            return f.read()


def write(folder, name, data):
    os.makedirs(os.path.join(HERE, folder), exist_ok=True)
    with open(os.path.join(HERE, folder, name), 'wb') as f:
        f.write(data)


# BMP: rows stored top row first (negative height), and 4 bits per pixel.
bmp = bytearray(convert(ROSE + ['-type', 'truecolor'], 'BMP3:', '.bmp'))
height = struct.unpack_from('<i', bmp, 22)[0]
struct.pack_into('<i', bmp, 22, -height)
write('bmp', 'top_down_24bit.bmp', bytes(bmp))
write('bmp', 'palette_4bit.bmp', convert(ROSE + ['-colors', '16', '-type', 'palette', '-compress', 'none'],
                                         'BMP3:', '.bmp'))
# PCX: runs that end a third of the way through, at 8 bits and at 1 bit.
for name, extra in (('palette_cut.pcx', ['-type', 'palette']), ('monochrome_cut.pcx', ['-colors', '2', '-type', 'palette', '-depth', '1'])):
    pcx = convert(ROSE + extra, '', '.pcx')
    write('pcx', name, pcx[:128 + (len(pcx) - 128) // 3])
# GIF: the frame moved beyond the right edge of the logical screen.
gif = bytearray(convert(ROSE, '', '.gif'))
at = gif.index(b',', 13)
struct.pack_into('<H', gif, at + 1, 20)
write('gif', 'frame_off_screen.gif', bytes(gif))
# PNG: 16-bit grey with a transparent value, and interlaced rows.
write('png', 'grey16_transparent.png', convert(ROSE + ['-colorspace', 'gray', '-depth', '16', '-transparent',
                                                      'black', '-fuzz', '20%'], 'PNG:', '.png'))
write('png', 'interlaced.png', convert(ROSE + ['-interlace', 'PNG'], 'PNG24:', '.png'))
