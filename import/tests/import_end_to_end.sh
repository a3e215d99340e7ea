#!/usr/bin/env bash
# The import as a user goes through it, under Wine: start on the sample file, choose
# ﾌｧｲﾙ → インポート, type the path of a second point file into the file dialog, select
# three rows of the import list with Ctrl+click, drag them onto a row of the point list;
# then a GPX (a duplicate of the sample's first point in grey, a new place, one outside the
# unit's area in red) and a CSV in Shift_JIS the same way, one new row of each dragged in;
# save through the menu, close; then read the saved file back with pnt. Screenshots of the
# import screen go to <build dir>/screenshots.
#   import_end_to_end.sh <Ostrel.exe> <source dir> <build dir> [pnt]
# Exits 77 (skipped) when the native pnt tool has not been built.
set -euo pipefail
exe=$1 source_dir=$2 build_dir=$3
pnt=${4:-$source_dir/build/native/pnt/pnt}
[ -x "$pnt" ] || { echo "import_end_to_end: no native pnt at $pnt; build the native preset first"; exit 77; }

. "$source_dir/scripts/end-to-end-lib.sh"
with_display "$@"
fresh_work_dir import-end-to-end
cp "$source_dir/samples/sample.pnt" "$work/sample.pnt"
# The second file: 250 points whose coordinates mostly lie between two DMS texts.
cp "$source_dir/samples/full250.pnt" "$work/source.pnt"
source_before=$(md5sum <"$work/source.pnt")
started_on=$(date +%Y/%m/%d)
# The GPX's first place is the sample's first point, where the sample has it.
"$pnt" list --json "$work/sample.pnt" >"$work/sample.json"
python3 - "$work/sample.json" "$work/places.gpx" "$work/places.csv" <<'PY'
import json, sys
first = json.loads(open(sys.argv[1]).readline())
lat, lon = first["latitude_units"] / 7372800, first["longitude_units"] / 7372800
open(sys.argv[2], "w", encoding="utf-8").write(
    '<?xml version="1.0" encoding="UTF-8"?><gpx version="1.1" creator="e2e" xmlns="http://www.topografix.com/GPX/1/1">'
    f'<wpt lat="{lat}" lon="{lon}"><name>{first["name"]}</name></wpt>'
    '<wpt lat="35.0" lon="138.0"><name>E2E Fresh</name></wpt><wpt lat="13.44" lon="144.79"><name>Guam</name></wpt></gpx>')
open(sys.argv[3], "wb").write("name,latitude,longitude,location\r\n函館朝市,41.7687,140.7288,北海道函館市若松町\r\n".encode("cp932"))
PY


start_editor "$work/sample.pnt"
# On the import screen the import list takes the left half of the room beside the buttons,
# the point list the right half.
import_x=150 point_x=500

# ﾌｧｲﾙ → インポート: the import screen, then the open dialog; type the file's path.
import_file() {
  click 20 8
  click 60 112
  find_window '開く|Open' >/dev/null || fail "the import dialog did not open"
  sleep 0.5
  xdotool type --delay 20 "$(windows_path "$1")"
  xdotool key Return
  window_closes '開く|Open' || fail "the import dialog did not close"
  sleep 1
}
# A drag from import row $1 onto row $2 of the point list.
drag_to_point_list() {
  move $import_x "$(row_y "$1")" mousedown 1
  sleep 0.2
  for x in 160 200 260 320 380 440 "$point_x"; do
    move "$x" "$(row_y "$2")"
    sleep 0.1
  done
  xdotool mouseup 1
  sleep 0.5
}
import_file "$work/source.pnt"

# Three rows of the import list with Ctrl+click, then a drag from one of them onto the
# third row of the point list.
for row in 1 3 6; do
  move $import_x "$(row_y $row)"
  xdotool keydown ctrl click 1 keyup ctrl
  sleep 0.3
done
shoot "$main" "$shots/import-screen.png"
drag_to_point_list 3 2
shoot "$main" "$shots/import-after.png"

# The GPX: its new place (row 1) selected, the duplicate above it grey, Guam below red.
import_file "$work/places.gpx"
click $import_x "$(row_y 1)"
shoot "$main" "$shots/import-flags.png"
drag_to_point_list 1 2
import_file "$work/places.csv"
click $import_x "$(row_y 0)"
drag_to_point_list 0 2

save_and_close

[ "$(md5sum <"$work/source.pnt")" = "$source_before" ] || fail "the source file was changed"
# The three points in front of the sample's third, in the reverse of their order in the
# import list, each field as in the source file, the coordinates to the unit; the voice,
# date and time those of a new point.
"$pnt" list --json "$work/source.pnt" >"$work/source.json"
"$pnt" list --json "$work/sample.pnt" >"$work/saved.json"
"$pnt" list --json "$source_dir/samples/sample.pnt" >"$work/before.json"
python3 - "$work/source.json" "$work/saved.json" "$work/before.json" "$started_on" <<'PY' || fail "the saved points are not where they belong"
import json, sys, time
source, saved, before = ([json.loads(line) for line in open(path) if line.strip()] for path in sys.argv[1:4])
today = {sys.argv[4], time.strftime("%Y/%m/%d")}  # the run may pass midnight
copied = ("name", "location", "nickname", "phone", "icon", "longitude_units", "latitude_units")
def fields(point, keys):
    return {key: point[key] for key in keys}
# The CSV's place and the GPX's new one, each dropped on row 2; near where their files put
# them (in the unit's datum, a few hundred metres off at most).
csv = {"name": "函館朝市", "location": "北海道函館市若松町", "lon": 140.7288, "lat": 41.7687}
gpx = {"name": "E2E Fresh", "location": "", "lon": 138.0, "lat": 35.0}
expected = before[:2] + [csv, gpx, source[6], source[3], source[1]] + before[2:]
assert len(saved) == len(expected), f"{len(saved)} points saved, {len(expected)} expected"
for slot, (got, want) in enumerate(zip(saved, expected)):
    assert got["checksum_ok"], f"slot {slot}: bad checksum"
    if slot in (2, 3):
        assert (got["name"], got["location"]) == (want["name"], want["location"]), f"slot {slot}: {got}"
        assert abs(got["longitude_units"] / 7372800 - want["lon"]) < 0.01, f"slot {slot}: {got}"
        assert abs(got["latitude_units"] / 7372800 - want["lat"]) < 0.01, f"slot {slot}: {got}"
    elif 4 <= slot <= 6:
        assert fields(got, copied) == fields(want, copied), f"slot {slot}: {got} is no copy of {want}"
        assert got["voice"] == 0 and got["date"] in today, f"slot {slot}: {got}"
    else:
        assert fields(got, copied + ("date", "time", "voice")) == fields(want, copied + ("date", "time", "voice")), slot
PY
echo "screenshots: $shots/import-screen.png $shots/import-after.png $shots/import-flags.png"
