#!/usr/bin/env bash
# Builds the native tree (link library, zkc-sim, native tests) into
# build/native and the Windows tree (zkc-vandor.exe, Windows-tier tests) into
# build/windows.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native -j "$jobs"
cmake -S . -B build/windows -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-posix.cmake >/dev/null
cmake --build build/windows -j "$jobs"
