#!/usr/bin/env bash
# Writes the seed corpus of the command fuzz target into DIR, one file per
# line of tests/fuzz/seeds.txt: the handler name and a NUL, the number of
# answers as one byte, each answer ended by a line feed, then the example file.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
mkdir -p "$dir"
n=0
while IFS=$'\t' read -r handler file answers; do
  case "$handler" in ''|'#'*) continue ;; esac
  n=$((n + 1))
  IFS=$'\t' read -r -a list <<< "${answers:-}"
  {
    printf '%s\0' "$handler"
    printf "\\$(printf '%03o' "${#list[@]}")"
    for a in "${list[@]}"; do printf '%s\n' "$a"; done
    cat "examples/$file"
  } > "$dir/seed-$n-$handler"
done < tests/fuzz/seeds.txt
echo "$n seeds in $dir"
