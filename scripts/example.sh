#!/usr/bin/env bash
# Sets up, builds, and runs the main job on the bundled examples: verilote-cli
# validates a clean and a faulty old-layout SAD/SICOB remittance.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVERILOTE_TESTS=OFF > /dev/null
cmake --build build --target verilote-cli
for f in examples/sad/remessa_sad_ok.txt examples/sad/remessa_sad_com_erros.txt; do
  echo "== verilote-cli run SadSicob1Click --file $f"
  status=0
  build/verilote-cli run SadSicob1Click --file "$f" || status=$?
  echo "== exit status $status"
done
