#!/usr/bin/env bash
# Sets up and runs every test: the normal build (with the window when its
# sources are there) and its suite, then the suite again under AddressSanitizer
# and UndefinedBehaviorSanitizer with clang, then the fuzz targets for a
# bounded time. Any failure, sanitizer report or fuzz crash fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
fuzz_seconds=${VERILOTE_FUZZ_SECONDS:-30}

gui=()
[ -f src/gui/CMakeLists.txt ] && gui=(--gui)
scripts/install-deps.sh "${gui[@]}" --fuzz

echo "== normal build and tests"
gui_flag=OFF
[ ${#gui[@]} -gt 0 ] && gui_flag=ON
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVERILOTE_GUI=$gui_flag -DVERILOTE_BENCH=ON > /dev/null
cmake --build build
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)

echo "== sanitizer build and tests (clang, ASan + UBSan)"
san="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="$san -fsanitize=fuzzer-no-link -O1" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DVERILOTE_FUZZ=ON > /dev/null
cmake --build build-san
(cd build-san && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j2)

echo "== fuzzing, ${fuzz_seconds}s a target"
fuzz() {  # target, options...: runs one fuzz target, shows its log on failure
  local target=$1; shift
  local corpus=build-san/fuzz-corpus/$target log=build-san/$target.log
  mkdir -p "$corpus"
  if ! build-san/tests/fuzz/"$target" -max_total_time="$fuzz_seconds" -print_final_stats=1 "$@" "$corpus" \
      > "$log" 2>&1; then
    tail -n 80 "$log"
    echo "== $target found a fault (log: $log)"
    exit 1
  fi
  grep -E '^(stat::number_of_executed_units|Done)' "$log" | sed "s/^/$target: /"
}
scripts/fuzz-seeds.sh build-san/fuzz-corpus/fuzz_commands
fuzz fuzz_record_reader -max_len=4096
fuzz fuzz_commands -max_len=16384 -timeout=20
echo "== size of the suite"
scripts/test-ratio.sh
echo "== all tests passed"
