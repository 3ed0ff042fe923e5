#!/usr/bin/env bash
# Assembles the page into build-web/site/ (the page under page/, the JS API
# and the WebAssembly beside it, as web/ lays them out) from web/ and
# web/dist/. Run scripts/web-build.sh first.
#
#   scripts/web-site.sh [SITE_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
site=${1:-build-web/site}
for f in web/dist/verilote-core.mjs web/dist/verilote-core.wasm web/verilote.js; do
  [[ -f $f ]] || { echo "missing $f: run scripts/web-build.sh" >&2; exit 2; }
done
rm -rf "$site.new"
mkdir -p "$site.new/page" "$site.new/dist"
cp web/index.html web/verilote.js "$site.new/"
cp web/page/*.html web/page/*.css web/page/*.js "$site.new/page/"
cp web/dist/verilote-core.mjs web/dist/verilote-core.wasm "$site.new/dist/"
rm -rf "$site"
mv "$site.new" "$site"
echo "$site"
