#!/usr/bin/env bash
# The Windows build's entry points, called by the Makefile:
#   windows.sh build          `make windows`: the 32-bit program and tests in build-win32/
#   windows.sh test           `make test-windows`: the Windows tests under Wine
#   windows.sh demo           `make windows-demo`: examples/demo.script with certmaker-drive.exe,
#                             its certificates compared with the Linux build's of the same demo
#                             (scripts/compare-certificates.py)
# The product is the 32-bit build. Where this machine cannot execute 32-bit programs (Wine's 32-bit
# loader is refused by the kernel), the tests and the demo run the same sources built for 64-bit
# Windows (build-win64/) under Wine's 64-bit loader, and say so.
# Environment: JOBS, CMAKE_ARGS, WIN32_BUILD, WIN64_BUILD, WINDOWS_TARGETS as in the Makefile;
# WINE_DISPLAY to use a display of your own instead of a private Xvfb; LINUX_DEMO, a folder with the
# Linux build's certificates of the demo to compare with (else they are made in build/demo, BUILD to
# change it).
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
jobs=${JOBS:-$(nproc)}
read -r -a cmake_args <<<"${CMAKE_ARGS:-}"
win32_build=${WIN32_BUILD:-build-win32}
win64_build=${WIN64_BUILD:-build-win64}

# build ARCH FOLDER [TARGET...]: configures (once) and builds a cross build, all of it or the targets.
build() {
  local arch=$1 folder=$2
  shift 2
  cmake -S . -B "$folder" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release "${cmake_args[@]}" >/dev/null
  if [ $# -gt 0 ]; then
    cmake --build "$folder" -j "$jobs" --target "$@"
  else
    cmake --build "$folder" -j "$jobs"
  fi
}

# Chooses the build the tests and the demo run, and says which and why.
choose_build() {
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    folder=$win32_build
    loader=wine
    echo "Windows: running the 32-bit build ($folder) under wine."
    build i686 "$folder"
  else
    folder=$win64_build
    loader=/usr/lib/wine/wine64
    echo "Windows: this machine cannot execute 32-bit programs (Wine's 32-bit loader does not start),"
    echo "so the same sources built for 64-bit Windows ($folder) run under Wine's 64-bit loader."
    build x86_64 "$folder"
  fi
}

xvfb_pid=""
prefix=""
# A private virtual display and the build's own Wine prefix, both ended on exit.
start_wine() {
  folder=$(cd "$folder" && pwd)
  prefix="$folder/wine-prefix"
  export WINEPREFIX=$prefix WINEDEBUG=-all
  trap stop_wine EXIT
  if [ -n "${WINE_DISPLAY:-}" ]; then
    export DISPLAY=$WINE_DISPLAY
  else
    local number_file
    number_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
      [ -s "$number_file" ] && break
      sleep 0.1
    done
    if [ ! -s "$number_file" ]; then
      echo "error: Xvfb did not start" >&2
      exit 1
    fi
    export DISPLAY=":$(head -n1 "$number_file")"
    rm -f "$number_file"
  fi
  # The prefix is made (or brought up to date) once, and its server stays up for the whole run
  # instead of starting again for every test program. The server writes the registry files only
  # when it ends, and scripts/wine-run.sh takes a prefix without them for a new one and waits for
  # its server to end: so the first server ends before the one that stays is started. Then Wine's
  # background services start once more, here, with no output of a test program to hold open.
  mkdir -p "$prefix"
  "$loader" wineboot --init >/dev/null 2>&1 || true
  wineserver -w
  wineserver -p
  "$loader" wineboot </dev/null >/dev/null 2>&1 || true
  echo "Wine prefix $prefix, display $DISPLAY."
}

stop_wine() {
  if [ -n "$prefix" ]; then
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}

case "${1:-}" in
  build)
    # WINDOWS_TARGETS names a part to build (CI builds only the programs for 32 bits where their tests
    # run from the 64-bit build).
    read -r -a targets <<<"${WINDOWS_TARGETS:-}"
    build i686 "$win32_build" "${targets[@]}"
    file "$win32_build/bin/certmaker.exe"
    ;;
  test)
    choose_build
    start_wine
    status=0
    (cd "$folder" && ctest --output-on-failure -j "$jobs") || status=$?
    # CTest counts test programs; GoogleTest's own summary of each counts the tests in it.
    log="$folder/Testing/Temporary/LastTest.log"
    if [ -f "$log" ]; then
      echo "GoogleTest's counts:"
      grep -E '^[0-9]+/[0-9]+ Test: |^\[==========\] [0-9]+ tests? from .* ran|^\[  (PASSED|FAILED)  \] [0-9]+ test' "$log" || true
    fi
    exit $status
    ;;
  demo)
    choose_build
    start_wine
    out="$folder/demo"
    rm -rf "$out"
    mkdir -p "$out"
    cp examples/sample_photo.jpg examples/demo.script "$out/"
    # The demo's script, reading back where the overlays and the photo are before every save.
    python3 scripts/compare-certificates.py places examples/demo.script >"$out/demo-places.script"
    status=0
    (cd "$out" && "$top/scripts/wine-run.sh" "$folder/bin/certmaker-drive.exe" demo-places.script) \
      >"$out/drive.log" || status=$?
    cat "$out/drive.log"
    bash scripts/contact-sheet.sh "$out" "$out/contact-sheet.png" || status=1
    echo "Windows demo results: $out (contact sheet: $out/contact-sheet.png)"

    # The Linux build's certificates of the same demo: LINUX_DEMO, or made in $BUILD/demo.
    reference=${LINUX_DEMO:-}
    if [ -z "$reference" ]; then
      linux_build=${BUILD:-build}
      reference="$linux_build/demo"
      if [ ! -f "$reference/drive.log" ] || [ ! -f "$reference/kind16.bmp" ]; then
        echo "Making the Linux build's certificates of the same demo in $reference."
        if [ ! -x "$linux_build/bin/certmaker-drive" ]; then
          cmake -S . -B "$linux_build" -DCMAKE_BUILD_TYPE=Release "${cmake_args[@]}" >/dev/null
          cmake --build "$linux_build" -j "$jobs" --target certmaker-drive
        fi
        rm -rf "$reference"
        mkdir -p "$reference"
        cp examples/sample_photo.jpg "$out/demo-places.script" "$reference/"
        (cd "$reference" && "$top/$linux_build/bin/certmaker-drive" demo-places.script >drive.log) || {
          echo "error: the Linux build's demo failed (see $reference/drive.log)" >&2
          exit 1
        }
      fi
    fi
    echo "Comparing with the Linux build's certificates in $reference:"
    python3 scripts/compare-certificates.py compare "$out" "$reference" || status=1
    exit $status
    ;;
  *)
    echo "usage: $0 build|test|demo" >&2
    exit 2
    ;;
esac
