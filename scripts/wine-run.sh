#!/usr/bin/env bash
# Runs a Windows program under Wine in a throwaway prefix that belongs to the build:
#   scripts/wine-run.sh path/to/program.exe [arguments...]
# CTest calls it for every Windows test program (CMAKE_CROSSCOMPILING_EMULATOR).
#
# The prefix lives in <build dir>/wineprefix (the build dir is the nearest directory above
# the program that holds CMakeCache.txt; OSTREL_WINEPREFIX overrides it). It is created
# once, quietly, and reused by every later run of that build. Fonts: the dialog font
# "ＭＳ Ｐゴシック" and the default UI fonts are mapped to the IPA fonts, so Japanese texts
# render. A display must exist (scripts/with-display.sh provides one).
set -euo pipefail

program=${1:?usage: wine-run.sh program.exe [arguments...]}

find_build_dir() {
  local dir
  dir=$(cd "$(dirname "$1")" && pwd)
  while [ "$dir" != / ]; do
    [ -f "$dir/CMakeCache.txt" ] && { echo "$dir"; return; }
    dir=$(dirname "$dir")
  done
  echo "${TMPDIR:-/tmp}/ostrel-wine"
}

prefix=${OSTREL_WINEPREFIX:-$(find_build_dir "$program")/wineprefix}
export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEARCH=win64
# No Mono or Gecko installers: the program needs neither, and they would ask.
export WINEDLLOVERRIDES="mscoree,mshtml=;${WINEDLLOVERRIDES:-}"

# The prefix's settings, as a registry file (regedit wants UTF-16 for the Japanese names):
# the font replacements, and no crash dialog (a crashing test prints its backtrace and
# ends instead of waiting for someone to close a window).
prefix_registry() {
  local target_p="IPAPGothic" target="IPAGothic"
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  for name in "ＭＳ Ｐゴシック" "MS PGothic" "MS UI Gothic" "MS Shell Dlg" "MS Shell Dlg 2" \
              "Tahoma" "Microsoft Sans Serif" "Segoe UI" "Meiryo UI" "メイリオ"; do
    printf '"%s"="%s"\r\n' "$name" "$target_p"
  done
  for name in "ＭＳ ゴシック" "MS Gothic" "ＭＳ 明朝" "MS Mincho"; do
    printf '"%s"="%s"\r\n' "$name" "$target"
  done
  printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n'
}

# Bump when prefix_registry changes: existing prefixes then take the new settings.
settings_version=2
if [ "$(cat "$prefix/.ostrel-ready" 2>/dev/null)" != "$settings_version" ]; then
  mkdir -p "$prefix"
  (
    # Parallel first runs of one build: one sets the prefix up, the others wait for it.
    flock 9
    if [ "$(cat "$prefix/.ostrel-ready" 2>/dev/null)" != "$settings_version" ]; then
      [ -f "$prefix/system.reg" ] || wine wineboot --init >/dev/null 2>&1 || true
      reg="$prefix/ostrel-settings.reg"
      prefix_registry | iconv -f UTF-8 -t UTF-16 >"$reg"
      wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
      wineserver -w
      echo "$settings_version" >"$prefix/.ostrel-ready"
    fi
  ) 9>"$prefix.lock"
fi

# Without a window manager (a private Xvfb) Wine draws the window frames itself and does
# not wait for a manager to acknowledge each unmapped window (two seconds a window).
managed=Y
[ -n "${OSTREL_NO_WINDOW_MANAGER:-}" ] && managed=N
if [ "$(cat "$prefix/.ostrel-managed" 2>/dev/null)" != "$managed" ]; then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f >/dev/null 2>&1
  echo "$managed" >"$prefix/.ostrel-managed"
fi

[ -n "${OSTREL_WINE_PREFIXES:-}" ] && echo "$prefix" >>"$OSTREL_WINE_PREFIXES"

exec wine "$@"
