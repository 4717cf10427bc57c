#!/usr/bin/env bash
# `make run`: starts the certificate maker on the display, or, with no display, runs the headless
# demo and says where its results are.
set -uo pipefail
build=${1:-build}
bin="$build/bin"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin/certmaker"
fi

echo "No display: running the headless demo."
if [ -x "$bin/certmaker-drive" ] && [ -f examples/demo.script ]; then
  out="$build/demo"
  top=$(pwd)
  rm -rf "$out"
  mkdir -p "$out"
  cp examples/sample_photo.jpg "$out/"
  (cd "$out" && "$top/$bin/certmaker-drive" "$top/examples/demo.script")
  status=$?
  if [ -x scripts/contact-sheet.sh ]; then
    bash scripts/contact-sheet.sh "$out" "$out/contact-sheet.png"
  fi
  echo "Demo results: $out (contact sheet: $out/contact-sheet.png)"
  exit $status
fi

# Until the scripted driver exists, say plainly what there is.
echo "The scripted demo driver (certmaker-drive) is not built yet."
echo "What exists now:"
for tool in certmaker formdump picdecode template_maker; do
  if [ -x "$bin/$tool" ]; then echo "  $bin/$tool"; fi
done
echo "Starting the certificate maker on Qt's offscreen platform to show how far it gets:"
QT_QPA_PLATFORM=offscreen timeout 20 "$bin/certmaker"
status=$?
echo "certmaker exited with code $status."
exit 0
