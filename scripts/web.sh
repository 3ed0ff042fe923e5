#!/usr/bin/env bash
# Builds the page and serves it on http://127.0.0.1:8080 (PORT to change it)
# until Ctrl+C. Files dropped on the page are read by the browser on this
# computer; the server only hands out the page's own files.
#
#   scripts/web.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/web-build.sh
site=$(scripts/web-site.sh)
exec python3 scripts/web-serve.py "$site" "${PORT:-8080}"
