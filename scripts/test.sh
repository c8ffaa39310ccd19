#!/usr/bin/env bash
# Builds tx9 natively and for Windows and runs every test: the core tests
# natively, then the core, Win32 and end-to-end tests of the Windows build
# under Wine on a virtual display.
set -uo pipefail
TX9_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$TX9_ROOT"
mkdir -p build
bash scripts/deps.sh || exit 1
source scripts/display.sh

jobs="$(nproc 2>/dev/null || echo 2)"
status=0

echo "== Native build"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >build/native-configure.log 2>&1 \
  || { cat build/native-configure.log; exit 1; }
ninja -C build/native -j "$jobs" || exit 1

echo "== Windows build (MinGW-w64)"
cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >build/win-configure.log 2>&1 || { cat build/win-configure.log; exit 1; }
ninja -C build/win -j "$jobs" || exit 1

echo "== Native core tests"
(cd build/native && ctest --output-on-failure -j "$jobs") || status=1

# A short fixed run of each fuzz target (the settings load saves files, so fewer).
echo "== Fuzz targets (clang, libFuzzer, ASan, UBSan)"
bash scripts/fuzz.sh 20000 ini_store checkout_table match_rules entry_model journal || status=1
bash scripts/fuzz.sh 2000 settings_load || status=1

tx9_start_display
tx9_prepare_wine
echo "== Windows tests under Wine (display $DISPLAY)"
# A window test may lose a race with the window manager on a busy machine;
# such a test gets up to two more runs before it fails the run.
(cd build/win && ctest --output-on-failure -j 1 --repeat until-pass:3) || status=1

if [ "$status" -eq 0 ]; then echo "All test runners passed."; else echo "Some tests failed."; fi
exit "$status"
