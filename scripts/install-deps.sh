#!/usr/bin/env bash
# Installs every Debian package the build, the tests, the demo and the screenshots need, and
# nothing else. With --windows, also what the Windows build needs (the mingw-w64 cross compilers,
# zlib for them, Wine to run the result); only the Windows targets ask for that.
# Idempotent: packages already present are not touched, and apt is not called at all when
# nothing is missing.
set -euo pipefail

windows=false
for argument in "$@"; do
  case "$argument" in
    --windows) windows=true ;;
    *)
      echo "usage: $0 [--windows]" >&2
      exit 2
      ;;
  esac
done

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-base-private-dev qt6-qpa-plugins libgl-dev
  libjpeg62-turbo-dev libpng-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format clang-tidy
  fonts-noto-cjk imagemagick
  desktop-file-utils appstream file
  qt6-translations-l10n
  xvfb openbox xdotool
)
if $windows; then
  # wine32 is an i386 package: Debian installs it only once that architecture is known to dpkg.
  packages+=(
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
    wine wine64 wine32:i386
    python3  # the Windows demo checks its certificates with a Python script
    file     # `make windows` shows what it built
  )
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
  else
    echo "error: these packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
if $windows && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${as_root[@]}" dpkg --add-architecture i386
fi
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
