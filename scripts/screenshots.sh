#!/usr/bin/env bash
# Screenshots of the certificate maker as a user sees it: the program on a virtual X display with a
# window manager (Xvfb and openbox), driven with real input (xdotool), captured with ImageMagick.
#
#   scripts/screenshots.sh [BUILD_DIR] [OUT_DIR]     (defaults: build, docs)
#
# Writes OUT_DIR/save_dialog.png: the save dialog after "生成", opened on a folder of Chinese file
# names. Then types /dev/full as the name, confirms it (and the overwrite prompt), and writes
# OUT_DIR/save_failed.png with the message box that the failed save shows. The program runs under
# LANG=C.UTF-8 and an empty configuration folder, so what it shows depends on neither.
set -euo pipefail

build=${1:-build}
out=${2:-docs}
program="$build/bin/certmaker"
[ -x "$program" ] || { echo "no $program: run 'make build' first" >&2; exit 1; }
for tool in Xvfb openbox xdotool import; do
  command -v "$tool" >/dev/null || { echo "missing $tool: run scripts/install-deps.sh" >&2; exit 1; }
done
mkdir -p "$out"

work=$(mktemp -d /tmp/certmaker-screenshots.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# A display number nobody uses.
number=90
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
export DISPLAY=":$number"
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

export XDG_CONFIG_HOME="$work/config" LANG=C.UTF-8 LC_ALL=C.UTF-8
mkdir -p "$XDG_CONFIG_HOME"
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1

# Waits (up to $2 tenths of a second) until the active window is not $1; prints the new one.
wait_for_other_window() {
  local previous=$1 tries=$2 active
  for _ in $(seq "$tries"); do
    active=$(xdotool getactivewindow 2>/dev/null || true)
    if [ -n "$active" ] && [ "$active" != "$previous" ]; then echo "$active"; return 0; fi
    sleep 0.1
  done
  return 1
}

shot() {
  sleep 0.8  # let the window manager and the program finish painting
  import -window root "$1"
  echo "wrote $1"
}

# A folder of Chinese names for the dialog to show (its own name is typed, so it stays ASCII:
# xdotool's typing of characters without a key on the keyboard is not reliable).
folder="$work/certificates"
mkdir -p "$folder/输出"
cp examples/sample_photo.jpg "$folder/照片 样本.jpg"
printf 'BM' >"$folder/证书.bmp"

"$program" >"$work/certmaker.log" 2>&1 &
pids+=($!)
main=$(timeout 20 xdotool search --sync --onlyvisible --class certmaker | head -1)
[ -n "$main" ] || { echo "the main window did not appear" >&2; exit 1; }
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
sleep 1

# "生成" lies at (660, 293) in the main window's client area.
xdotool mousemove --window "$main" 660 293 click 1
dialog=$(wait_for_other_window "$main" 100) || { echo "the save dialog did not open" >&2; exit 1; }
# The file name field has the focus: a folder typed there is opened.
xdotool type --delay 15 "$folder/"
xdotool key Return
sleep 0.5
xdotool key ctrl+a BackSpace
shot "$out/save_dialog.png"

xdotool type --delay 15 /dev/full
xdotool key Return
# /dev/full exists, so the dialog asks before replacing it: answer 是(Y).
if prompt=$(wait_for_other_window "$dialog" 30); then
  xdotool key y
fi
sleep 1
active=$(xdotool getactivewindow 2>/dev/null || true)
if [ -n "$active" ] && [ "$active" != "$main" ] && [ "$active" != "$dialog" ] && [ "$active" != "${prompt:-}" ]; then
  shot "$out/save_failed.png"
  xdotool key Return
else
  echo "no message box followed the failed save; $out/save_failed.png not written" >&2
  exit 2
fi
