#!/usr/bin/env bash
# The map link as a user meets it, under Wine: Ostrel.exe with Quorvin2.exe beside it on the
# sample file; three rows selected; the show-on-map button starts the helper, whose map
# shows the three names; a click where Tokyo Station lies places the marker; the editor's
# take-position button adds "新しいポイント" there (read back with pnt after saving, within
# what one pixel spans at the map's zoom); closing the editor closes the helper. Then once
# more with a tile folder as the map object: the tiles show under the texts. Last, a full
# file whose names take the whole field (some 12,000 posted messages, more than Windows lets
# one thread's queue hold) is shown whole: the helper's status bar counts 250 points.
# Screenshots go to <build dir>/screenshots.
#   end_to_end.sh <Ostrel.exe> <Quorvin2.exe> <source dir> <build dir> <status_pane_text.exe> [pnt]
# Exits 77 (skipped) without the native pnt, or when this Ostrel.exe has no map link yet.
set -euo pipefail
exe=$1 quorvin=$2 source_dir=$3 build_dir=$4 status_pane_text=$5
pnt=${6:-$source_dir/build/native/pnt/pnt}
[ -x "$pnt" ] || { echo "quorvin end_to_end: no native pnt at $pnt; build the native preset first"; exit 77; }
# Without a process start anywhere in the editor, it cannot bring the helper up.
grep -qs CreateProcess "$source_dir"/app/*.cpp "$source_dir"/maplink/*.cpp || { echo "quorvin end_to_end: this editor does not start the map helper yet"; exit 77; }

. "$source_dir/scripts/end-to-end-lib.sh"
with_display "$@"
fresh_work_dir quorvin-end-to-end
cp "$quorvin" "$work/Quorvin2.exe"
cp "$source_dir/samples/sample.pnt" "$work/sample.pnt"

# reg.exe has no path of its own to find the build's Wine prefix by.
wine_run() { OSTREL_WINEPREFIX="$build_dir/wineprefix" "$source_dir/scripts/wine-run.sh" "$@"; }
# The editor keeps its map object in the registry's 32-bit view.
merlow='HKLM\SOFTWARE\Brannock\Merlow'
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  # The tile folder was the map object only for this test.
  wine_run reg delete "$merlow" /v MapObject /f /reg:32 >/dev/null 2>&1 || true
}
trap cleanup EXIT

# Places in the editor's client area (menu bar included) with the helper beside it: the top
# row of map controls, the list's rows 17 pixels apart, the buttons in the right-hand column.
at() { xdotool mousemove --window "$1" $(($2 + frame_x)) $(($3 + frame_y)) "${@:4}"; }
row_y() { echo $((79 + 17 * $1)); }
name_x=146 map_button_x=571 take_button_x=373 top_row_y=35 buttons_x=718

# Brings a window to the front with a click on its caption, as a user would. The helper
# opens at the screen's top left and the editor, centred, overlaps it: the helper's caption
# is clicked in its middle, the editor's near its right end, past the helper's right edge
# and short of its caption buttons.
# With a window manager, it is asked to.
raise_window() {
  local X Y WIDTH HEIGHT SCREEN
  if [ -z "${OSTREL_NO_WINDOW_MANAGER:-}" ]; then
    xdotool windowactivate --sync "$1" 2>/dev/null || true
  else
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove --window "$1" $((WIDTH * $2 / 100)) 8 click 1
  fi
  sleep 0.5
}
raise_helper() { raise_window "$helper" 50; }
raise_editor() { raise_window "$main" 88; }

# The centres of the red point dots in screenshot $1, one "x y" line each, left to right.
dots() {
  convert "$1" -depth 8 rgb:- | python3 -c '
import sys
width = int(sys.argv[1])
pixels = sys.stdin.buffer.read()
red = {(i // 3 % width, i // 3 // width) for i in range(0, len(pixels), 3)
       if pixels[i:i + 3] == bytes((200, 30, 40))}
seen, centres = set(), []
for p in sorted(red):
    if p in seen: continue
    stack, blob = [p], []
    seen.add(p)
    while stack:
        q = stack.pop()
        blob.append(q)
        for n in ((q[0] + 1, q[1]), (q[0] - 1, q[1]), (q[0], q[1] + 1), (q[0], q[1] - 1)):
            if n in red and n not in seen:
                seen.add(n)
                stack.append(n)
    if len(blob) >= 20:
        centres.append((round(sum(b[0] for b in blob) / len(blob)), round(sum(b[1] for b in blob) / len(blob))))
for c in sorted(centres): print(*c)' "$(identify -format %w "$1")"
}

# Longitude and latitude of the point named $2 in point file $1, in degrees.
position_of() {
  "$pnt" list --json "$1" | python3 -c '
import json, sys
for line in sys.stdin:
    p = json.loads(line)
    if p["name"] == sys.argv[1]:
        print(p["longitude_units"] / 2048 / 3600, p["latitude_units"] / 2048 / 3600); break' "$2"
}

start_editor() {
  (cd "$work" && exec "$source_dir/scripts/wine-run.sh" Ostrel.exe "$(windows_path "$work/sample.pnt")") &
  pid=$!
  main=$(find_window Ostrel 30) || fail "no window titled Ostrel"
  sleep 1.5
}

# Selects rows 0, 1 and 2 (東京駅, 浅草寺, 富士山五合目) and shows them on the map.
show_three_rows() {
  at "$main" $name_x "$(row_y 0)" click 1
  sleep 0.3
  xdotool keydown ctrl
  at "$main" $name_x "$(row_y 1)" click 1
  at "$main" $name_x "$(row_y 2)" click 1
  xdotool keyup ctrl
  sleep 0.3
  at "$main" $map_button_x $top_row_y click 1
  helper=$(find_window Quorvin 20) || fail "the show-on-map button did not bring up the helper"
  sleep 2
  raise_helper
}

# --- Points, marker and position capture ----------------------------------------------
start_editor
shoot "$main" "$shots/quorvin-e2e-editor.png"
show_three_rows
shoot "$helper" "$shots/quorvin-e2e-points.png"
mapfile -t centres < <(dots "$shots/quorvin-e2e-points.png")
[ "${#centres[@]}" -eq 3 ] || fail "the helper shows ${#centres[@]} point dots, not 3"

# Left to right: 富士山五合目, then 東京駅 (south-west of 浅草寺), then 浅草寺.
read -r fuji_x fuji_y <<<"${centres[0]}"
read -r a_x a_y <<<"${centres[1]}"
read -r b_x b_y <<<"${centres[2]}"
if [ "$a_y" -gt "$b_y" ]; then station_x=$a_x station_y=$a_y; else station_x=$b_x station_y=$b_y; fi
read -r station_lon station_lat < <(position_of "$work/sample.pnt" 東京駅)
read -r fuji_lon fuji_lat < <(position_of "$work/sample.pnt" 富士山五合目)

xdotool mousemove --window "$helper" "$station_x" "$station_y" click 1
sleep 1.5
shoot "$helper" "$shots/quorvin-e2e-marker.png"
raise_editor
shoot "$main" "$shots/quorvin-e2e-marker-boxes.png"
# The take-position button is enabled by the marker notice; it appends 新しいポイント.
at "$main" $take_button_x $top_row_y click 1
sleep 1
shoot "$main" "$shots/quorvin-e2e-captured.png"

# Save through the file menu and close with the button; the helper goes with the editor.
at "$main" 20 8 click 1
sleep 0.5
at "$main" 60 53 click 1
sleep 1
at "$main" $buttons_x 455 click 1
for _ in $(seq 150); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the editor did not close"
xdotool search --name '^Quorvin$' >/dev/null 2>&1 && fail "the helper outlived the editor"

read -r new_lon new_lat < <(position_of "$work/sample.pnt" 新しいポイント) || true
[ -n "${new_lon:-}" ] || fail "no point named 新しいポイント in the saved file"
# What one pixel spans, from the two dots' distance on the screen and on the ground.
python3 - "$station_lon" "$station_lat" "$new_lon" "$new_lat" "$fuji_lon" "$fuji_lat" \
  "$station_x" "$station_y" "$fuji_x" "$fuji_y" <<'PY' || fail "the captured point is not where Tokyo Station was clicked"
import math, sys
slon, slat, nlon, nlat, flon, flat = map(float, sys.argv[1:7])
sx, sy, fx, fy = map(float, sys.argv[7:11])
lon_per_pixel = abs(slon - flon) / abs(sx - fx)
lat_per_pixel = abs(slat - flat) / abs(sy - fy)
print(f"captured {nlon:.6f} {nlat:.6f}; Tokyo Station {slon:.6f} {slat:.6f}; "
      f"a pixel spans {lon_per_pixel:.6f} x {lat_per_pixel:.6f} degrees")
sys.exit(0 if abs(nlon - slon) <= lon_per_pixel and abs(nlat - slat) <= lat_per_pixel else 1)
PY

# --- A tile folder as the map object ----------------------------------------------------
tiles="$work/tiles"
convert -size 256x256 xc:'#f4b860' -fill '#d88a30' -draw 'rectangle 0,0 127,127' \
        -draw 'rectangle 128,128 255,255' "$work/tile.png"
python3 - "$tiles" "$work/tile.png" <<'PY'
import math, os, shutil, sys
folder, tile = sys.argv[1], sys.argv[2]
def xy(lon, lat, z):
    n = 2 ** z
    return int((lon + 180) / 360 * n), int((1 - math.asinh(math.tan(math.radians(lat))) / math.pi) / 2 * n)
for z in range(4, 14):
    x0, y0 = xy(138.0, 36.2, z)
    x1, y1 = xy(140.5, 35.0, z)
    for x in range(x0, x1 + 1):
        for y in range(y0, y1 + 1):
            os.makedirs(f"{folder}/{z}/{x}", exist_ok=True)
            shutil.copy(tile, f"{folder}/{z}/{x}/{y}.png")
PY
wine_run reg add "$merlow" /v MapObject /d "$(windows_path "$tiles")" /f /reg:32 >/dev/null 2>&1
cp "$source_dir/samples/sample.pnt" "$work/sample.pnt"
start_editor
show_three_rows
shoot "$helper" "$shots/quorvin-e2e-tiles.png"
tile_pixels=$(convert "$shots/quorvin-e2e-tiles.png" -fill black +opaque '#d88a30' -fill white -opaque '#d88a30' \
              -format '%[fx:int(mean*w*h)]' info:)
[ "$tile_pixels" -gt 10000 ] || fail "the tiles do not show ($tile_pixels tile pixels)"
[ "$(dots "$shots/quorvin-e2e-tiles.png" | wc -l)" -eq 3 ] || fail "the points do not show over the tiles"
raise_editor
at "$main" $buttons_x 455 click 1
for _ in $(seq 150); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done

# --- A full file of the longest names ---------------------------------------------------
python3 - "$work/full.csv" <<'PY'
import sys
wide = str.maketrans("0123456789", "０１２３４５６７８９")
with open(sys.argv[1], "w", encoding="utf-8") as out:
    out.write("name,latitude,longitude\n")
    for i in range(250):
        out.write(f"{'長' * 16}{f'{i:03d}'.translate(wide)},{35 + i % 10 * 0.05:.4f},{139 + i // 10 * 0.05:.4f}\n")
PY
"$pnt" import "$work/full.csv" -o "$work/sample.pnt" --force >/dev/null
start_editor
# Every row: the first clicked, then Shift+End in the list.
at "$main" $name_x "$(row_y 0)" click 1
xdotool key shift+End
sleep 0.3
at "$main" $map_button_x $top_row_y click 1
helper=$(find_window Quorvin 20) || fail "the show-on-map button did not bring up the helper"
count=""
for _ in $(seq 60); do
  count=$("$source_dir/scripts/wine-run.sh" "$status_pane_text" Quorvin 2 | tr -d '\r') || true
  [ "$count" = "ポイント 250" ] && break
  sleep 0.5
done
raise_helper
shoot "$helper" "$shots/quorvin-e2e-full-file.png"
[ "$count" = "ポイント 250" ] || fail "the helper's status bar says \"$count\" for a full file of the longest names"
raise_editor
at "$main" $buttons_x 455 click 1
for _ in $(seq 150); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done

echo "screenshots: $shots/quorvin-e2e-*.png"
