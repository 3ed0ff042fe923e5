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
  # Start from the libraries Debian built: a copy (not links: a library
  # written into the cache must never land in Debian's files).
  mkdir -p "$(dirname "$EM_CACHE")"
  rm -rf "$EM_CACHE"
  cp -a --reflink=auto /usr/share/emscripten/cache "$EM_CACHE"
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
# Emscripten 3.1.6's ES module still calls require() and reads __dirname in
# Node, which an ES module does not have: given to it here, in Node only.
prologue='const require = globalThis.process?.versions?.node ? (await import("node:module")).createRequire(import.meta.url) : undefined;
const __dirname = require ? require("node:path").dirname(require("node:url").fileURLToPath(import.meta.url)) : undefined;'
# A module worker (where an ES module runs off the page) has no importScripts,
# by which Emscripten 3.1.6 tells a worker: WORKERFS would refuse to mount
# there, though FileReaderSync is there. The API mounts it only where
# FileReaderSync is, so its check of the environment goes, and a worker of
# either kind is taken for one.
worker_test='var ENVIRONMENT_IS_WORKER=typeof importScripts=="function";'
worker_fix='var ENVIRONMENT_IS_WORKER=typeof importScripts=="function"||typeof WorkerGlobalScope!="undefined"\&\&self instanceof WorkerGlobalScope;'
mount_test='mount:function(mount){assert(ENVIRONMENT_IS_WORKER);'
mkdir -p web/dist
if [[ build-wasm/web/src/verilote-core.mjs -nt web/dist/verilote-core.mjs || ! -f web/dist/verilote-core.mjs ]]; then
  for pattern in "$worker_test" "$mount_test"; do
    grep -qF "$pattern" build-wasm/web/src/verilote-core.mjs ||
      { echo "web-build: '$pattern' not in Emscripten's output: see the fixes in this script" >&2; exit 1; }
  done
  { printf '%s\n' "$prologue"; cat build-wasm/web/src/verilote-core.mjs; } |
    sed -e "s/${worker_test//[/\\[}/$worker_fix/" -e "s/${mount_test//[/\\[}/mount:function(mount){/" \
      >web/dist/verilote-core.mjs.new
  mv web/dist/verilote-core.mjs.new web/dist/verilote-core.mjs
fi
cmp -s build-wasm/web/src/verilote-core.wasm web/dist/verilote-core.wasm ||
  cp build-wasm/web/src/verilote-core.wasm web/dist/verilote-core.wasm
echo "web/dist: $(du -k web/dist/verilote-core.wasm | cut -f1) KiB of WebAssembly"
