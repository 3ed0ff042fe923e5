#!/usr/bin/env bash
# Starts the real window under Xvfb, with its "Validar" menu open, and saves
# docs/screenshot.png for the README. Rerun it when the window changes.
# Needs the --gui packages of scripts/install-deps.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VERILOTE_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DVERILOTE_GUI=ON > /dev/null
cmake --build "$build" --target verilote
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" \
  "$build/src/gui/verilote" --screenshot docs/screenshot.png
