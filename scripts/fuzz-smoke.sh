#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each for a short while on a seed
# corpus: the picture decoders on the imaging test files (plus pictures ImageMagick makes, when it is
# installed), other targets on their own seed folder fuzz/seeds/<name>/ if they have one (the form
# reader's is made by scripts/make-form-seeds.py). Exits non-zero on a crash.
# Usage: scripts/fuzz-smoke.sh [SECONDS_PER_TARGET]
# Each target runs SECONDS_PER_TARGET (default 20), less when the build took so long that the whole
# run would pass its budget of 5 minutes; never less than 5 seconds.
set -euo pipefail
budget=285

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
seconds=${1:-20}
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCERTMAKER_FUZZ=ON \
  -DCERTMAKER_BENCH=OFF -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null

targets=()
for source in "$root"/fuzz/*_fuzz.cpp; do
  targets+=("$(basename "$source" .cpp)")
done
cmake --build "$build" -j 2 --target "${targets[@]}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Seeds for the picture decoders: every file under tests/runtime/imaging, and small good pictures.
imaging_seeds="$work/imaging-seeds"
mkdir -p "$imaging_seeds"
# The pictures of shown/ declare huge sizes on purpose (memory tests): decoding one takes longer than
# a fuzzing run allows under the sanitizers, so they are no seeds.
find "$root/tests/runtime/imaging" -type f ! -path "*/shown/*" ! -name '*.cpp' ! -name '*.h' ! -name '*.py' -exec cp {} "$imaging_seeds/" \;
if command -v convert >/dev/null 2>&1; then
  for extension in jpg bmp gif png pcx ico; do
    convert rose: -crop 24x16+20+20 +repage "$imaging_seeds/rose.$extension" 2>/dev/null || true
  done
  convert rose: -crop 24x16+20+20 +repage -interlace Plane "$imaging_seeds/progressive.jpg" 2>/dev/null || true
  convert rose: -crop 24x16+20+20 +repage -interlace GIF "$imaging_seeds/interlaced.gif" 2>/dev/null || true
  convert rose: -crop 24x16+20+20 +repage -sampling-factor 2x1 "$imaging_seeds/half-width-colour.jpg" 2>/dev/null || true
  convert rose: -crop 24x16+20+20 +repage -colorspace Gray "$imaging_seeds/grey.jpg" 2>/dev/null || true
fi

left=$(( (budget - SECONDS) / ${#targets[@]} ))
if [ "$left" -lt "$seconds" ]; then
  seconds=$(( left > 5 ? left : 5 ))
fi

# A unit that runs longer than this counts as a hang. Pictures within the decoders' caps may declare
# tens of millions of pixels in a few hundred bytes, and each target decodes them up to three times
# under the sanitizers, where touching fresh memory is slow on some machines: 8 s has been seen for a
# sound 65304 x 240 JPEG. A hang still shows at this bound.
unit_seconds=30

status=0
for target in "${targets[@]}"; do
  corpus="$work/corpus-$target"
  mkdir -p "$corpus"
  case "$target" in
    jpeg_fuzz|jpeg_sequential_fuzz|png_fuzz|bmp_fuzz|gif_fuzz|pcx_fuzz|icon_fuzz)
      cp "$imaging_seeds"/* "$corpus/" 2>/dev/null || true
      seeds="$root/fuzz/seeds/${target%_fuzz}"
      if [ -d "$seeds" ]; then cp -r "$seeds"/. "$corpus/"; fi
      ;;
    *)
      seeds="$root/fuzz/seeds/${target%_fuzz}"
      [ -d "$seeds" ] && cp -r "$seeds"/. "$corpus/"
      ;;
  esac
  echo "== $target (${seconds}s)"
  if ! (cd "$work" && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
        "$build/bin/$target" "$corpus" -max_total_time="$seconds" -timeout="$unit_seconds" -rss_limit_mb=2560 \
        -print_final_stats=0 >"$work/$target.log" 2>&1); then
    echo "$target failed:"
    tail -n 60 "$work/$target.log"
    status=1
  fi
done
exit $status
