#!/usr/bin/env bash
# Figures for the CLI's bounded memory and its clean-up when killed. Not part
# of CI: run it from the repository root after a build (build/verilote-cli,
# build/bench/bench_sigcb240).
#  1. peak memory of verilote-cli on a 5 MB SAD file of blank lines;
#  2. peak memory on a faulty SIGCB 240 file of 1,000,000 titles (every P with
#     an invalid due date: a finding per title), to stdout and with --report;
#  3. the --report run killed with SIGTERM or SIGINT at random moments, ROUNDS
#     times: no work file may stay beside the report, and the report is either
#     absent or whole.
#   bench/hardening.sh [ROUNDS]      (default 20)
set -euo pipefail
cli=build/verilote-cli
rounds=${1:-20}
dir=$(mktemp -d /tmp/verilote-hardening.XXXXXX)
trap 'rm -rf "$dir"' EXIT

peak() {  # label, command...: prints the command's peak resident memory
  local label=$1; shift
  /usr/bin/time -f "%M %e" -o "$dir/time" "$@" > /dev/null 2>&1 || true
  read -r kb seconds < <(tail -n 1 "$dir/time")
  awk -v l="$label" -v kb="$kb" -v s="$seconds" 'BEGIN { printf "%-58s %8.1f MB %7.2f s\n", l, kb / 1024, s }'
}

python3 -c "import sys; sys.stdout.buffer.write(b'\r\n' * 2621440)" > "$dir/blank.txt"
peak "SAD, 5 MB of blank lines (2,621,440 records)" $cli run SadSicob1Click --file "$dir/blank.txt"

# 3,500,000 details: the generator's lotes hold 1,000,020 titles (P segments)
BENCH_KEEP=1 build/bench/bench_sigcb240 3500000 "$dir" sigcb > /dev/null
python3 - "$dir/bench_sigcb240_big.rem" "$dir/faulty.rem" <<'PY'
import sys
with open(sys.argv[1], 'rb') as src, open(sys.argv[2], 'wb') as out:
    for line in src:
        if len(line) > 14 and line[7:8] == b'3' and line[13:14] == b'P':
            line = line[:77] + b'31023026' + line[85:]   # field 15.3P: no such day
        out.write(line)
PY
rm -f "$dir"/bench_sigcb240_*.rem
findings=$($cli run SIGCBRemessa1Click --file "$dir/faulty.rem" | wc -l || true)
echo "faulty SIGCB 240 file: $(du -m "$dir/faulty.rem" | cut -f1) MB, $(grep -ac "^.\{13\}P" "$dir/faulty.rem") titles, report of $findings lines"
peak "SIGCB 240, faulty 1,000,000 titles, report to stdout" $cli run SIGCBRemessa1Click --file "$dir/faulty.rem"
peak "SIGCB 240, faulty 1,000,000 titles, --report FILE" \
  $cli run SIGCBRemessa1Click --file "$dir/faulty.rem" --report "$dir/report.txt"
rm -f "$dir/report.txt"

left=0 whole=0 absent=0
for ((i = 0; i < rounds; i++)); do
  signal=$([ $((i % 2)) -eq 0 ] && echo TERM || echo INT)
  $cli run SIGCBRemessa1Click --file "$dir/faulty.rem" --report "$dir/report.txt" > /dev/null 2>&1 &
  pid=$!
  sleep "0.$((RANDOM % 9 + 1))"
  kill -s "$signal" "$pid" 2> /dev/null || true
  wait "$pid" 2> /dev/null || true
  if compgen -G "$dir/.~vl*.tmp" > /dev/null; then left=$((left + 1)); rm -f "$dir"/.~vl*.tmp; fi
  if [ -e "$dir/report.txt" ]; then whole=$((whole + 1)); rm -f "$dir/report.txt"; else absent=$((absent + 1)); fi
done
echo "killed $rounds runs (SIGTERM and SIGINT): work files left behind: $left; report absent: $absent, whole: $whole"
[ "$left" -eq 0 ]
