#!/usr/bin/env bash
# The benchmark driver: makes the files with the bench programs (clean
# remittances of every CNAB validator and SIACC, a faulty SIGCB 240 file with a
# finding per title, files of valid barcodes), runs every command through
# verilote-cli with stdout to /dev/null and `wc -l` on the same file in the same
# run (warm page cache for both), REPS times each, and prints a table of the
# medians of the CPU time (user + system) and of the peak memory.
#
#   bench/run.sh [BUILD_DIR] [COUNT] [REPS]      (default build, 1000000, 5)
#
# BUILD_DIR must be configured with -DVERILOTE_BENCH=ON; VERILOTE_CLI names
# another verilote-cli to measure (default BUILD_DIR/verilote-cli). With VERILOTE_CLI_LTO
# naming a second verilote-cli (an LTO build of the same source), each command
# also runs through it and the table gains its column. The files live in a
# temporary folder (TMPDIR, else /tmp) removed at the end.
set -euo pipefail

build=${1:-build}
count=${2:-1000000}
reps=${3:-5}
cli=${VERILOTE_CLI:-$build/verilote-cli}
lto=${VERILOTE_CLI_LTO:-}
today=06/12/2026

for tool in "$cli" "$build/bench/bench_sigcb240" "$build/bench/bench_cnab400" "$build/bench/bench_siacc" \
  "$build/bench/bench_barcodes" "$build/bench/cpu_time"; do
  [[ -x $tool ]] || { echo "missing $tool (configure with -DVERILOTE_BENCH=ON and build)" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/verilote-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "Making the files in $work ($count titles / barcodes)..." >&2
export BENCH_GENERATE_ONLY=1
"$build/bench/bench_sigcb240" "$count" "$work" sigcb >/dev/null
"$build/bench/bench_sigcb240" "$count" "$work" sicob >/dev/null
"$build/bench/bench_sigcb240" "$count" "$work" sinco >/dev/null
BENCH_FAULTY=1 "$build/bench/bench_sigcb240" "$count" "$work" sigcb >/dev/null
"$build/bench/bench_cnab400" "$count" "$work" >/dev/null
"$build/bench/bench_siacc" "$count" "$work" >/dev/null
for kind in sigcb sicob sinco sitcs; do
  "$build/bench/bench_barcodes" "$kind" "$count" "$work/barcodes_$kind.txt" >/dev/null
done
unset BENCH_GENERATE_ONLY

# One measured run: prints "cpu_seconds peak_kb exit_status".
measure() { "$build/bench/cpu_time" "$@"; }

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# bench NAME FILE ARGS...: the medians of `wc -l` and of the command.
header="%-34s %8s %8s %8s %6s %8s %4s"
printf "$header" "command" "file MB" "wc -l s" "cli s" "x wc" "peak MB" "exit"
[[ -n $lto ]] && printf " %8s %8s" "LTO s" "LTO/def"
printf "\n"
declare -A cpuOf
bench() {
  local name=$1 file=$2
  shift 2
  cat "$file" >/dev/null
  local wc_t=() cli_t=() cli_m=() lto_t=() status=0 r
  for ((i = 0; i < reps; i++)); do
    read -r t _ _ < <(measure wc -l "$file")
    wc_t+=("$t")
    read -r t m status < <(measure "$cli" run "$@" --file "$file" --today "$today")
    cli_t+=("$t")
    cli_m+=("$m")
    if [[ -n $lto ]]; then
      read -r t _ _ < <(measure "$lto" run "$@" --file "$file" --today "$today")
      lto_t+=("$t")
    fi
  done
  local wc_med cli_med mem_med size
  wc_med=$(printf '%s\n' "${wc_t[@]}" | median)
  cli_med=$(printf '%s\n' "${cli_t[@]}" | median)
  mem_med=$(printf '%s\n' "${cli_m[@]}" | median)
  size=$(stat -c %s "$file")
  cpuOf[$name]=$cli_med
  printf "$header" "$name" "$(awk -v s="$size" 'BEGIN { printf "%.0f", s / 1048576 }')" "$wc_med" "$cli_med" \
    "$(awk -v a="$cli_med" -v b="$wc_med" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')" \
    "$(awk -v m="$mem_med" 'BEGIN { printf "%.1f", m / 1024 }')" "$status"
  if [[ -n $lto ]]; then
    r=$(printf '%s\n' "${lto_t[@]}" | median)
    printf " %8s %8s" "$r" "$(awk -v a="$r" -v b="$cli_med" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')"
  fi
  printf "\n"
}

bench "SIGCB 240 Valida Tudo" "$work/bench_sigcb240_big.rem" SIGCBRemessa1Click
bench "SIGCB 240 Valida Parcial" "$work/bench_sigcb240_big.rem" SIGCBRemessaValidaserros1Click
bench "SICOB 240" "$work/bench_sicob240_big.rem" CobranaRemessapadro2401Click
bench "SINCO" "$work/bench_sinco240_big.rem" SINCO1Click
bench "SIGCB 400" "$work/bench_sigcb400_big.rem" SIGCBRemessa400ValidaTudo1Click
bench "SICOB 400" "$work/bench_sicob400_big.rem" CobranaRemessapadro4001Click
bench "SIACC" "$work/bench_siacc_big.rem" CaixaProgramado1Click
bench "SIGCB 240, a finding per title" "$work/bench_sigcb240_faulty_big.rem" SIGCBRemessa1Click
bench "Barcodes SIGCB via file" "$work/barcodes_sigcb.txt" CdigodebarrasSIGCBviaarquivo1Click --answer 123456
bench "Barcodes SICOB via file" "$work/barcodes_sicob.txt" CdigodebarrasSICOBViaarquivo1Click
bench "Barcodes SINCO via file" "$work/barcodes_sinco.txt" CdigodebarrasSINCOViaarquivo1Click
bench "SITCS barcodes via file" "$work/barcodes_sitcs.txt" SITCSCdigodeBarrasViaarquivo1Click \
  --answer 12345 --answer 0035

echo
echo "faulty / clean SIGCB 240 (same number of records): $(awk -v a="${cpuOf["SIGCB 240, a finding per title"]}" \
  -v b="${cpuOf["SIGCB 240 Valida Tudo"]}" 'BEGIN { printf "%.2f", a / b }')"
echo "medians of $reps runs; CPU seconds (user + system); peak = maximum resident set size"
echo "machine: $(uname -srm), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores"
