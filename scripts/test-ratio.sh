#!/usr/bin/env bash
# Prints the size of the test suite against the code it tests: non-blank lines
# of tests/ (fuzz targets included) over non-blank lines of src/, both
# clang-formatted with the repository's .clang-format so that packing several
# cases onto one line does not change the figure. Informational: never fails
# the run (prints a note when clang-format is missing).
set -uo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format > /dev/null; then
  echo "tests ratio: clang-format not found, not measured"
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp .clang-format "$work/"
count() {  # tree: prints the non-blank lines of its C++ files after formatting
  local tree=$1
  mkdir -p "$work/$tree"
  cp -r "$tree"/. "$work/$tree/"
  find "$work/$tree" -type f \( -name '*.cpp' -o -name '*.hpp' -o -name '*.h' \) \
    -exec clang-format -i --style=file {} +
  find "$work/$tree" -type f \( -name '*.cpp' -o -name '*.hpp' -o -name '*.h' -o -name 'CMakeLists.txt' \) \
    -exec cat {} + | grep -c '[^[:space:]]'
}
tests=$(count tests)
code=$(count src)
echo "tests: $tests lines, code: $code lines, ratio $((100 * tests / code))%"
