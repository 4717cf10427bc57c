#!/usr/bin/env bash
# `make lint`: the formatting check (clang-format, .clang-format) over the project's own sources and
# clang-tidy (.clang-tidy) over every translation unit of the build, two at a time. Fails on a
# formatting difference or a tidy warning. Usage: scripts/lint.sh [BUILD_DIR]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
cd "$root"
jobs=${LINT_JOBS:-2}
status=0

mapfile -t sources < <(git ls-files '*.cpp' '*.h' | grep -Ev '^(examples)/')

echo "== clang-format (${#sources[@]} files)"
if ! printf '%s\n' "${sources[@]}" | xargs -P "$jobs" -n 25 clang-format --dry-run --Werror; then
  echo "formatting differs: run clang-format -i on the files above"
  status=1
fi

if [ ! -f "$build/compile_commands.json" ]; then
  echo "no $build/compile_commands.json: configure the build first (make build)" >&2
  exit 1
fi
echo "== clang-tidy"
# Only the project's own translation units (not Qt's generated moc files nor the embedded data).
if ! run-clang-tidy -p "$build" -j "$jobs" -quiet -extra-arg=-Wno-unknown-warning-option "^$root/(app|runtime|platform|tools|tests|bench)/.*\.cpp$" \
     >"$build/clang-tidy.log" 2>&1; then
  sed 's/\x1b\[[0-9;]*m//g' "$build/clang-tidy.log" | grep -E 'warning:|error:' | sort -u
  echo "clang-tidy found problems (full log: $build/clang-tidy.log)"
  status=1
fi
exit $status
