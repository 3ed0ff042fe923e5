#!/usr/bin/env bash
# Builds the core in WebAssembly (build-wasm/) and copies verilote-core.mjs and
# verilote-core.wasm into web/dist/, where web/verilote.js loads them. Quick
# when nothing changed.
#
#   scripts/web-build.sh
set -euo pipefail
cd "$(dirname "$0")/.."

command -v emcmake >/dev/null || { echo "emcmake not found: scripts/install-deps.sh --web" >&2; exit 2; }
# Debian's emcc keeps its system libraries (libc++, ...) where only root can
# write: they are built once into the user's cache instead.
export EM_CACHE=${EM_CACHE:-$HOME/.cache/verilote-emscripten} EM_FROZEN_CACHE=
if [[ ! -f $EM_CACHE/sysroot_install.stamp && -f /usr/share/emscripten/cache/sysroot_install.stamp ]]; then
  # Start from the libraries Debian built (linked, not copied, where it can).
  mkdir -p "$(dirname "$EM_CACHE")"
  rm -rf "$EM_CACHE"
  cp -al /usr/share/emscripten/cache "$EM_CACHE" 2>/dev/null || cp -a /usr/share/emscripten/cache "$EM_CACHE"
fi
mkdir -p "$EM_CACHE"
# Debian's emcc runs its JS optimizer under whatever node is on the PATH: it
# needs Debian's acorn, which a node from elsewhere does not look for.
[[ -d /usr/share/nodejs/acorn ]] && export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
# SIMD: the text helpers' SSE2 paths run as WebAssembly SIMD.
flags="-msimd128;-msse2"

if [[ ! -f build-wasm/build.ninja ]]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  emcmake cmake -S . -B build-wasm -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O3 -DNDEBUG" \
    -DVERILOTE_TESTS=OFF "-DVERILOTE_WASM_FLAGS=$flags" "${launcher[@]}" >/dev/null
fi
nice cmake --build build-wasm -j"${JOBS:-2}" --target verilote-core -- -k 0
mkdir -p web/dist
for f in verilote-core.mjs verilote-core.wasm; do
  cmp -s "build-wasm/web/src/$f" "web/dist/$f" || cp "build-wasm/web/src/$f" "web/dist/$f"
done
echo "web/dist: $(du -k web/dist/verilote-core.wasm | cut -f1) KiB of WebAssembly"
