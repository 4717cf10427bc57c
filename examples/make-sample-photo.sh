#!/usr/bin/env bash
# Draws the demo's sample portrait (a cartoon face of our own) with ImageMagick.
set -euo pipefail
out=${1:-"$(dirname "$0")/sample_photo.jpg"}
convert -size 152x180 gradient:'#bfe3ff'-'#eaf6ff' \
  -fill '#2f3b52' -draw 'ellipse 76,186 62,52 180,360' \
  -fill '#ffffff' -draw 'polygon 62,140 90,140 76,162' \
  -fill '#f2c9a0' -draw 'rectangle 66,112 86,140' \
  -fill '#f6d5b1' -draw 'ellipse 76,86 40,48 0,360' \
  -fill '#3a2a1e' -draw 'ellipse 76,52 42,24 180,360' -draw 'rectangle 34,50 42,80' -draw 'rectangle 110,50 118,80' \
  -fill '#f6d5b1' -draw 'ellipse 36,90 7,11 0,360' -draw 'ellipse 116,90 7,11 0,360' \
  -fill '#3a2a1e' -draw 'ellipse 61,84 5,6 0,360' -draw 'ellipse 91,84 5,6 0,360' \
  -stroke '#3a2a1e' -strokewidth 3 -draw 'line 52,70 68,68' -draw 'line 84,68 100,70' \
  -stroke '#c0504d' -strokewidth 3 -fill none -draw 'arc 62,100 90,118 20,160' \
  -stroke none -fill '#f0a8a0' -draw 'ellipse 52,104 7,4 0,360' -draw 'ellipse 100,104 7,4 0,360' \
  -quality 90 -sampling-factor 2x2 -strip "$out"
