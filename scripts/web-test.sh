#!/usr/bin/env bash
# Builds the core in WebAssembly (scripts/web-build.sh) and runs the
# JavaScript tests under Node's own test runner: the API against the native
# verilote-cli (build/verilote-cli, built first by the caller or here) and
# the npm package installed offline; then the page in Debian's Chromium,
# headless, driven by playwright-core (web/package.json's one development
# dependency, installed with npm ci; it downloads no browser).
#
#   scripts/web-test.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/web-build.sh
if [[ -z ${VERILOTE_CLI:-} && ! -x build/verilote-cli ]]; then
  [[ -f build/build.ninja ]] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build --target verilote-cli
fi
echo "== Node $(node --version): the JavaScript API and the npm package"
node --test web/test/*.test.mjs

echo "== $(/usr/bin/chromium --version 2>/dev/null || echo 'Chromium missing: scripts/install-deps.sh --web'): the page"
# The big-file tests make the 1,000,000-title remittance as bench/faulty.sh does.
if [[ -z ${VERILOTE_BENCH_SIGCB:-} && ! -x build/bench/bench_sigcb240 ]]; then
  cmake -S . -B build -DVERILOTE_BENCH=ON >/dev/null
  cmake --build build --target bench_sigcb240
fi
(cd web && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
scripts/web-site.sh >/dev/null
node --test web/test/browser/page.test.mjs
