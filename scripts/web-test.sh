#!/usr/bin/env bash
# Builds the core in WebAssembly (scripts/web-build.sh) and runs the
# JavaScript tests under Node's own test runner: the API against the native
# verilote-cli (build/verilote-cli, built first by the caller or here) and
# the npm package installed offline.
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
node --test web/test/
