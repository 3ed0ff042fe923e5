#!/usr/bin/env bash
# Installs the Debian packages the build needs, skipping those already there.
# Usage: scripts/install-deps.sh [--gui] [--fuzz] [--windows] [--tests] [--web]
set -euo pipefail

packages=(build-essential cmake ninja-build googletest libgtest-dev libgmock-dev python3)
for arg in "$@"; do
  case "$arg" in
    --gui) packages+=(qt6-base-dev qt6-translations-l10n libgl1-mesa-dev xvfb xauth poppler-utils) ;;
    --fuzz) packages+=(clang libclang-rt-dev) ;;
    # What the test command needs beside the builds: clang-format measures the
    # size of the suite against the code.
    --tests) packages+=(clang-format) ;;
    # The Windows cross build, its tests under Wine, and the packages; Wine
    # makes the windows of verilote.exe and its tests on a virtual display
    # (xvfb, xauth), where xdotool drives it, xwd and netpbm photograph it, in
    # Wine's own fonts and Liberation (Courier New's metrics).
    --windows) packages+=(g++-mingw-w64-x86-64-posix wine wine64 file dpkg-dev xvfb xauth xdotool x11-apps netpbm fonts-wine fonts-liberation) ;;
    # The core in WebAssembly (emscripten), its Node tests and the page's
    # tests in a headless browser. Node and npm come from Debian only where
    # none is on the PATH: a node installed otherwise (NodeSource's, with its
    # own npm) would fight Debian's npm.
    --web)
      packages+=(emscripten chromium)
      command -v node >/dev/null || packages+=(nodejs)
      command -v npm >/dev/null || packages+=(npm)
      ;;
    *) echo "install-deps: unknown option $arg" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "install-deps: installing ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
