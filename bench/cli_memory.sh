#!/usr/bin/env bash
# Peak memory of verilote-cli's show, check and the two-file comparison on a
# SIGCB 240 file whose third record is one byte short of the reader's 32 MiB
# cap: of blanks, and of refused bytes (0xE9). Every figure must stay under
# 64 MB whatever the record holds. With VERILOTE_CLI_OLD naming another
# verilote-cli, each command runs through it too. Not part of CI.
#
#   bench/cli_memory.sh [BUILD_DIR]      (default build)
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/verilote-cli-memory.XXXXXX")
trap 'rm -rf "$work"' EXIT

python3 - "$here/../examples/sigcb240/remessa_sigcb240_gerador.rem" "$work" <<'PY'
import sys
records = open(sys.argv[1], "rb").read().split(b"\r\n")
size = (32 << 20) - 1
def write(name, third):
    with open(f"{sys.argv[2]}/{name}", "wb") as f:
        f.write(b"\r\n".join(records[:2] + [third] + records[3:]))
write("blanks.rem", records[2].ljust(size, b" "))
write("blanks_other.rem", records[2].ljust(size - 1, b" ") + b"X")
write("refused.rem", records[2][:20] + b"\xe9" * (size - 20))
PY

clis=()
[[ -x $build/verilote-cli ]] && clis+=("$build/verilote-cli")
[[ -n ${VERILOTE_CLI_OLD:-} ]] && clis+=("$VERILOTE_CLI_OLD")
printf "%-52s %-4s %9s %8s %5s\n" command cli "peak MB" seconds exit
measure() {  # label, cli, arguments...
  local label=$1 cli=$2 status=0 name=new
  shift 2
  [[ $cli == "${VERILOTE_CLI_OLD:-}" ]] && name=old
  /usr/bin/time -f "%M %e" -o "$work/time" "$cli" "$@" > "$work/out" 2> /dev/null || status=$?
  read -r kb seconds < <(tail -n 1 "$work/time")
  awk -v l="$label" -v c="$name" -v kb="$kb" -v s="$seconds" -v x="$status" \
    'BEGIN { printf "%-52s %-4s %9.1f %8.2f %5d\n", l, c, kb / 1024, s, x }'
}
for cli in "${clis[@]}"; do
  measure "show --record 3" "$cli" show "$work/blanks.rem" --record 3 --layout sigcb240
  measure "show --record 3 --format json" "$cli" show "$work/blanks.rem" --record 3 --layout sigcb240 --format json
  measure "show --record 3 --format json, refused bytes" "$cli" show "$work/refused.rem" --record 3 \
    --layout sigcb240 --format json
  measure "check" "$cli" check --layout sigcb240 "$work/blanks.rem"
  measure "check --format json, refused bytes" "$cli" check --format json --layout sigcb240 "$work/refused.rem"
  measure "run SIGCB 240, refused bytes" "$cli" run SIGCBRemessa1Click --file "$work/refused.rem"
  measure "compare two files (last byte differs)" "$cli" run VerificarsedoisarquivossoiguaisAt2000registros1Click \
    --file "$work/blanks.rem" --file "$work/blanks_other.rem"
done
