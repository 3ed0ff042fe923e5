#!/usr/bin/env bash
# Runs every example under examples/ through the Linux verilote-cli and the
# Windows verilote-cli.exe (under Wine) and fails unless both give the same
# report, messages and exit status, byte for byte. Then the Windows-only
# cases: a file name with accents, and a report copied over an existing file.
# Usage: scripts/windows-e2e.sh LINUX_CLI WINDOWS_CLI_EXE
# (WINEPREFIX and WINEDEBUG as scripts/test.sh sets them).
set -euo pipefail
cd "$(dirname "$0")/.."
linux_cli=$(realpath "$1")
windows_cli=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The command each example is checked with: handler and the answers to its
# prompts after the file. A new example needs its line here.
command_for() {
  case "$1" in
    arrecadacao/boletos_sitcs.txt) echo "SITCSCdigodeBarrasViaarquivo1Click --answer 12345 --answer 0035" ;;
    boletos/sigcb_barras*.txt) echo "CdigodebarrasSIGCBviaarquivo1Click --answer 123456" ;;
    boletos/sicob_barras.txt) echo "CdigodebarrasSICOBViaarquivo1Click" ;;
    boletos/sinco_barras.txt) echo "CdigodebarrasSINCOViaarquivo1Click" ;;
    capcaixa/*) echo "CapcaixaImportaodeguias1Click" ;;
    cobcaixa/sacados_*) echo "Sacados1Click" ;;
    cobcaixa/titulos_*) echo "TtulosV2331Click" ;;
    construgiro/*) echo "Construgiro1Click" ;;
    sad/*) echo "SadSicob1Click" ;;
    siacc/*) echo "CaixaProgramado1Click" ;;
    sicob240/*) echo "CobranaRemessapadro2401Click" ;;
    sicob400/*) echo "CobranaRemessapadro4001Click" ;;
    sicov/*) echo "AcertacamposBrancos1Click" ;;  # a repair: it rewrites a copy
    siemd/*layout01*) echo "SIDEMRemessa1Click" ;;
    siemd/*layout03*) echo "SIEMDArqu1Click" ;;
    sigcb240/*) echo "SIGCBRemessa1Click" ;;
    sigcb400/*) echo "SIGCBRemessa400ValidaTudo1Click" ;;
    sinco/*) echo "SINCO1Click" ;;
    *) return 1 ;;
  esac
}

# run SYSTEM DIR ARGS...: one run in DIR (its own copy of the examples), its
# stdout, stderr and exit status kept in DIR.
run() {
  local system=$1 dir=$2; shift 2
  local status=0
  if [ "$system" = linux ]; then
    (cd "$dir" && "$linux_cli" "$@" > out 2> err) || status=$?
  else
    (cd "$dir" && wine "$windows_cli" "$@" > out 2> err) || status=$?
  fi
  echo "$status" > "$dir/status"
}

same() {  # what: fails unless the Linux and the Windows run left the same files
  if ! diff -r "$work/linux" "$work/windows" > "$work/diff"; then
    echo "windows-e2e: $1: the Windows build differs from the Linux one:"
    head -n 40 "$work/diff"
    exit 1
  fi
}

count=0
while IFS= read -r example; do
  example=${example#examples/}
  if ! command=$(command_for "$example"); then
    echo "windows-e2e: no command known for examples/$example: add it to $0"
    exit 1
  fi
  read -r -a args <<< "$command"
  for system in linux windows; do
    rm -rf "${work:?}/$system"
    mkdir -p "$work/$system"
    cp "examples/$example" "$work/$system/input"
    run "$system" "$work/$system" run "${args[0]}" --file input "${args[@]:1}" --today 06/12/2026
  done
  same "examples/$example (${args[0]})"
  count=$((count + 1))
done < <(find examples -type f | sort)
echo "windows-e2e: $count examples give byte-identical reports on Linux and under Wine"

# A name with accents, typed on the command line; the report copied over an
# existing file (MoveFileExW replaces it) in UTF-8 and in Windows-1252.
for system in linux windows; do
  rm -rf "${work:?}/$system"
  mkdir -p "$work/$system"
  cp examples/sigcb240/remessa_sigcb240_com_erros.rem "$work/$system/remessa_março.rem"
  echo "an older report" > "$work/$system/relatório.txt"
  run "$system" "$work/$system" run SIGCBRemessa1Click --file remessa_março.rem --report relatório.txt \
    --encoding cp1252 --today 06/12/2026
done
same "an accented file name and a report over an existing file"
grep -q "remessa_março.rem" "$work/windows/out" || { echo "windows-e2e: the accented name is not in the report"; exit 1; }
sed 's/\r$//' "$work/windows/relatório.txt" | cmp -s - "$work/windows/out" ||
  { echo "windows-e2e: the report file is not the report"; exit 1; }
echo "windows-e2e: accented file name and report over an existing file: same on Linux and under Wine"
