#!/usr/bin/env bash
# The page against the native command line on the 1,000,000-title faulty
# SIGCB 240 file (bench/web_page.mjs): builds what it needs, then measures.
#
#   bench/web_page.sh [DETAILS] [REPS]      (default 1000000, 3)
set -euo pipefail
cd "$(dirname "$0")/.."
[[ -x build/verilote-cli && -x build/bench/bench_sigcb240 ]] || {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVERILOTE_BENCH=ON >/dev/null
  cmake --build build --target verilote-cli bench_sigcb240
}
scripts/web-build.sh >/dev/null
scripts/web-site.sh >/dev/null
(cd web && npm ci --no-audit --no-fund --loglevel=error)
exec node bench/web_page.mjs "$@"
