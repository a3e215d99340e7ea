#!/usr/bin/env bash
# Runs a command with an X display: the current one when DISPLAY is set, otherwise a
# private Xvfb started for the command and stopped after it, of OSTREL_SCREEN's size
# (1280x1024x24 unless set).
#   scripts/with-display.sh ctest --preset windows
set -euo pipefail

if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi

# A display number nobody uses.
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done

Xvfb ":$display" -screen 0 "${OSTREL_SCREEN:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
# Wine prefixes used on this display (scripts/wine-run.sh notes them): their processes end
# before the display does, instead of complaining that it went away.
prefixes=$(mktemp)
stop() {
  sort -u "$prefixes" | while read -r prefix; do
    [ -n "$prefix" ] && WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  done
  rm -f "$prefixes"
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
}
trap stop EXIT

for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  kill -0 "$xvfb" 2>/dev/null || { echo "with-display.sh: Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done

export DISPLAY=":$display"
# Tells scripts/wine-run.sh that no window manager runs on this display.
export OSTREL_NO_WINDOW_MANAGER=1
export OSTREL_WINE_PREFIXES=$prefixes
status=0
"$@" || status=$?
exit "$status"
