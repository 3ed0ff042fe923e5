#!/usr/bin/env bash
# Sets up and runs every test: the normal build (with the window when its
# sources are there) and its suite; the core in WebAssembly with its
# JavaScript API and npm package under Node; the Windows build (MinGW-w64) with its
# suite and every example under Wine, the window verilote.exe driven under
# Xvfb, and the packages, installed and run;
# then the suite again under AddressSanitizer and UndefinedBehaviorSanitizer
# with clang, then the fuzz targets for a bounded time. Any failure,
# sanitizer report or fuzz crash fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
fuzz_seconds=${VERILOTE_FUZZ_SECONDS:-30}

# The caller's locale must not matter: a minimal system or a container starts
# with none (the POSIX locale). The Linux suite runs with no locale at all, so
# that nothing in it comes to depend on one; Wine needs a UTF-8 locale to make
# the accented file names of the Windows stage, so that stage sets its own.
no_locale() {  # command...: runs it with every locale variable unset
  env -u LANG -u LANGUAGE -u LC_ALL -u LC_CTYPE -u LC_COLLATE -u LC_MESSAGES \
    -u LC_NUMERIC -u LC_TIME -u LC_MONETARY "$@"
}
# Every ctest run fails when it finds no test: a suite that was not built must
# not pass for one that passed.
ctest_all() {  # build dir, ctest options...
  local dir=$1; shift
  (cd "$dir" && ctest --no-tests=error --output-on-failure "$@")
}

gui=()
[ -f src/gui/CMakeLists.txt ] && gui=(--gui)
scripts/install-deps.sh "${gui[@]}" --fuzz --windows --tests --web
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

echo "== normal build and tests"
gui_flag=OFF
[ ${#gui[@]} -gt 0 ] && gui_flag=ON
# Every option this build relies on is set here: build/ may have been
# configured before by scripts/example.sh (without the suite).
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVERILOTE_TESTS=ON \
  -DVERILOTE_GUI=$gui_flag -DVERILOTE_BENCH=ON -DVERILOTE_FUZZ=OFF > /dev/null
cmake --build build
(cd build && QT_QPA_PLATFORM=offscreen no_locale ctest --no-tests=error --output-on-failure -j2)

echo "== WebAssembly and JavaScript"
web_start=$SECONDS
scripts/web-test.sh
echo "== WebAssembly and JavaScript: $((SECONDS - web_start)) s"

echo "== Windows build (MinGW-w64, static) and tests under Wine"
windows_start=$SECONDS
export WINEPREFIX=$PWD/build-win/wine WINEDEBUG=-all LC_ALL=C.UTF-8
cmake -S . -B build-win -G Ninja -DCMAKE_BUILD_TYPE=Release -DVERILOTE_TESTS=ON \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake > /dev/null
cmake --build build-win
[ -f "$WINEPREFIX/system.reg" ] || wineboot --init > /dev/null 2>&1
ctest_all build-win
# One Wine server for the whole end-to-end run, started afresh: a server left
# by the suite (its window test ran on a display that is gone) or one on its
# way out when its last client ends must not meet the next run.
wineserver -k 2> /dev/null || true
wineserver -w 2> /dev/null || true
wineserver -p
scripts/windows-e2e.sh build/verilote-cli build-win/verilote-cli.exe
scripts/windows-window-e2e.sh build-win/verilote.exe build-win/verilote-cli.exe
wineserver -k || true

echo "== packages: the .deb installed and run, the Windows zip unpacked and run"
scripts/package.sh
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "./$(ls dist/verilote_*_amd64.deb)" > /dev/null
/usr/bin/verilote-cli list | grep "^ready *SIGCBRemessa1Click" > /dev/null
# The validator's notice box goes to stderr: kept and checked, not printed.
messages=$(mktemp)
/usr/bin/verilote-cli run SIGCBRemessa1Click --file /usr/share/doc/verilote/examples/sigcb240/remessa_sigcb240_ok.rem \
  2> "$messages" | tail -n 1 | grep "REGISTROS DOS TITULOS TODOS OK !!!" > /dev/null
grep -q "somente valida o Y53" "$messages" || { cat "$messages"; exit 1; }
rm -f "$messages"
test -f /usr/bin/verilote -a -f /usr/bin/verilote-ajuda.html -a -f /usr/share/applications/verilote.desktop
DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -q verilote > /dev/null
unzipped=$(mktemp -d)
cmake -E chdir "$unzipped" cmake -E tar xf "$PWD/$(ls dist/verilote-*-windows-x64.zip)"
package=$(ls -d "$unzipped"/verilote-*-windows-x64)
test -f "$package/verilote.exe" -a -f "$package/verilote-ajuda.html"
wine "$package/verilote-cli.exe" run SadSicob1Click --file "$package/examples/sad/remessa_sad_ok.txt" \
  | grep "Lidos 5 registros" > /dev/null
rm -rf "$unzipped"
wineserver -k || true
echo "== Windows build, tests and packages: $((SECONDS - windows_start)) s"

echo "== sanitizer build and tests (clang, ASan + UBSan)"
san="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="$san -fsanitize=fuzzer-no-link -O1" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DVERILOTE_TESTS=ON -DVERILOTE_GUI=OFF -DVERILOTE_BENCH=OFF -DVERILOTE_FUZZ=ON > /dev/null
cmake --build build-san
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest_all build-san -j2

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
