#!/usr/bin/env bash
# Sets up, builds, and runs the main job on the bundled examples: verilote-cli
# validates a clean and a faulty SIGCB CNAB 240 remittance ("SIGCB - Remessa
# 240 ( Valida Tudo )"), then checks a file of SIGCB boleto barcodes.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# build/ is shared with scripts/test.sh, which sets its own options (the
# suite, the window) on top of the same build type.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVERILOTE_TESTS=OFF > /dev/null
cmake --build build --target verilote-cli
run() {  # handler file answers...: one command, its report and exit status
  local handler=$1 file=$2; shift 2
  local args=(run "$handler" --file "$file")
  for answer in "$@"; do args+=(--answer "$answer"); done
  echo "== verilote-cli ${args[*]}"
  status=0
  build/verilote-cli "${args[@]}" || status=$?
  echo "== exit status $status"
}
run SIGCBRemessa1Click examples/sigcb240/remessa_sigcb240_ok.rem
run SIGCBRemessa1Click examples/sigcb240/remessa_sigcb240_com_erros.rem
run CdigodebarrasSIGCBviaarquivo1Click examples/boletos/sigcb_barras_com_erros.txt 123456
