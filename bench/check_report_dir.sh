#!/usr/bin/env bash
# Times `verilote-cli check --report-dir` over N copies of a small remittance
# (default 1010, 2020 and 10000), beside the same run without the option.
# Usage: bench/check_report_dir.sh CLI [N...]
set -euo pipefail
cli=$(realpath "$1"); shift
[ $# -gt 0 ] && counts=("$@") || counts=(1010 2020 10000)
source=$(cd "$(dirname "$0")/.." && pwd)/examples/sad/remessa_sad_ok.txt
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for n in "${counts[@]}"; do
  rm -rf "$work/in" "$work/out"
  mkdir -p "$work/in" "$work/out"
  for ((i = 0; i < n; i++)); do cp "$source" "$work/in/f$i.txt"; done
  (cd "$work/in" && /usr/bin/time -f "$n files, --report-dir: %e s (cpu %U+%S s), %M KiB" \
    "$cli" check --today 06/12/2026 --report-dir "$work/out" -- f*.txt > /dev/null)
  (cd "$work/in" && /usr/bin/time -f "$n files, no option:    %e s, %M KiB" \
    "$cli" check --today 06/12/2026 -- f*.txt > /dev/null)
done
