#!/usr/bin/env bash
# The window against the command line on the same file, in the same run: a
# faulty SIGCB 240 file where every title has findings (three report lines a
# title: its P, its Q, and its S or Y; BENCH_FAULTY=3 of bench_sigcb240) goes through verilote-cli (stdout to /dev/null) and through the window
# driven offscreen (bench_window): time to the verdict and peak memory, with
# the window left alone and with it resized every 100 ms during the run; then
# "Copia tela para arquivo novo" and Ctrl+A, Ctrl+C of the whole report, and
# how soon "Parar" ends the run.
#
#   bench/window.sh [BUILD_DIR] [TITLES] [REPS]      (default build, 1000000, 3)
#
# BUILD_DIR must be configured with -DVERILOTE_GUI=ON -DVERILOTE_BENCH=ON. With
# BEFORE naming another bench_window (built from an older tree), its window is
# measured too, on the same file, for a before/after table. Figures are medians
# of REPS runs; times are wall-clock seconds, memory the maximum resident set.
set -euo pipefail

build=${1:-build}
count=${2:-1000000}
reps=${3:-3}
before=${BEFORE:-}
cli=$build/verilote-cli
window=$build/bench/bench_window
for tool in "$cli" "$window" "$build/bench/bench_sigcb240"; do
  [[ -x $tool ]] || { echo "missing $tool (configure with -DVERILOTE_GUI=ON -DVERILOTE_BENCH=ON and build)" >&2; exit 2; }
done
export QT_QPA_PLATFORM=offscreen

work=$(mktemp -d "${TMPDIR:-/tmp}/verilote-window-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
# A title is 3.5 detail records on average (P Q R S, P Q Y).
BENCH_GENERATE_ONLY=1 BENCH_FAULTY=3 "$build/bench/bench_sigcb240" $((count * 7 / 2)) "$work" sigcb >/dev/null
file=$work/bench_sigcb240_faulty_big.rem
lines=$("$cli" run SIGCBRemessa1Click --file "$file" --today 06/12/2026 | wc -l || true)
cat "$file" >/dev/null

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# row LABEL COMMAND...: runs the command REPS times; each run prints
# "seconds peak_MB [seconds_after]"; prints the medians.
row() {
  local label=$1
  shift
  local t=() m=() a=() out
  for ((i = 0; i < reps; i++)); do
    out=$("$@" 2>/dev/null)
    read -r x y z <<<"$out"
    t+=("$x")
    m+=("$y")
    a+=("${z:-}")
  done
  printf "%-44s %9s %9s %9s\n" "$label" "$(printf '%s\n' "${t[@]}" | median)" \
    "$(printf '%s\n' "${m[@]}" | median)" "$([[ -n ${a[0]} ]] && printf '%s\n' "${a[@]}" | median || echo -)"
}

# The CLI under GNU time: wall seconds and peak kB.
cli_run() {
  /usr/bin/time -f "%e %M" "$cli" run SIGCBRemessa1Click --file "$file" --today 06/12/2026 2>&1 >/dev/null |
    tail -1 | awk '{ printf "%s %.1f\n", $1, $2 / 1024 }' || true  # the command exits 1: the file is faulty
}

titles=$(tr '\r' '\n' <"$file" | awk 'substr($0, 14, 1) == "P"' | wc -l)
echo "faulty SIGCB 240: $titles titles, $lines report lines, $(($(stat -c %s "$file") / 1048576)) MB"
printf "%-44s %9s %9s %9s\n" "run" "verdict s" "peak MB" "then s"
row "CLI" cli_run
for which in after before; do
  bin=$window
  [[ $which == before ]] && { [[ -n $before ]] || continue; bin=$before; }
  row "window ($which)" timeout 900 "$bin" "$file"
  row "window ($which), resized every 100 ms" timeout 900 "$bin" "$file" resize
  row "window ($which), then Copia tela para arquivo novo" timeout 900 "$bin" "$file" copy
  row "window ($which), then Ctrl+A, Ctrl+C" timeout 900 "$bin" "$file" selectcopy
  row "window ($which), Parar at 0.5 s: then = time to end" timeout 900 "$bin" "$file" stop
done
echo "medians of $reps runs; machine: $(uname -srm), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores"
