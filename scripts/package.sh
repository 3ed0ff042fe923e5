#!/usr/bin/env bash
# Makes the installable packages in dist/ from the builds scripts/test.sh
# leaves (building what is missing):
#   verilote_<version>_amd64.deb                 from build/ with CPack: the window,
#       verilote-cli, the help page, a desktop entry, an icon and the examples
#   verilote-<version>-windows-x64.zip           from build-win/: the window
#       verilote.exe, verilote-cli.exe, the help page and the examples
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(sed -n 's/^project(verilote VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
mkdir -p dist

# The .deb carries the window: build/ may have been configured without it
# (scripts/example.sh), so the option is set here whatever build/ holds.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVERILOTE_GUI=ON > /dev/null
cmake --build build
(cd build && cpack -G DEB -B "$PWD/../dist/cpack" > /dev/null)
mv dist/cpack/*.deb dist/
rm -rf dist/cpack

cmake -S . -B build-win -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake > /dev/null
cmake --build build-win --target verilote verilote-cli
name=verilote-$version-windows-x64
stage=build-win/package/$name
rm -rf build-win/package dist/verilote-*-windows-x64.zip
mkdir -p "$stage"
cp build-win/verilote.exe build-win/verilote-cli.exe docs/verilote-ajuda.html "$stage/"
cp -r examples "$stage/"
(cd build-win/package && cmake -E tar cf "../../dist/$name.zip" --format=zip "$name")
ls -l dist
