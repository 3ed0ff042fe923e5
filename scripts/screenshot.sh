#!/usr/bin/env bash
# Starts the real window under Xvfb, with its "Validar" menu open, and saves
# docs/screenshot.png for the README; then docs/screenshot-inspector.png.
# Rerun it when the window changes.
# Needs the --gui packages of scripts/install-deps.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VERILOTE_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DVERILOTE_GUI=ON > /dev/null
cmake --build "$build" --target verilote
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" \
  "$build/src/gui/verilote" --screenshot docs/screenshot.png

# docs/screenshot-inspector.png: the record inspector on the finding of the
# R segment of the example remittance with errors.
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" \
  "$build/src/gui/verilote" --screenshot docs/screenshot-inspector.png \
  --inspect examples/sigcb240/remessa_sigcb240_com_erros.rem --finding "SEGMENTO R"

# With --big, also docs/screenshot-report.png: the window at the end of a
# faulty SIGCB 240 file of 1,000,000 titles (3,500,429 report lines). Needs a
# build configured with -DVERILOTE_BENCH=ON for the file's maker.
if [[ ${1:-} == --big ]]; then
  cmake --build "$build" --target bench_sigcb240
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  BENCH_GENERATE_ONLY=1 BENCH_FAULTY=3 "$build/bench/bench_sigcb240" 3500000 "$work" sigcb > /dev/null
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" \
    "$build/src/gui/verilote" --screenshot docs/screenshot-report.png --validate "$work/bench_sigcb240_faulty_big.rem"
fi
