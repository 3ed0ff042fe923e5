# Cross-building the core, verilote-cli and the tests for 64-bit Windows with
# Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix). The programs are linked
# statically: verilote-cli.exe needs no DLL beside it on a bare Windows 10/11.
# The tests run under Wine (Debian's wine and wine64).
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VERILOTE_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VERILOTE_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VERILOTE_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VERILOTE_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VERILOTE_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and winpthread inside the .exe.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest runs the Windows executables under Wine. Set WINEPREFIX to a prefix
# of the build's own (scripts/test.sh uses build-win/wine) and WINEDEBUG=-all.
find_program(VERILOTE_WINE NAMES wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VERILOTE_WINE})

# GCC 12 reports false -Wrestrict overlaps inside std::string concatenation
# when it inlines libstdc++ for this target (GCC bug 105651).
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
