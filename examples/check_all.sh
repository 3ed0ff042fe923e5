#!/usr/bin/env bash
# Checks every file of a directory (the examples by default) with
# verilote-cli check: the layout of each is detected, its validator run, and
# a summary table ends the output. The exit status is the highest of the
# files': 0 clean, 1 findings, 3 not checked.
#   examples/check_all.sh [DIR] [verilote-cli check options...]
set -euo pipefail
cli=${VERILOTE_CLI:-verilote-cli}
dir=${1:-$(dirname "$0")}
[ $# -gt 0 ] && shift
mapfile -d '' files < <(find "$dir" -type f \( -iname '*.rem' -o -iname '*.txt' -o -iname '*.ret' \) -print0 | sort -z)
exec "$cli" check "$@" -- "${files[@]}"
