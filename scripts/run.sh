#!/usr/bin/env bash
# Builds tx9.exe and runs it: through Wine on Linux, natively on Windows
# (MSYS2 MinGW shell).
set -euo pipefail
TX9_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$TX9_ROOT"
mkdir -p build

case "$(uname -s)" in
  MINGW*|MSYS*|CYGWIN*)
    cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release
    ninja -C build/win tx9
    exec ./build/win/tx9.exe
    ;;
esac

bash scripts/deps.sh
source scripts/display.sh
cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  >build/win-configure.log 2>&1 || { cat build/win-configure.log; exit 1; }
ninja -C build/win tx9

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  echo "There is no X display (DISPLAY is not set or not reachable), so tx9 cannot open a window here."
  echo "Starting it on a virtual display instead, to check that it comes up; set DISPLAY to use it for real."
  tx9_start_display
  tx9_prepare_wine
  wine build/win/tx9.exe >build/tx9-run.log 2>&1 &
  for _ in $(seq 1 60); do
    if xdotool search --name '^tx9' >/dev/null 2>&1; then break; fi
    sleep 0.5
  done
  if xdotool search --name '^tx9' >/dev/null 2>&1; then
    echo "tx9 started on the virtual display $DISPLAY: its window \"$(xdotool getwindowname "$(xdotool search --name '^tx9' | head -1)")\" is up."
  else
    echo "tx9 did not show its window within 30 seconds; see build/tx9-run.log." >&2
    exit 1
  fi
  echo "Closing it again (the virtual display cannot be seen)."
  exit 0
fi

tx9_prepare_wine
echo "Running tx9 through Wine on $DISPLAY"
exec wine build/win/tx9.exe
