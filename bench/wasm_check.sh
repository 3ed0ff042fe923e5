#!/usr/bin/env bash
# The core in WebAssembly under Node against the native verilote-cli on the
# same file in the same run: `check` of a faulty SIGCB 240 remittance (three
# findings in every title, made as bench/faulty.sh makes it) by the native
# CLI (report to /dev/null) and by the JS API (web/verilote.js, its report
# streamed to onLine and counted). Prints the medians of REPS runs of each
# (wall time, and CPU time: user + system, which the other work of a shared
# machine moves less), the ratios and the peak resident memory of each
# (/usr/bin/time -v). The JS times are the check's alone, the module's
# loading excluded: its first check in the process, and a second one (the
# engine's optimised code ready); the JS peak memory is the whole Node
# process's.
#
#   bench/wasm_check.sh [BUILD_DIR] [DETAILS] [REPS]      (default build, 1000000, 3)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
details=${2:-1000000}
reps=${3:-3}
today=06/12/2026
cli=${VERILOTE_CLI:-$build/verilote-cli}
for tool in "$cli" "$build/bench/bench_sigcb240"; do
  [[ -x $tool ]] || { echo "missing $tool (configure with -DVERILOTE_BENCH=ON and build)" >&2; exit 2; }
done
[[ -f web/dist/verilote-core.wasm ]] || scripts/web-build.sh

work=$(mktemp -d "${TMPDIR:-/tmp}/verilote-wasm-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
echo "Making the faulty file in $work ($details details)..." >&2
BENCH_GENERATE_ONLY=1 BENCH_FAULTY=3 "$build/bench/bench_sigcb240" "$details" "$work" sigcb >/dev/null
file=$work/bench_sigcb240_faulty_big.rem
cat "$file" >/dev/null

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
peak() { awk -F': ' '/Maximum resident set size/ { printf "%.0f", $2 / 1024 }' "$1"; }

native_wall=() native_cpu=() js_wall=() js_cpu=() js_wall2=() js_cpu2=() native_rss=0 js_rss=0 js_lines=
for ((i = 0; i < reps; i++)); do
  /usr/bin/time -f '%e %U %S' -o "$work/native.times" "$cli" check --today "$today" "$file" >/dev/null 2>&1 || true
  read -r wall user system < <(tail -n 1 "$work/native.times")
  native_wall+=("$wall")
  native_cpu+=("$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.3f", u + s }')")
  /usr/bin/time -v -o "$work/native.time" "$cli" check --today "$today" "$file" >/dev/null 2>&1 || true
  native_rss=$(peak "$work/native.time")
  /usr/bin/time -v -o "$work/js.time" node bench/wasm_check.mjs "$file" "$today" >"$work/js.out"
  read -r wall cpu wall2 cpu2 js_lines findings verdict <"$work/js.out"
  js_wall+=("$wall") js_cpu+=("$cpu") js_wall2+=("$wall2") js_cpu2+=("$cpu2")
  js_rss=$(peak "$work/js.time")
done
m() { printf '%s\n' "$@" | median; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
nw=$(m "${native_wall[@]}") nc=$(m "${native_cpu[@]}") jw=$(m "${js_wall[@]}") jc=$(m "${js_cpu[@]}")
jw2=$(m "${js_wall2[@]}") jc2=$(m "${js_cpu2[@]}")
printf "%-30s %8s %8s %12s\n" "" "wall s" "CPU s" "peak RSS MB"
printf "%-30s %8s %8s %12s\n" "native verilote-cli" "$nw" "$nc" "$native_rss"
printf "%-30s %8s %8s %12s\n" "WebAssembly in Node, 1st check" "$jw" "$jc" "$js_rss"
printf "%-30s %8s %8s\n" "WebAssembly in Node, 2nd check" "$jw2" "$jc2"
printf "%-30s %8s %8s\n" "ratio 1st / native" "$(ratio "$jw" "$nw")" "$(ratio "$jc" "$nc")"
printf "%-30s %8s %8s\n" "ratio 2nd / native" "$(ratio "$jw2" "$nw")" "$(ratio "$jc2" "$nc")"
echo "$details details, $(du -m "$file" | cut -f1) MB; $js_lines report lines streamed, $findings findings, $verdict;" \
  "medians of $reps runs; Node $(node --version); load average $(cut -d' ' -f1-3 /proc/loadavg)"
