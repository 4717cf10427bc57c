#!/bin/sh
# Writes the pictures of this folder as ImageMagick's `convert` makes them. The tests read these
# files on every system, so no test needs ImageMagick at run time. Run from anywhere:
# sh make_pictures.sh.
set -e
cd "$(dirname "$0")"
# The photos: a 40 x 50 red-to-blue gradient in every format the photo box reads.
for name in photo.jpg photo.png photo.bmp photo.gif photo.pcx photo.ico; do
  options=""
  # Run-length BMPs are not read, so the BMP is written uncompressed.
  case $name in *.bmp) options="-compress none" ;; esac
  # shellcheck disable=SC2086
  convert -size 40x50 gradient:red-blue -colors 200 -type Palette $options -strip "$name"
done
# 2 x 1 with alpha: opaque red, then fully transparent blue; and the same as an icon.
convert -size 1x1 xc:red -size 1x1 xc:'rgba(0,0,255,0)' +append -strip PNG32:red_and_clear.png
convert red_and_clear.png red_and_clear.ico
