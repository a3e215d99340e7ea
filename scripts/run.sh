#!/usr/bin/env bash
# Builds Ostrel.exe and its map helper Quorvin2.exe and opens the editor on the bundled
# sample file, under Wine, in a working directory that holds the helper and the point icons
# (mark01.ico ... mark55.ico) beside it, as the Windows zip lays them out.
#   scripts/run.sh [file.pnt]
# On a desktop (DISPLAY set) the program simply opens. Without a display a private Xvfb
# is started, a screenshot is taken, the program is closed, and the screenshot's path is
# printed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/install-deps.sh

# The windows preset's build; OSTREL_BUILD_DIR picks another.
build=${OSTREL_BUILD_DIR:-$top/build/windows}
cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" --target Ostrel Quorvin2 -j2

sample=${1:-$top/samples/sample.pnt}
sample=$(cd "$(dirname "$sample")" && pwd)/$(basename "$sample")
work="$build/run"
mkdir -p "$work"
cp "$build/app/Ostrel.exe" "$build/quorvin/Quorvin2.exe" "$work/"
cp "$top"/resources/art/marks/mark*.ico "$work/"
# Wine's drive Z: is the Unix root.
windows_sample="Z:${sample//\//\\}"

if [ -n "${DISPLAY:-}" ]; then
  cd "$work"
  exec "$top/scripts/wine-run.sh" Ostrel.exe "$windows_sample"
fi

shot="$build/ostrel-run.png"
export RUN_WORK=$work RUN_SAMPLE=$windows_sample RUN_SHOT=$shot RUN_TOP=$top
"$top/scripts/with-display.sh" bash -c '
  set -euo pipefail
  cd "$RUN_WORK"
  "$RUN_TOP/scripts/wine-run.sh" Ostrel.exe "$RUN_SAMPLE" &
  pid=$!
  window=""
  for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name "^Ostrel\$" 2>/dev/null | head -1) || true
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "run.sh: the window did not show" >&2; kill "$pid"; exit 1; }
  sleep 2
  import -window root "$RUN_SHOT"
  # Close it as a user would: activate it (a click on its caption), then Esc.
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove --window "$window" $((WIDTH / 2)) 8 click 1
  sleep 0.3
  xdotool key Escape
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill "$pid" 2>/dev/null || true
'
echo "No display: Ostrel ran under Xvfb. Screenshot: $shot"
