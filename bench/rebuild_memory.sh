#!/usr/bin/env bash
# Peak memory and time of the commands that must hold no whole file: the
# character check of one 32 MiB record of refused bytes ("run" and "check
# --format json"), "Recupera banco de dados > Títulos" on a payer file of
# about MB megabytes, and "SICOB - Valida BD" on a bank listing of about MB
# megabytes (the inputs: bench/rebuild_inputs.py). With VERILOTE_CLI_OLD
# naming another verilote-cli, each command runs through it too and the
# files written are compared byte for byte (cmp). Not part of CI.
#
#   bench/rebuild_memory.sh [BUILD_DIR] [MB]      (default build, 480)
set -euo pipefail
build=${1:-build}
megabytes=${2:-480}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/verilote-rebuild-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "Making the inputs in $work ($megabytes MB)..." >&2
python3 "$here/rebuild_inputs.py" "$work/in" "$megabytes"

# Each CLI in a directory of its own: the program's directory holds the
# reconciliation's inputs and receives the files the commands write.
clis=(new)
mkdir -p "$work/new" && cp "$build/verilote-cli" "$work/new/"
if [[ -n ${VERILOTE_CLI_OLD:-} ]]; then
  clis+=(old)
  mkdir -p "$work/old" && cp "$VERILOTE_CLI_OLD" "$work/old/verilote-cli"
fi
for cli in "${clis[@]}"; do ln -s "$work/in/titu.txt" "$work/in/tbTitulos.txt" "$work/$cli/"; done

printf "%-44s %-4s %9s %8s %5s\n" command cli "peak MB" seconds exit
measure() {  # label, cli, arguments...
  local label=$1 cli=$2 status=0
  shift 2
  /usr/bin/time -f "%M %e" -o "$work/time" "$work/$cli/verilote-cli" "$@" > /dev/null 2> "$work/err" || status=$?
  read -r kb seconds < <(tail -n 1 "$work/time")
  awk -v l="$label" -v c="$cli" -v kb="$kb" -v s="$seconds" -v x="$status" \
    'BEGIN { printf "%-44s %-4s %9.1f %8.2f %5d\n", l, c, kb / 1024, s, x }'
}
for cli in "${clis[@]}"; do
  measure "character check, run SIGCB 240, 32 MiB record" "$cli" run SIGCBRemessa1Click --file "$work/in/e9_32.rem"
  measure "character check, check --format json" "$cli" check --format json --layout sigcb240 "$work/in/e9_32.rem"
  measure "Titulos, payer file of $megabytes MB" "$cli" run Ttulos2Click --file "$work/in/sacados.txt" \
    --file "$work/in/listagem_titulos.txt" --today 06/12/2026
  measure "Valida BD, bank listing of $megabytes MB" "$cli" run ValidaBDcobcaixacolistageCAIXA1Click
done
if [[ -n ${VERILOTE_CLI_OLD:-} ]]; then
  for file in titulos.txt Titulos.txt; do
    cmp "$work/old/$file" "$work/new/$file" && echo "$file: the same bytes ($(stat -c %s "$work/new/$file") bytes)"
  done
fi
