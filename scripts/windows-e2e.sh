#!/usr/bin/env bash
# Runs every example under examples/ through the Linux verilote-cli and the
# Windows verilote-cli.exe (under Wine) and fails unless both give the same
# report, messages, exit status and written files, byte for byte: each file
# with its validator (or repair), the whole directory through
# examples/check_all.sh in every format, and the files the program writes
# into its own directory (the rebuilt payer and item files, the SICOB
# reconciliation). Then the Windows-only cases: a file name with accents, and
# a report copied over an existing file.
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
    retorno/*.rem) echo "SIGCBRemessa1Click" ;;
    check_all.sh | recupera_bd/* | sicob_conciliacao/* | retorno/*) echo "-" ;;  # below
    *) return 1 ;;
  esac
}

# The Windows program as a command, for scripts that take one.
printf '#!/bin/sh\nexec wine "%s" "$@"\n' "$windows_cli" > "$work/wine-cli"
chmod +x "$work/wine-cli"

# run SYSTEM DIR ARGS...: one run in DIR (its own copy of the examples), its
# stdout, stderr and exit status kept in DIR as out, err and status (with
# TAG=name: name.out, name.err, name.status). CLI=path runs another copy.
run() {
  local system=$1 dir=$2; shift 2
  local status=0 tag=${TAG:-} cli=${CLI:-}
  if [ "$system" = linux ]; then
    (cd "$dir" && "${cli:-$linux_cli}" "$@" > "${tag:+$tag.}out" 2> "${tag:+$tag.}err") || status=$?
  else
    (cd "$dir" && wine "${cli:-$windows_cli}" "$@" > "${tag:+$tag.}out" 2> "${tag:+$tag.}err") || status=$?
  fi
  echo "$status" > "$dir/${tag:+$tag.}status"
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
  [ "$command" = - ] && continue
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

# The whole directory through examples/check_all.sh: layouts detected, every
# file validated, in each format and with the reports written to a directory.
for system in linux windows; do
  rm -rf "${work:?}/$system"
  mkdir -p "$work/$system/reports"
  cp -r examples "$work/$system/"
  cli=$linux_cli
  [ "$system" = windows ] && cli=$work/wine-cli
  for format in text json junit; do
    status=0
    (cd "$work/$system" && VERILOTE_CLI=$cli examples/check_all.sh examples --today 06/12/2026 --format "$format" \
      --report-dir reports > "check.$format" 2> "check.$format.err") || status=$?
    echo "$status" > "$work/$system/check.$format.status"
  done
done
same "examples/check_all.sh (text, json, junit, --report-dir)"
echo "windows-e2e: examples/check_all.sh gives byte-identical output on Linux and under Wine"

# The commands that read and write files in the program's own directory, each
# system's program copied into a bin/ of its own: the payer and item files
# rebuilt from the bank's listings, the SICOB reconciliation, and the carnê
# repairs. Messages name the program's directory, shown here as bin or bin2. The
# reconciliation has a program directory of its own: its Titulos.txt is the
# rebuilt titulos.txt on a file system that ignores case, as Windows' does.
for system in linux windows; do
  rm -rf "${work:?}/$system"
  mkdir -p "$work/$system/bin" "$work/$system/bin2"
  dir=$work/$system
  exe=""
  [ "$system" = windows ] && exe=.exe
  for bin in bin bin2; do
    if [ "$system" = linux ]; then cp "$linux_cli" "$dir/$bin/verilote-cli"; else cp "$windows_cli" "$dir/$bin/verilote-cli.exe"; fi
  done
  cp examples/recupera_bd/* examples/sigcb240/remessa_sigcb240_carne.rem "$dir/"
  cp examples/sicob_conciliacao/* "$dir/bin2/"
  CLI=$dir/bin/verilote-cli$exe TAG=1 run "$system" "$dir" run Sacados2Click --file listagem_sacados.txt
  CLI=$dir/bin/verilote-cli$exe TAG=2 run "$system" "$dir" run Ttulos2Click --file bin/sacados.txt \
    --file listagem_titulos.txt --today 06/12/2026
  CLI=$dir/bin2/verilote-cli$exe TAG=3 run "$system" "$dir" run ValidaBDcobcaixacolistageCAIXA1Click
  CLI=$dir/bin/verilote-cli$exe TAG=4 run "$system" "$dir" run RemessaComRegistroCarnRetirasegmentoY1Click \
    --file remessa_sigcb240_carne.rem
  CLI=$dir/bin/verilote-cli$exe TAG=5 run "$system" "$dir" run AlteraNmerodaRemessa1Click \
    --file remessa_sigcb240_carne.rem --answer 124
  rm "$dir"/bin*/verilote-cli*
  for err in "$dir"/*.err; do
    text=$(< "$err")
    for bin in bin bin2; do
      linux_bin=$dir/$bin
      windows_bin="Z:$(tr / '\\' <<< "$linux_bin")"
      text=${text//"$windows_bin"/$bin}
      text=${text//"$linux_bin"/$bin}
    done
    printf '%s\n' "$text" > "$err"
  done
done
same "the payer, item and reconciliation files and the carnê repairs"
echo "windows-e2e: the files written in the program's directory are byte-identical on Linux and under Wine"

# The bank's return files read by retorno, in each format, and reconciled
# with the remittance they answer.
for system in linux windows; do
  rm -rf "${work:?}/$system"
  mkdir -p "$work/$system"
  cp examples/retorno/* "$work/$system/"
  for ret in "$work/$system"/*.ret; do
    name=$(basename "$ret" .ret)
    for format in text json csv; do
      TAG=$name.$format run "$system" "$work/$system" retorno "$name.ret" --format "$format"
    done
  done
  TAG=conferido run "$system" "$work/$system" retorno retorno_sigcb240.ret --remessa remessa_sigcb240.rem
  TAG=precritica run "$system" "$work/$system" retorno precritica_sigcb240.ret --remessa remessa_sigcb240_rejeitada.rem
  TAG=precritica400 run "$system" "$work/$system" retorno precritica_sigcb400.ret --remessa remessa_sigcb400_rejeitada.rem
done
same "examples/retorno through retorno (text, json, csv, --remessa)"
echo "windows-e2e: the return files read the same on Linux and under Wine"

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
