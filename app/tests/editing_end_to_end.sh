#!/usr/bin/env bash
# The editing workflow as a user goes through it, under Wine: start on the sample file,
# select a row, add a point through the edit dialog by typing, drag a row to a new place,
# delete a row, delete three more and take that back with Ctrl+Z, sort by a header click
# and take that back too, save through the menu, read the saved file back with pnt; then
# sort again with Ctrl+Y, give three points one icon through the bulk edit, use the find
# box, paste a map link from the X clipboard with Ctrl+V, save, close and read the sorted
# file back with the pasted point in it.
# Screenshots of the list, the edit dialog and the pasted point go to <build dir>/screenshots.
#   editing_end_to_end.sh <Ostrel.exe> <source dir> <build dir> [pnt]
# Exits 77 (skipped) when the native pnt tool has not been built.
set -euo pipefail
exe=$1 source_dir=$2 build_dir=$3
pnt=${4:-$source_dir/build/native/pnt/pnt}
[ -x "$pnt" ] || { echo "editing_end_to_end: no native pnt at $pnt; build the native preset first"; exit 77; }

. "$source_dir/scripts/end-to-end-lib.sh"
with_display "$@"
fresh_work_dir editing-end-to-end
cp "$source_dir/samples/sample.pnt" "$work/sample.pnt"


start_editor "$work/sample.pnt"
name_x=150

shoot "$main" "$shots/editing-list.png"

# Select the second row and add a point in front of it.
click $name_x "$(row_y 1)"
click $buttons_x 145
dialog=$(find_window 編集) || fail "the edit dialog did not open"
sleep 0.5
xdotool type --delay 30 "Tokyo Tower"
xdotool key Tab Tab
xdotool type --delay 30 "139/44/43.000"
xdotool key Tab
xdotool type --delay 30 "35/39/31.000"
sleep 0.5
shoot "$dialog" "$shots/editing-dialog.png"
xdotool key Return
window_closes 編集 || fail "OK did not close the edit dialog"

# Drag the first row onto the sixth: it goes in front of it.
move $name_x "$(row_y 0)" mousedown 1
sleep 0.2
for y in 56 64 75 90 105 120 130 "$(row_y 5)"; do
  move $name_x "$y"
  sleep 0.1
done
xdotool mouseup 1
sleep 0.5

# Delete the fourth row.
click $name_x "$(row_y 3)"
click $buttons_x 201

# Three rows deleted at once, then Ctrl+Z: all three come back in their places.
click $name_x "$(row_y 2)"
xdotool keydown shift
click $name_x "$(row_y 4)"
xdotool keyup shift
click $buttons_x 201
sleep 0.3
xdotool key ctrl+z
sleep 0.3
shoot "$main" "$shots/editing-after.png"

# A click on the 名称 header sorts by name; Ctrl+Z puts the points back in their order.
click $name_x 33
xdotool key ctrl+z
sleep 0.3
click 20 8
click 60 53

saved_names() {
  "$pnt" list --json "$work/sample.pnt" | python3 -c '
import json, sys
print("|".join(json.loads(line)["name"] for line in sys.stdin if line.strip()))'
}
names=$(saved_names)
expected="Tokyo Tower|浅草寺|富士山五合目|東京駅|大阪城|厳島神社|札幌時計台|首里城|兼六園|姫路城|道後温泉本館|中尊寺金色堂"
[ "$names" = "$expected" ] || fail "saved points are $names, expected $expected"

# Ctrl+Y sorts again: by the names' codes.
xdotool key ctrl+y
sleep 0.3

# 編集 → 一括変更 with the first three rows selected: icon 02 for all three.
click $name_x "$(row_y 0)"
xdotool keydown shift
click $name_x "$(row_y 2)"
xdotool keyup shift
click 72 8
xdotool key Down Down Down Down Down Down Down Down Return
bulk=$(find_window 一括変更) || fail "編集 → 一括変更 did not open the dialog"
sleep 0.3
xdotool key Down Down
sleep 0.3
shoot "$bulk" "$shots/editing-bulk.png"
xdotool key Return
window_closes 一括変更 || fail "OK did not close the bulk-edit dialog"

# Ctrl+F opens the find box; what is typed selects the rows holding it; Esc closes it.
xdotool key ctrl+f
finder=$(find_window 検索) || fail "Ctrl+F did not open the find box"
sleep 0.3
xdotool type --delay 30 "TOKYO"
sleep 0.5
shoot "$main" "$shots/editing-find.png"
xdotool key Escape
window_closes 検索 || fail "Esc did not close the find box"

# A map link copied in a browser (the X clipboard, which Wine shares), pasted with Ctrl+V
# after the third row: the place's own position and its name from the link.
link='https://www.google.com/maps/place/%E9%9B%B7%E9%96%80/@35.7112,139.7960,17z/data=!3m1!4b1!4m6!3m5!1s0x0:0x0!8m2!3d35.7110709!4d139.7963086'
printf '%s' "$link" | xclip -quiet -selection clipboard -i >/dev/null 2>&1 &
clip_owner=$!
sleep 0.5
click $name_x "$(row_y 2)"
xdotool key ctrl+v
sleep 0.5
kill "$clip_owner" 2>/dev/null || true
shoot "$main" "$shots/editing-paste.png"
save_and_close
names=$(saved_names)
expected=$(python3 -c '
import sys
names = sorted(sys.argv[1].split("|"), key=lambda n: n.encode("cp932"))
print("|".join(names[:3] + ["雷門"] + names[3:]))' "$expected")
pasted=$("$pnt" list --json "$work/sample.pnt" | python3 -c '
import json, sys
p = [json.loads(line) for line in sys.stdin if line.strip()][3]
print(p["latitude_units"] == round(35.7110709 * 7372800), p["longitude_units"] == round(139.7963086 * 7372800))')
[ "$pasted" = "True True" ] || fail "the pasted point is not where the link puts it ($pasted)"
[ "$names" = "$expected" ] || fail "sorted points are $names, expected $expected"
icons=$("$pnt" list --json "$work/sample.pnt" | python3 -c '
import json, sys
print(",".join(str(json.loads(line)["icon"]) for line in sys.stdin if line.strip()))')
[ "${icons:0:6}" = "2,2,2," ] || fail "the bulk edit left the icons $icons"
"$pnt" check "$work/sample.pnt" >/dev/null || fail "pnt check found a problem in the saved file"
echo "screenshots: $shots/editing-list.png $shots/editing-dialog.png $shots/editing-after.png $shots/editing-bulk.png $shots/editing-find.png $shots/editing-paste.png"
