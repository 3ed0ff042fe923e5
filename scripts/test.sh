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
mkdir -p build-san/fuzz-corpus/records build-san/fuzz-corpus/commands
cp examples/*/* build-san/fuzz-corpus/commands/ 2>/dev/null || true
build-san/tests/fuzz/fuzz_record_reader -max_total_time="$fuzz_seconds" -max_len=4096 \
  -print_final_stats=1 build-san/fuzz-corpus/records 2>&1 | tail -n 3
build-san/tests/fuzz/fuzz_commands -max_total_time="$fuzz_seconds" -max_len=8192 -timeout=20 \
  -print_final_stats=1 build-san/fuzz-corpus/commands 2>&1 | tail -n 3
echo "== all tests passed"
