#!/usr/bin/env bash
# Runs a Windows program under Wine: scripts/wine-run.sh PROGRAM.exe [ARGUMENTS...]
# The cross builds' emulator (ctest runs every Windows test through it) and the Windows demo's.
#   - 64-bit programs run under Wine's 64-bit loader, 32-bit ones under `wine` (which needs a
#     machine that executes 32-bit programs).
#   - The Wine prefix is $WINEPREFIX, or wine-prefix/ in the build folder (the folder above the
#     program's bin/); it is created on first use, once, even when several runs start together.
#   - The display is $DISPLAY; without one, the program gets a virtual one of its own (xvfb-run).
# The program's exit code is passed on.
set -uo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 PROGRAM.exe [ARGUMENTS...]" >&2
  exit 2
fi
program=$1
shift

program_folder=$(cd "$(dirname "$program")" && pwd)
export WINEPREFIX=${WINEPREFIX:-$(dirname "$program_folder")/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No dialogs offering to install Wine's .NET and HTML engines; nothing here needs them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

case "$(file -b "$program")" in
  PE32+*) loader=/usr/lib/wine/wine64 ;;
  PE32*) loader=wine ;;
  *)
    echo "$0: $program is not a Windows program" >&2
    exit 2
    ;;
esac

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a "$0" "$program" "$@"
fi

# The first start of a prefix writes its registry and system folder (10 to 30 seconds); runs that
# start together wait for the one that creates it.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      "$loader" wineboot --init >/dev/null 2>&1
      wineserver -w
    fi
  ) 9>"$WINEPREFIX.lock"
fi

exec "$loader" "$program" "$@"
