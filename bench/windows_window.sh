#!/usr/bin/env bash
# verilote.exe on a big report, under Wine on a virtual X server, driven from
# the keyboard as a user drives it (xdotool), beside verilote-cli.exe under
# the same Wine on the same file: a faulty SIGCB 240 file where every title
# has findings (BENCH_FAULTY=3 of bench_sigcb240: 3.5 report lines a title).
# Prints one table:
#   - the whole run: "SIGCB - Remessa 240 ( Valida Tudo )" from its menu to
#     the report complete, against verilote-cli.exe's run (stdout to nul);
#   - where the report list stands when the bar is at 50% (bench/win_probe
#     reads the list and the bar from another process every 20 ms);
#   - the record inspector opened with Enter on the last finding line (record
#     ~3.5M) and on the first, and Anterior / Próximo from the last:
#     the time until its title names the record;
#   - "Salvar relatório como…" (Ctrl+S) of the whole report: the time to the
#     box that says it is done, and the file against verilote-cli.exe's;
#   - Ctrl+A, Ctrl+C of the whole report: the time to the answer (the
#     selection is over the clipboard's bound: the box that says so);
#   - the same on a smaller report (PASTE_TITLES titles) that fits, and what a
#     program that pastes it waits (probe.exe paste);
#   - the peak memory of every process of the prefix, wineserver included.
#
#   bench/windows_window.sh [BUILD_WIN] [TITLES]     (default build-win, 1000000)
#
# BUILD_WIN holds verilote.exe and verilote-cli.exe (the cross build);
# BENCH_BUILD (default build) a native build with -DVERILOTE_BENCH=ON for
# bench_sigcb240; FILE an existing faulty file to use instead of making one;
# TOO_BIG_PNG a file for the picture of the "too big" box.
# WINEPREFIX as the tests set it (default BUILD_WIN/wine).
set -euo pipefail
cd "$(dirname "$0")/.."
build_win=$(realpath "${1:-build-win}")
titles=${2:-1000000}
paste_titles=${PASTE_TITLES:-80000}
bench_build=${BENCH_BUILD:-build}
window_exe=$build_win/verilote.exe
cli_exe=$build_win/verilote-cli.exe
for tool in "$window_exe" "$cli_exe"; do [[ -f $tool ]] || { echo "missing $tool" >&2; exit 2; }; done
for tool in Xvfb xdotool x86_64-w64-mingw32-g++ wine; do
  command -v "$tool" > /dev/null || { echo "missing $tool" >&2; exit 2; }
done
export WINEPREFIX=${WINEPREFIX:-$build_win/wine} WINEDEBUG=${WINEDEBUG:--all}
[ -f "$WINEPREFIX/system.reg" ] || wineboot --init > /dev/null 2>&1
wineserver -k 2> /dev/null || true

work=$(mktemp -d "${TMPDIR:-/tmp}/verilote-windows-window.XXXXXX")
xvfb_pid=""
cleanup() {
  wineserver -k 2> /dev/null || true
  rm -f "$WINEPREFIX/drive_c/VeriloteBench"
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2> /dev/null || true
  wait 2> /dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "windows_window: $*" >&2
  [ ! -s "$work/watch.txt" ] || { echo "the probe's last samples:" >&2; tail -n 3 "$work/watch.txt" >&2; }
  [ -z "$xvfb_pid" ] || xwd -silent -root 2> /dev/null | xwdtopnm 2> /dev/null |
    pnmtopng > "${TMPDIR:-/tmp}/windows-window-bench-failed.png" 2> /dev/null &&
    echo "the screen then: ${TMPDIR:-/tmp}/windows-window-bench-failed.png" >&2
  exit 1
}

# The files: the big one and the one whose whole report fits the clipboard.
make_file() {  # TITLES NAME
  local dir=$work/make-$2
  mkdir -p "$dir"
  [[ -x $bench_build/bench/bench_sigcb240 ]] ||
    fail "missing $bench_build/bench/bench_sigcb240 (configure with -DVERILOTE_BENCH=ON, or give FILE)"
  BENCH_GENERATE_ONLY=1 BENCH_FAULTY=3 "$bench_build/bench/bench_sigcb240" $(($1 * 7 / 2)) "$dir" sigcb > /dev/null
  mv "$dir/bench_sigcb240_faulty_big.rem" "$work/bin/$2"
}
mkdir -p "$work/bin"
if [[ -n ${FILE:-} ]]; then ln -s "$(realpath "$FILE")" "$work/bin/big.rem"; else make_file "$titles" big.rem; fi
make_file "$paste_titles" small.rem
cp "$window_exe" "$work/bin/verilote.exe"
x86_64-w64-mingw32-g++ -O2 -std=c++20 -municode -static bench/win_probe.cpp -o "$work/bin/probe.exe" -luser32 ||
  fail "cannot build the probe"
ln -sfn "$work/bin" "$WINEPREFIX/drive_c/VeriloteBench"
fonts=$WINEPREFIX/drive_c/windows/Fonts
[ -f "$fonts/marlett.ttf" ] || cp /usr/share/wine/fonts/marlett.ttf "$fonts/" 2> /dev/null || true
cat "$work/bin/big.rem" > /dev/null  # in the page cache for both

now() { date +%s%N; }
seconds() { awk -v t="$(($2 - $1))" 'BEGIN { printf "%.2f", t / 1e9 }'; }
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# verilote-cli.exe under the same Wine (the server already up, as for the window).
wineserver -p 2> /dev/null || true
cli_times=() cli_cpus=()
for _ in 1 2 3; do
  (cd "$work" && /usr/bin/time -f "%e %U %S" -o "$work/time.txt" wine "$cli_exe" run SIGCBRemessa1Click \
    --file 'C:\VeriloteBench\big.rem' --today 06/12/2026 > /dev/null 2>&1) || true
  read -r wall user system < <(tail -n 1 "$work/time.txt")  # after "Command exited with non-zero status 1"
  cli_times+=("$wall")
  cli_cpus+=("$(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')")
done
cli_seconds=$(printf '%s\n' "${cli_times[@]}" | median)
cli_cpu=$(printf '%s\n' "${cli_cpus[@]}" | median)
(cd "$work" && wine "$cli_exe" run SIGCBRemessa1Click --file 'C:\VeriloteBench\big.rem' --today 06/12/2026 \
  --report 'C:\VeriloteBench\cli.txt' --encoding cp1252 > /dev/null 2>&1) || true
[ -s "$work/bin/cli.txt" ] || fail "verilote-cli.exe wrote no report"
lines=$(wc -l < "$work/bin/cli.txt")
wineserver -k 2> /dev/null || true

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3> "$work/display" > "$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=:$(cat "$work/display")

keys() { xdotool key --delay 60 "$@"; }
wait_window() { timeout "$1" xdotool search --sync --onlyvisible --name "$2" 2> /dev/null | head -n 1; }
unnamed() { xdotool search --onlyvisible --name '^$' 2> /dev/null | wc -l; }
menu() {
  xdotool key "$1"
  for _ in $(seq 100); do
    [ $(($(unnamed) - unnamed_at_start)) -eq "$2" ] && return 0
    sleep 0.1
  done
  fail "after $1 the window does not show $2 menus"
}
# timed_until SECONDS NAME_REGEX KEYS...: presses the keys and prints the
# seconds until a window so named shows (polled every 20 ms).
timed_until() {
  local limit=$1 name=$2 start
  shift 2
  start=$(now)
  xdotool key "$@"
  for ((i = 0; i < limit * 50; i++)); do
    if xdotool search --onlyvisible --name "$name" > /dev/null 2>&1; then
      seconds "$start" "$(now)"
      return 0
    fi
    sleep 0.02
  done
  echo "> $limit"
}
# The peak resident memory of every process of this prefix, in MB: "name MB ...".
memory() {
  local p name out=""
  for p in $(pgrep -u "$(id -u)" -f 'wine|\.exe'); do
    { tr '\0' '\n' < "/proc/$p/environ" | grep -qx "WINEPREFIX=$WINEPREFIX"; } 2> /dev/null || continue
    name=$({ tr '\0' ' ' < "/proc/$p/cmdline" | sed 's/ .*//; s|.*[\\/]||'; } 2> /dev/null || true)
    out+="$name $(awk '/^VmHWM/ { printf "%.0f", $2 / 1024 }' "/proc/$p/status" 2> /dev/null || true) "
  done
  echo "$out"
}

cpu() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }  # verilote.exe's processor time, in hundredths

# run_command FILE_NAME: Validar › Cobrança › SIGCB › "SIGCB - Remessa 240 ( Valida Tudo )"
# on the file; returns once the notice box is answered.
run_command() {
  xdotool windowfocus --sync "${desktop:-$main}" 2> /dev/null || true
  keys Escape Escape Escape
  menu alt+v 1
  keys Down
  menu Right 2
  menu Right 3
  keys Return
  [ -n "$(wait_window 20 '^Selecione o arquivo remessa SIGCB')" ] || fail "no file dialog"
  sleep 0.3
  xdotool type --delay 10 "C:\\VeriloteBench\\$1"
  keys Return
  [ -n "$(wait_window 20 '^Verilote$')" ] || fail "no notice box"
}

(cd "$work/bin" && wine explorer /desktop=verilote,1100x760 'C:\VeriloteBench\verilote.exe' > "$work/wine.log" 2>&1 &)
main=$(wait_window 60 '^Verilote Versão 10\.03$') || true
[ -n "$main" ] || fail "no main window"
desktop=$(wait_window 5 '^verilote - Wine desktop') || true
sleep 0.5
unnamed_at_start=$(unnamed)

run_seconds_all=() run_cpus=()
for rep in 1 2 3; do
  run_command big.rem
  (cd "$work/bin" && wine probe.exe watch 2> /dev/null | tr -d '\r' > "$work/watch.txt") &
  watcher=$!
  sleep 0.3
  pid=$(xdotool getwindowpid "$main")  # the Unix process that runs verilote.exe
  cpu_before=$(cpu)
  start_ms=$(($(now) / 1000000))
  keys Return
  wait "$watcher" || fail "the probe saw no end of the run"
  end_ms=$(tail -n 1 "$work/watch.txt" | cut -d' ' -f1)
  run_seconds_all+=("$(awk -v t="$((end_ms - start_ms))" 'BEGIN { printf "%.2f", t / 1000 }')")
  run_cpus+=("$(awk -v a="$(cpu)" -v b="$cpu_before" 'BEGIN { printf "%.2f", (a - b) / 100 }')")
  count=$(tail -n 1 "$work/watch.txt" | cut -d' ' -f5)
  [ "$count" -eq "$lines" ] || fail "the window shows $count lines, verilote-cli.exe wrote $lines"
  [ "$rep" -gt 1 ] || {
    cp "$work/watch.txt" "${TMPDIR:-/tmp}/windows-window-watch.txt"  # every sample, for a closer look
    half=$(awk '$2 >= 500 { printf "bar %.1f%%: the list shows lines %d-%d of %d so far", $2 / 10, $3 + 1, $3 + $4, $5; exit }' \
      "$work/watch.txt")
  }
  sleep 3  # the primer's reading of the file, between runs
done
run_seconds=$(printf '%s\n' "${run_seconds_all[@]}" | median)
run_cpu=$(printf '%s\n' "${run_cpus[@]}" | median)
run_memory=$(memory)

# The inspector on the last finding line (the report ends with its summary).
last=$(grep -a -n '^Linha [0-9]' "$work/bin/cli.txt" | tail -n 1)
last_line=${last%%:*}
last_record=$(echo "${last#*:}" | awk '{ print $2 }')
xdotool windowfocus --sync "${desktop:-$main}" 2> /dev/null || true
keys ctrl+End
[ "$lines" -le "$last_line" ] || xdotool key --delay 20 --repeat $((lines - last_line)) Up
far=$(timed_until 60 "^Registro $last_record " Return)
before=$(grep -a '^Linha [0-9]' "$work/bin/cli.txt" | tail -n 2 | head -n 1 | awk '{ print $2 }')
previous=$(timed_until 60 "^Registro $before " alt+a)
next=$(timed_until 60 "^Registro $last_record " alt+p)
keys Escape
first=$(grep -a -n -m 1 '^Linha [0-9]' "$work/bin/cli.txt")
five=${first%%:*}
first_record=$(echo "${first#*:}" | awk '{ print $2 }')
xdotool windowfocus --sync "${desktop:-$main}" 2> /dev/null || true
keys ctrl+Home
[ "$five" -le 1 ] || xdotool key --delay 20 --repeat $((five - 1)) Down
near=$(timed_until 60 "^Registro $first_record " Return)
keys Escape
inspector_memory=$(memory)

# "Salvar relatório como…" (Ctrl+S) of the whole report, to the box saying
# it is done; the file must be verilote-cli.exe's report.
xdotool windowfocus --sync "${desktop:-$main}" 2> /dev/null || true
keys ctrl+s
[ -n "$(wait_window 20 '^Salvar relat')" ] || fail "Ctrl+S opened no save dialog"
sleep 0.3
xdotool type --delay 10 'C:\VeriloteBench\saved.txt'
save=$(timed_until 300 '^Verilote$' Return)
keys Return
cmp -s "$work/bin/saved.txt" "$work/bin/cli.txt" || fail "the saved report is not verilote-cli.exe's"
save_memory=$(memory)

# Ctrl+A, Ctrl+C of the whole report: over the bound, the box says so ("Não").
xdotool windowfocus --sync "${desktop:-$main}" 2> /dev/null || true
copy=$(timed_until 120 '^Verilote$' ctrl+a ctrl+c)
[ -z "${TOO_BIG_PNG:-}" ] || {
  sleep 1
  xwd -silent -id "$(xdotool search --onlyvisible --name '^Verilote$' | head -n 1)" | xwdtopnm 2> /dev/null |
    pnmtopng > "$TOO_BIG_PNG"
}
keys Return
copy_memory=$(memory)

# A report that fits: copied, then pasted by another program.
run_command small.rem
keys Return
sleep 1
for _ in $(seq 600); do
  [ "$(cpu)" = "${ticks:-}" ] && break
  ticks=$(cpu)
  sleep 0.5
done
xdotool windowfocus --sync "${desktop:-$main}" 2> /dev/null || true
start=$(now)
keys ctrl+a ctrl+c
small_copy=$(seconds "$start" "$(now)")
read -r paste_seconds paste_chars <<< "$(cd "$work/bin" && wine probe.exe paste 2> /dev/null | tr -d '\r' || echo "- 0")"
paste_memory=$(memory)

printf "%s\n" "faulty SIGCB 240: $titles titles, $lines report lines, $(($(stat -L -c %s "$work/bin/big.rem") / 1048576)) MB"
printf "%-58s %s\n" \
  "verilote-cli.exe under Wine, run (median of 3)" "$cli_seconds s (processor $cli_cpu s)" \
  "verilote.exe, run to the report complete (median of 3)" "$run_seconds s ($(awk -v a="$run_seconds" -v b="$cli_seconds" 'BEGIN { printf "%.2fx", a / b }') the CLI's; processor $run_cpu s)" \
  "verilote.exe, report during the run" "$half" \
  "  memory after the run (peak MB)" "$run_memory" \
  "inspector, Enter on line $last_line (record $last_record)" "$far s" \
  "inspector, Anterior (record $before)" "$previous s" \
  "inspector, Próximo (record $last_record)" "$next s" \
  "inspector, Enter on line $five (record $first_record)" "$near s" \
  "  memory after the inspector (peak MB)" "$inspector_memory" \
  "Salvar relatório como… of $lines lines, to the box saying done" "$save s" \
  "  memory after (peak MB)" "$save_memory" \
  "Ctrl+A, Ctrl+C of $lines lines: to the box saying too big" "$copy s" \
  "  memory after (peak MB)" "$copy_memory" \
  "Ctrl+A, Ctrl+C of a $paste_titles-title report" "$small_copy s (keys included)" \
  "  pasted by another program" "$paste_seconds s, $paste_chars characters" \
  "  memory after (peak MB)" "$paste_memory"
echo "machine: $(uname -srm), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores; $(wine --version)"
