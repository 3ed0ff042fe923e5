#!/usr/bin/env bash
# The barcode file commands against a Node.js validator library,
# @mrmgomes/boleto-utils (validarBoleto), on the same files of valid barcodes
# (bench_barcodes leaves out those whose modulo-11 remainder is 0 or 1, which
# that library gets wrong). The library is installed with npm into a temporary
# folder, removed at the end with the files. Not part of CI: it needs node, npm
# and npm's registry.
#
#   bench/peer_boleto_utils.sh [BUILD_DIR] [COUNT] [REPS]   (default build, 1000000, 3)
set -euo pipefail

build=${1:-build}
count=${2:-1000000}
reps=${3:-3}
cli=$build/verilote-cli timer=$(realpath "$build/bench/cpu_time")
[[ -x $cli && -x $build/bench/bench_barcodes && -x $timer ]] || { echo "build $build with -DVERILOTE_BENCH=ON first" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/verilote-peer.XXXXXX")
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm init -y >/dev/null && npm install --silent --no-audit --no-fund @mrmgomes/boleto-utils >/dev/null)
version=$(node -p "require('$work/node_modules/@mrmgomes/boleto-utils/package.json').version")

# Validates every line of the file; fails unless every barcode passes.
cat >"$work/validate.js" <<'EOF'
const fs = require('fs');
const { validarBoleto } = require('@mrmgomes/boleto-utils');
let ok = 0, bad = 0;
for (const line of fs.readFileSync(process.argv[2], 'latin1').split('\r\n')) {
  if (line === '') continue;
  if (validarBoleto(line).sucesso) ++ok; else ++bad;
}
console.log(`${ok} valid, ${bad} invalid`);
process.exit(bad === 0 ? 0 : 1);
EOF

cpu() {  # median CPU seconds (user + system) of REPS runs of the command
  for ((i = 0; i < reps; i++)); do
    "$timer" "$@" | awk '{ print $1 }'
  done | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

printf "%-28s %10s %10s %8s\n" "barcodes ($count)" "node s" "cli s" "ratio"
run() {
  local kind=$1 handler=$2
  shift 2
  local file=$work/barcodes_$kind.txt
  "$build/bench/bench_barcodes" "$kind" "$count" "$file" >/dev/null
  (cd "$work" && node validate.js "$file" >/dev/null) || { echo "boleto-utils rejected some $kind barcodes" >&2; exit 1; }
  local node_s cli_s
  node_s=$(cd "$work" && cpu node validate.js "$file")
  cli_s=$(cpu "$cli" run "$handler" --file "$file" --today 06/12/2026 "$@")
  printf "%-28s %10s %10s %8s\n" "$kind" "$node_s" "$cli_s" "$(awk -v a="$node_s" -v b="$cli_s" 'BEGIN { printf "%.1f", a / b }')"
}
run sigcb CdigodebarrasSIGCBviaarquivo1Click --answer 123456
run sicob CdigodebarrasSICOBViaarquivo1Click
run sinco CdigodebarrasSINCOViaarquivo1Click
run sitcs SITCSCdigodeBarrasViaarquivo1Click --answer 12345 --answer 0035
echo "@mrmgomes/boleto-utils $version on node $(node --version); medians of $reps runs; ratio = node / verilote-cli"
