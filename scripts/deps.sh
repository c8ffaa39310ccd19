#!/usr/bin/env bash
# Makes sure the packages tx9 needs to build and test are installed (Debian).
# As root it installs what is missing with apt-get; otherwise it prints the
# exact line to run and fails.
set -euo pipefail

packages=(
  cmake ninja-build g++ googletest libbenchmark-dev
  clang libclang-rt-14-dev libfuzzer-14-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64 xvfb xauth xdotool openbox x11-utils fonts-vlgothic locales
)

case "$(uname -s)" in
  MINGW*|MSYS*|CYGWIN*) exit 0 ;; # building natively on Windows: the MSYS2 toolchain is the caller's
esac

# The Japanese resource set is checked under a Japanese locale.
ensure_japanese_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    if [ "$(id -u)" -eq 0 ]; then
      localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 >/dev/null 2>&1 || true
    else
      echo "Note: no ja_JP.UTF-8 locale; the Japanese run of the window tests falls back to English." >&2
      echo "  Create it with: sudo localedef -i ja_JP -f UTF-8 ja_JP.UTF-8" >&2
    fi
  fi
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  ensure_japanese_locale
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q >/dev/null
  apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
  ensure_japanese_locale
else
  echo "Missing packages: ${missing[*]}" >&2
  echo "Install them with:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
  exit 1
fi
