#!/usr/bin/env bash
# The Windows window verilote.exe under Wine on a virtual X server (Xvfb),
# driven from the keyboard as a user drives it: Alt+V opens "&Validar", the
# arrows reach Cobrança › SIGCB › "SIGCB - Remessa 240 ( Valida Tudo )", the
# path of examples/sigcb240/remessa_sigcb240_com_erros.rem is typed into the
# file dialog (which must open over the window), the notice box is
# answered; then "Outros › Copia tela para
# arquivo novo" saves the report beside the program, and that file must be,
# byte for byte, the report verilote-cli.exe writes for the same file; after
# its box and Ctrl+End, the red release line must still be drawn. The
# window's title is checked on the way, its picture taken when the report is
# on screen (with --screenshot PNG: docs/screenshot-windows.png), and the
# seconds from the notice box to the end of the run (when the program stops
# using the processor) and the program's peak resident memory are printed.
# On that example, Enter on the "Linha 5 SEGMENTO R" finding line must then
# open the record inspector on record 5 (with --inspector-screenshot PNG its
# picture: docs/screenshot-windows-inspector.png).
# --input FILE runs the command on another SIGCB 240 file (bench: a large one).
# Every wait is bounded; Xvfb and the prefix's Wine processes end with the run,
# which needs the prefix to itself.
# Usage: scripts/windows-window-e2e.sh WINDOW_EXE WINDOWS_CLI_EXE [--input FILE] [--screenshot PNG]
#        [--inspector-screenshot PNG]
# (WINEPREFIX and WINEDEBUG as scripts/test.sh sets them.)
set -euo pipefail
cd "$(dirname "$0")/.."
window_exe=$(realpath "$1")
cli_exe=$(realpath "$2")
shift 2
screenshot=""
inspector_shot=""
source_file=$PWD/examples/sigcb240/remessa_sigcb240_com_erros.rem
while [ $# -ge 2 ]; do
  case "$1" in
    --screenshot) screenshot=$(realpath -m "$2") ;;
    --inspector-screenshot) inspector_shot=$(realpath -m "$2") ;;
    --input) source_file=$(realpath "$2") ;;
    *) break ;;
  esac
  shift 2
done
[ $# -eq 0 ] || {
  echo "usage: $0 WINDOW_EXE WINDOWS_CLI_EXE [--input FILE] [--screenshot PNG] [--inspector-screenshot PNG]" >&2
  exit 2
}
export WINEPREFIX=${WINEPREFIX:-$PWD/build-win/wine} WINEDEBUG=${WINEDEBUG:--all}
[ -f "$WINEPREFIX/system.reg" ] || wineboot --init > /dev/null 2>&1
wineserver -k 2> /dev/null || true  # nothing of the prefix stays tied to another display

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  wineserver -k 2> /dev/null || true
  rm -f "$WINEPREFIX/drive_c/Verilote"
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2> /dev/null || true
  wait 2> /dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "windows-window-e2e: $*" >&2
  [ -z "$xvfb_pid" ] || xwd -silent -root 2> /dev/null | xwdtopnm 2> /dev/null | pnmtopng > "$work/failed.png" 2> /dev/null &&
    cp "$work/failed.png" "${TMPDIR:-/tmp}/windows-window-e2e-failed.png" &&
    echo "windows-window-e2e: the screen then: ${TMPDIR:-/tmp}/windows-window-e2e-failed.png" >&2
  exit 1
}

# A display of our own: Xvfb picks a free number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3> "$work/display" > "$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
DISPLAY=:$(cat "$work/display")
export DISPLAY

# The program and the example as unzipped into C:\Verilote (a link to a folder
# of this run): "Copia tela" writes beside the program.
mkdir -p "$work/bin/examples/sigcb240"
cp "$window_exe" "$work/bin/verilote.exe"
ln -s "$source_file" "$work/bin/examples/sigcb240/"
[ ! -e "$WINEPREFIX/drive_c/Verilote" ] || [ -L "$WINEPREFIX/drive_c/Verilote" ] ||
  fail "$WINEPREFIX/drive_c/Verilote is a folder of its own: this run links it to its copy"
ln -sfn "$work/bin" "$WINEPREFIX/drive_c/Verilote"
input="C:\\Verilote\\examples\\sigcb240\\$(basename "$source_file")"
# Wine's frames draw their buttons in Marlett, which Debian keeps out of the prefix.
fonts=$WINEPREFIX/drive_c/windows/Fonts
[ -f "$fonts/marlett.ttf" ] || cp /usr/share/wine/fonts/marlett.ttf "$fonts/" 2> /dev/null || true

# wait_window SECONDS NAME_REGEX: the id of the first visible window so named.
wait_window() {
  timeout "$1" xdotool search --sync --onlyvisible --name "$2" 2> /dev/null | head -n 1
}
keys() { xdotool key --delay 60 "$@"; }
# Open menus are the visible windows without a name (beside those there at the start).
unnamed() { xdotool search --onlyvisible --name '^$' 2> /dev/null | wc -l; }
# menu KEY COUNT: presses KEY and waits until COUNT menus are open, so that the
# next key reaches the menu it is meant for however slowly Wine draws.
menu() {
  xdotool key "$1"
  for _ in $(seq 100); do
    [ $(($(unnamed) - unnamed_at_start)) -eq "$2" ] && return 0
    sleep 0.1
  done
  fail "after $1 the window does not show $2 menus"
}
# wait_idle PID SECONDS: returns once the process has used no processor time
# for a second (its clock ticks are a hundredth of a second).
wait_idle() {
  local last="" now same=0
  for ((i = 0; i < $2 * 10; i++)); do
    now=$(awk '{ print $14 + $15 }' "/proc/$1/stat")
    if [ "$now" = "$last" ]; then
      same=$((same + 1))
      [ $same -lt 10 ] || return 0
    else
      same=0
      last=$now
    fi
    sleep 0.1
  done
  return 1
}

# Wine draws the frames itself on a virtual desktop; no window manager needed.
(cd "$work/bin" && wine explorer /desktop=verilote,1100x760 'C:\Verilote\verilote.exe' > "$work/wine.log" 2>&1 &)
main=$(wait_window 60 '^Verilote Versão 10\.03$') || true
[ -n "$main" ] || fail "no window titled \"Verilote Versão 10.03\" within 60 s"
pid=$(xdotool getwindowpid "$main")  # the Unix process that runs verilote.exe
desktop=$(wait_window 5 '^verilote - Wine desktop') || true
xdotool windowfocus --sync "${desktop:-$main}" 2> /dev/null || true
sleep 0.5
unnamed_at_start=$(unnamed)

# Validar › Cobrança › SIGCB › "SIGCB - Remessa 240 ( Valida Tudo )": Alt+V opens
# "&Validar" on its first item, Down reaches "Cobrança", Right opens it on
# "SIGCB", Right opens that on the command.
keys Escape Escape Escape
menu alt+v 1
keys Down
menu Right 2
menu Right 3
keys Return
dialog=$(wait_window 20 '^Selecione o arquivo remessa SIGCB') || true
[ -n "$dialog" ] || fail "the file dialog \"Selecione o arquivo remessa SIGCB\" did not open"
sleep 0.3
# centre WINDOW: "x y" of its middle on the screen.
centre() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /Width:/ { w = $NF } /Height:/ { h = $NF } END { print int(x + w / 2), int(y + h / 2) }'
}
read -r dx dy <<< "$(centre "$dialog")"
read -r mx my <<< "$(centre "$main")"
[ $(((dx - mx) * (dx - mx) + (dy - my) * (dy - my))) -le 400 ] ||
  fail "the file dialog is centred at $dx,$dy, not over the window's centre $mx,$my"
xdotool type --delay 10 "$input"
keys Return
# The command's notice box, then the report.
box=$(wait_window 20 '^Verilote$') || true
[ -n "$box" ] || fail "the command's notice box did not show"
keys Return
start=$(date +%s%N)
wait_idle "$pid" 1800 || fail "the command was still running after 30 minutes"
seconds=$(awk -v t="$(($(date +%s%N) - start))" 'BEGIN { printf "%.1f", t / 1e9 - 1 }')
peak=$(awk '/^VmHWM/ { printf "%.0f", $2 / 1024 }' "/proc/$pid/status")
[ -z "$screenshot" ] || {
  xwd -silent -id "$main" | xwdtopnm 2> /dev/null | pnmtopng -compression 9 > "$screenshot"
  echo "windows-window-e2e: the window's picture is in $screenshot"
}

# Outros › "Copia tela para arquivo novo", named relatorio.txt: "Outros" has no
# mnemonic; Alt+A opens "&Acertos" on its first submenu, Right opens that, and
# Right on a plain item moves on to the next menu, "Outros", on its first item.
keys Escape Escape Escape
menu alt+a 1
menu Right 2
menu Right 1
keys Return
name_box=$(wait_window 20 '^Entre com o nome do arquivo') || true
[ -n "$name_box" ] || fail "\"Copia tela para arquivo novo\" asked for no name"
xdotool type --delay 10 relatorio.txt
keys Return
done_box=$(wait_window 300 '^Verilote$') || true
[ -n "$done_box" ] || fail "no message after \"Copia tela para arquivo novo\""
keys Return
[ -f "$work/bin/relatorio.txt" ] || fail "the report was not copied to bin/relatorio.txt"

(cd "$work" && wine "$cli_exe" run SIGCBRemessa1Click --file "$input" --report "$(winepath -w "$work/cli.txt" 2> /dev/null)" \
  --encoding cp1252 > /dev/null 2>&1) || true
[ -s "$work/cli.txt" ] || fail "verilote-cli.exe wrote no report"
cmp "$work/cli.txt" "$work/bin/relatorio.txt" > /dev/null ||
  fail "the window's report differs from verilote-cli.exe's: $(diff "$work/cli.txt" "$work/bin/relatorio.txt" | head -n 10)"
echo "windows-window-e2e: verilote.exe ran SIGCB - Remessa 240 from its menu; its report is verilote-cli.exe's," \
  "$(wc -l < "$work/cli.txt") lines; the run took $seconds s, peak memory $peak MB"

# After the box, Ctrl+End: the red release line under the report is still
# drawn (pure red, RGB 255 0 0, is its colour alone).
xdotool windowfocus --sync "${desktop:-$main}" 2> /dev/null || true
keys ctrl+End
sleep 0.5
red=$(xwd -silent -id "$main" | xwdtopnm 2> /dev/null | python3 -c '
import sys
data = sys.stdin.buffer.read()
fields, at = [], 0
while len(fields) < 4:  # P6, width, height, maximum
    while data[at:at + 1].isspace(): at += 1
    end = at
    while not data[end:end + 1].isspace(): end += 1
    fields.append(data[at:end]); at = end
pixels = data[at + 1:]
print(sum(1 for i in range(0, len(pixels) - 2, 3) if pixels[i:i + 3] == b"\xff\x00\x00"))')
[ "${red:-0}" -gt 100 ] || fail "after the box and Ctrl+End the red release line is not drawn ($red red pixels)"
echo "windows-window-e2e: after the box and Ctrl+End the red release line is drawn ($red red pixels)"

# The report list has the keyboard again: Ctrl+Home, down to the SEGMENTO R
# finding line (the window's report is the file checked above, line for
# line), Enter; Escape hides the inspector.
if r_line=$(grep -a -n -m 1 '^Linha 5 SEGMENTO R' "$work/cli.txt" | cut -d: -f1) && [ -n "$r_line" ]; then
  xdotool windowfocus --sync "${desktop:-$main}" 2> /dev/null || true
  keys ctrl+Home
  [ "$r_line" -le 1 ] || xdotool key --delay 20 --repeat $((r_line - 1)) Down
  keys Return
  inspector=$(wait_window 20 '^Registro 5 \(Segmento R\) - remessa_sigcb240_com_erros\.rem$') || true
  [ -n "$inspector" ] || fail "Enter on the SEGMENTO R finding line opened no inspector on record 5"
  [ -z "$inspector_shot" ] || {
    sleep 0.5
    xwd -silent -id "$inspector" | xwdtopnm 2> /dev/null | pnmtopng -compression 9 > "$inspector_shot"
    echo "windows-window-e2e: the inspector's picture is in $inspector_shot"
  }
  keys Escape
  echo "windows-window-e2e: Enter on report line $r_line opened the record inspector on record 5"
fi
