#!/usr/bin/env bash
# What a faulty file costs against a clean one: "SIGCB - Remessa 240 ( Valida
# Tudo )" through verilote-cli on a clean SIGCB 240 remittance and on the same
# file with three findings in every title (BENCH_FAULTY=3 of bench_sigcb240:
# its P, its Q and its S or Y53, 3.5 report lines a title), stdout to
# /dev/null and to a file on the same disk. Prints the medians of the wall
# time and of the CPU time (user + system) of REPS runs, and faulty / clean.
# With VERILOTE_CLI_BEFORE naming an older verilote-cli, each run is made by
# both, alternately, and the table gains its rows. With CALLGRIND_DETAILS set
# (50000, say), it also counts the instructions of each run on files of that
# many detail records under valgrind's callgrind: a figure that does not move
# with whatever else the machine runs.
#
#   bench/faulty.sh [BUILD_DIR] [DETAILS] [REPS]      (default build, 1000000, 7)
set -euo pipefail

build=${1:-build}
details=${2:-1000000}
reps=${3:-7}
today=06/12/2026
declare -A clis=([after]=${VERILOTE_CLI:-$build/verilote-cli})
[[ -n ${VERILOTE_CLI_BEFORE:-} ]] && clis[before]=$VERILOTE_CLI_BEFORE

for tool in "${clis[@]}" "$build/bench/bench_sigcb240"; do
  [[ -x $tool ]] || { echo "missing $tool (configure with -DVERILOTE_BENCH=ON and build)" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/verilote-faulty.XXXXXX")
trap 'rm -rf "$work"' EXIT

# make_files DIR DETAILS: the clean and the faulty file in DIR.
make_files() {
  mkdir -p "$1"
  BENCH_GENERATE_ONLY=1 "$build/bench/bench_sigcb240" "$2" "$1" sigcb >/dev/null
  BENCH_GENERATE_ONLY=1 BENCH_FAULTY=3 "$build/bench/bench_sigcb240" "$2" "$1" sigcb >/dev/null
}
echo "Making the files in $work ($details details)..." >&2
make_files "$work/big" "$details"

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

# One run: prints "wall_seconds cpu_seconds". The last run's report is
# removed first, so that truncating it is not timed.
run() {
  local cli=$1 file=$2 out=$3 times
  [[ $out == /dev/null ]] || rm -f "$out"
  TIMEFORMAT='%R %U %S'
  times=$({ time "$cli" run SIGCBRemessa1Click --file "$file" --today "$today" >"$out" 2>/dev/null || true; } 2>&1)
  awk '{ printf "%s %.3f\n", $1, $2 + $3 }' <<<"$times"
}

declare -A wall cpu
for kind in clean faulty; do
  file=$work/big/bench_sigcb240_big.rem
  [[ $kind == faulty ]] && file=$work/big/bench_sigcb240_faulty_big.rem
  cat "$file" >/dev/null
  for out in null file; do
    target=/dev/null
    [[ $out == file ]] && target=$work/report.txt
    declare -A walls=() cpus=()
    for ((i = 0; i < reps; i++)); do
      for who in "${!clis[@]}"; do
        read -r w c < <(run "${clis[$who]}" "$file" "$target")
        walls[$who]+="$w "
        cpus[$who]+="$c "
      done
    done
    for who in "${!clis[@]}"; do
      wall[$who,$out,$kind]=$(tr ' ' '\n' <<<"${walls[$who]}" | grep . | median)
      cpu[$who,$out,$kind]=$(tr ' ' '\n' <<<"${cpus[$who]}" | grep . | median)
    done
    rm -f "$work/report.txt"
  done
done

format="%-8s %-10s %8s %8s %8s %8s %8s %8s\n"
printf "$format" "cli" "stdout" "clean s" "faulty s" "ratio" "clean cpu" "faulty cpu" "ratio"
for who in $(printf '%s\n' "${!clis[@]}" | sort -r); do
  for out in null file; do
    printf "$format" "$who" "$([[ $out == null ]] && echo /dev/null || echo file)" \
      "${wall[$who,$out,clean]}" "${wall[$who,$out,faulty]}" "$(ratio "${wall[$who,$out,faulty]}" "${wall[$who,$out,clean]}")" \
      "${cpu[$who,$out,clean]}" "${cpu[$who,$out,faulty]}" "$(ratio "${cpu[$who,$out,faulty]}" "${cpu[$who,$out,clean]}")"
  done
done
echo "$details details; medians of $reps runs; wall and CPU (user + system) seconds; load average $(cut -d' ' -f1-3 /proc/loadavg)"

if [[ -n ${CALLGRIND_DETAILS:-} ]]; then
  make_files "$work/small" "$CALLGRIND_DETAILS"
  echo
  printf "%-8s %14s %14s %8s\n" "cli" "clean Ir" "faulty Ir" "ratio"
  for who in $(printf '%s\n' "${!clis[@]}" | sort -r); do
    declare -A ir=()
    for kind in clean faulty; do
      file=$work/small/bench_sigcb240_big.rem
      [[ $kind == faulty ]] && file=$work/small/bench_sigcb240_faulty_big.rem
      ir[$kind]=$(valgrind --tool=callgrind --callgrind-out-file=/dev/null "${clis[$who]}" run SIGCBRemessa1Click \
        --file "$file" --today "$today" 2>&1 >/dev/null | awk '/refs:/ { gsub(",", "", $4); print $4 }' || true)
    done
    printf "%-8s %14s %14s %8s\n" "$who" "${ir[clean]}" "${ir[faulty]}" "$(ratio "${ir[faulty]}" "${ir[clean]}")"
  done
  echo "instructions of the whole run (start-up included), $CALLGRIND_DETAILS details, stdout to /dev/null"
fi
