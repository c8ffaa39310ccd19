#!/usr/bin/env bash
# Gives the Wine prefix in WINEPREFIX the Japanese UI fonts that Windows has.
#
# Under a Japanese locale Wine asks for "MS UI Gothic" (its substitute of
# "MS Shell Dlg", and the fallback it links to Tahoma, the menu and message
# box font) and Japanese programs ask for "MS Gothic"/"MS PGothic" by their
# English and Japanese names. None of them exist on Linux, so menus show
# empty boxes instead of Japanese text. Font replacements in
# HKCU\Software\Wine\Fonts\Replacements map them to VL Gothic from Debian's
# fonts-vlgothic. "MS Sans Serif" is left alone: Wine ships it, and the
# English dialogs that use it stay as they are.
#
# Usage: WINEPREFIX=/path/to/prefix scripts/wine-japanese-fonts.sh
set -euo pipefail

: "${WINEPREFIX:?set WINEPREFIX to the Wine prefix to change}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"

if ! fc-list : family 2>/dev/null | grep 'VL Gothic' >/dev/null; then
  echo "VL Gothic is not installed (Debian package fonts-vlgothic); nothing changed." >&2
  exit 1
fi

reg="$(mktemp --suffix=.reg)"
trap 'rm -f "$reg"' EXIT

# regedit takes Unicode .reg files as UTF-16LE with a byte order mark.
{
  printf '\xff\xfe'
  iconv -f UTF-8 -t UTF-16LE <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"MS UI Gothic"="VL PGothic"
"MS Gothic"="VL Gothic"
"MS PGothic"="VL PGothic"
"ＭＳ ゴシック"="VL Gothic"
"ＭＳ Ｐゴシック"="VL PGothic"
"MS Mincho"="VL Gothic"
"MS PMincho"="VL PGothic"
"ＭＳ 明朝"="VL Gothic"
"ＭＳ Ｐ明朝"="VL PGothic"
"Meiryo"="VL PGothic"
"Meiryo UI"="VL PGothic"
"メイリオ"="VL PGothic"
REG
} >"$reg"

wine regedit /S "$(winepath -w "$reg")"
wineserver -w
echo "Japanese font replacements set in $WINEPREFIX"
