#!/usr/bin/env bash
# Puts the certificates saved by the demo (kind01.bmp … kind16.bmp) on one PNG sheet, 4 by 4.
set -euo pipefail
folder=$1
sheet=$2
shopt -s nullglob
files=("$folder"/kind??.bmp)
if [ ${#files[@]} -eq 0 ]; then
  echo "no saved certificates in $folder" >&2
  exit 1
fi
montage "${files[@]}" -tile 4x -geometry +6+6 -background '#e8e8e8' -label '%t' -pointsize 14 "$sheet"
