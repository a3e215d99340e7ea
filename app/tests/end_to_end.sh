#!/usr/bin/env bash
# Ostrel.exe as a user meets it, under Wine: started with a point file whose path holds a
# blank, found on the screen, Enter (nothing happens), resized by dragging its corner
# (the buttons follow the right edge), Esc (it closes); then once more with the helper
# program beside it (the marker row shows). Screenshots go to <build dir>/screenshots.
#   end_to_end.sh <Ostrel.exe> <source dir> <build dir>
set -euo pipefail
exe=$1 source_dir=$2 build_dir=$3

if [ -z "${DISPLAY:-}" ]; then
  exec "$source_dir/scripts/with-display.sh" "$0" "$@"
fi

work="$build_dir/end-to-end"
shots="$build_dir/screenshots"
rm -rf "$work"
mkdir -p "$work" "$shots"
cp "$exe" "$work/Ostrel.exe"
cp "$source_dir"/resources/art/marks/mark*.ico "$work/" 2>/dev/null || true
cp "$source_dir/samples/sample.pnt" "$work/sample points.pnt"
before=$(md5sum <"$work/sample points.pnt")

pid=""
# A failed step must not leave the program running (CTest would wait for it).
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null || true' EXIT
fail() { echo "end_to_end: $*" >&2; exit 1; }
# Wine's drive Z: is the Unix root.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# Starts the program in $work on the sample file; sets $pid and $window.
start() {
  (cd "$work" && exec "$source_dir/scripts/wine-run.sh" Ostrel.exe "$(windows_path "$work/sample points.pnt")") &
  pid=$!
  window=""
  for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name '^Ostrel$' 2>/dev/null | head -1) || true
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || fail "the program ended before its window showed"
    sleep 0.1
  done
  [ -n "$window" ] || fail "no window titled Ostrel"
  sleep 1  # the first paint
}

# Waits up to 10 s for the program to end; true when it did.
ended() {
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}

geometry() { xdotool getwindowgeometry --shell "$window"; }

# Types a key into the window as a user would: focus it, then press.
press() {
  window=$(xdotool search --onlyvisible --name '^Ostrel$' | head -1)
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  # A click on the middle of the caption activates the window (Wine draws the caption
  # itself when no window manager runs; its left end is the system menu).
  eval "$(geometry)"
  xdotool mousemove --window "$window" $((WIDTH / 2)) 8 click 1
  sleep 0.3
  xdotool key "$1"
}

# How many pixels of colour $6 ("black", "white" or "R,G,B") lie in columns [$2, $3), rows
# [$4, $5) of screenshot $1.
pixels() {
  convert "$1" -crop "$(($3 - $2))x$(($5 - $4))+$2+$4" +repage ppm:- | python3 -c '
import sys
data = sys.stdin.buffer.read()
fields, pos = [], 0
while len(fields) < 4:
    while data[pos:pos + 1].isspace(): pos += 1
    start = pos
    while not data[pos:pos + 1].isspace(): pos += 1
    fields.append(data[start:pos])
pixels = data[pos + 1:]
named = {"black": (0, 0, 0), "white": (255, 255, 255)}
colour = named.get(sys.argv[1]) or tuple(int(v) for v in sys.argv[1].split(","))
print(sum(1 for i in range(0, len(pixels), 3) if tuple(pixels[i:i + 3]) == colour))' "$6"
}

# --- Without the helper --------------------------------------------------------------
start
eval "$(geometry)"
x0=$X y0=$Y w0=$WIDTH h0=$HEIGHT
import -window root "$shots/ostrel-main.png"
# The status bar along the bottom shows the program's colour, RGB(164, 174, 192), even though
# visual styles are on (a themed bar would paint the theme's grey).
bar="$((x0 + 10)) $((x0 + w0 - 10)) $((y0 + h0 - 20)) $((y0 + h0 - 4))"
[ "$(pixels "$shots/ostrel-main.png" $bar 164,174,192)" -gt $(((w0 - 20) * 16 / 2)) ] ||
  fail "the status bar does not show its colour"

press Return
sleep 1
kill -0 "$pid" 2>/dev/null || fail "Enter closed the program"
xdotool search --onlyvisible --name '^Ostrel$' >/dev/null || fail "Enter closed the window"

# Drag the bottom-right corner 240 pixels right and 120 down.
xdotool mousemove $((x0 + w0 - 2)) $((y0 + h0 - 2)) mousedown 1
for step in 1 2 3 4 5 6; do
  xdotool mousemove $((x0 + w0 - 2 + step * 40)) $((y0 + h0 - 2 + step * 20))
  sleep 0.1
done
xdotool mouseup 1
sleep 3
eval "$(geometry)"
[ "$WIDTH" -gt "$w0" ] || fail "the window did not grow ($w0 -> $WIDTH)"
import -window root "$shots/ostrel-resized.png"
# The button column follows the right edge: white buttons on the black background where
# it now is; where it was, the grown list (blue, no black at all).
shot="$shots/ostrel-resized.png"
strip_new="$((X + WIDTH - 60)) $((X + WIDTH - 15)) $((Y + 60)) $((Y + HEIGHT - 60))"
strip_old="$((x0 + w0 - 60)) $((x0 + w0 - 15)) $((Y + 60)) $((Y + HEIGHT - 60))"
[ "$(pixels "$shot" $strip_new white)" -gt 300 ] || fail "no buttons at the new right edge"
[ "$(pixels "$shot" $strip_new black)" -gt 1000 ] || fail "no background between the buttons"
[ "$(pixels "$shot" $strip_old black)" -lt 20 ] || fail "the list did not grow into the old button column"

press Escape
ended || fail "Esc did not close the program"
[ "$(md5sum <"$work/sample points.pnt")" = "$before" ] || fail "the sample file changed"

# --- With the helper beside the program ------------------------------------------------
: >"$work/Quorvin2.exe"
start
import -window root "$shots/ostrel-helper.png"
press Escape
ended || fail "Esc did not close the program (helper present)"

echo "screenshots: $shots/ostrel-main.png $shots/ostrel-resized.png $shots/ostrel-helper.png"
