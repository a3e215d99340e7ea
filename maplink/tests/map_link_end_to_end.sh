#!/usr/bin/env bash
# The map link as a user meets it, under Wine, with the recording helper standing in for
# Quorvin2.exe beside the program: 地図表示 starts the helper, whose marker notice fills
# the latitude and longitude boxes; 位置取込 adds a point there; 地図 → 選択 opens the
# map-object dialog on a registry without the program's key, a name is typed, added,
# selected and confirmed; the registry's 32-bit view then holds it and the helper was
# restarted with it. Screenshots go to <build dir>/screenshots.
#   map_link_end_to_end.sh <Ostrel.exe> <recording helper> <source dir> <build dir>
set -euo pipefail
exe=$1 helper=$2 source_dir=$3 build_dir=$4

. "$source_dir/scripts/end-to-end-lib.sh"
with_display "$@"
fresh_work_dir map-link-end-to-end
cp "$helper" "$work/Quorvin2.exe"
cp "$source_dir/samples/sample.pnt" "$work/sample.pnt"
before=$(md5sum <"$work/sample.pnt")

wine_in_work() { (cd "$work" && "$source_dir/scripts/wine-run.sh" "$@"); }
key='HKLM\SOFTWARE\Brannock\Merlow'
# The key's values in the 32-bit view, one "name type data" a line.
registry() { wine_in_work reg query "$key" /reg:32 2>/dev/null | tr -d '\r' | sed -n 's/^    //p'; }

# Waits up to 10 s for a line of the helper's log that matches $1.
logged() {
  for _ in $(seq 100); do
    grep -q -- "$1" "$work/helper.log" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

# A first run: the program has never written its key.
wine_in_work reg delete "$key" /f /reg:32 >/dev/null 2>&1 || true

export OSTREL_HELPER_LOG OSTREL_HELPER_SCRIPT
OSTREL_HELPER_LOG=$(windows_path "$work/helper.log")
OSTREL_HELPER_SCRIPT=$(windows_path "$work/helper-script.txt")
printf 'notice\nlat 35/39/29123\nlon 139/44/05007\n' >"$work/helper-script.txt"

(cd "$work" && exec "$source_dir/scripts/wine-run.sh" Ostrel.exe "$(windows_path "$work/sample.pnt")") &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
main=$(find_window Ostrel) || fail "no window titled Ostrel"
sleep 1.5

# Clicks at a place of window $1's client area (the main window's includes its menu bar).
click() { xdotool mousemove --window "$1" $(($2 + frame_x)) $(($3 + frame_y)) click 1; sleep 0.5; }

click "$main" 571 35   # 地図表示
logged '^SUB_GET_MARK_LON' || fail "the helper was not started or not asked for the marker"
sleep 0.5
click "$main" 373 37   # 位置取込
shoot "$main" "$shots/map-link-main.png"

click "$main" 177 9    # 地図
click "$main" 188 29   # 選択
dialog=$(find_window オブジェクト) || fail "the map-object dialog did not open"
expected="MapObject00 REG_SZ ProAtlasW2.Map|MapObject01 REG_SZ ProAtlasW3.Map|MapObject02 REG_SZ ProAtlasSV.Map|MapObject03 REG_SZ Mapple.Document|o-cnt REG_DWORD 0x4"
values=$(registry | tr -s ' ' | paste -sd '|')
[ "$values" = "$expected" ] || fail "on first opening the registry holds $values"

click "$dialog" 142 176  # the name box
xdotool type --delay 30 "Kitsune.Map"
click "$dialog" 41 218   # 追加
click "$dialog" 60 71    # the fifth entry, the new one
shoot "$dialog" "$shots/map-object-dialog.png"
click "$dialog" 346 23   # OK
logged '^SUB_OBJECT_NAME 0x00000000 Kitsune.Map$' || fail "the helper was not restarted with the new name"
values=$(registry | tr -s ' ' | paste -sd '|')
expected="MapObject REG_SZ Kitsune.Map|MapObject00 REG_SZ ProAtlasW2.Map|MapObject01 REG_SZ ProAtlasW3.Map|MapObject02 REG_SZ ProAtlasSV.Map|MapObject03 REG_SZ Mapple.Document|MapObject04 REG_SZ Kitsune.Map|o-cnt REG_DWORD 0x5"
[ "$values" = "$expected" ] || fail "after the choice the registry holds $values"
[ "$(grep -c '^started ' "$work/helper.log")" = 2 ] || fail "the helper was not started twice"
grep -q '^WM_CLOSE$' "$work/helper.log" || fail "the first helper was not closed"

# Close; the captured point makes the program ask about saving: No.
xdotool key --window "$main" Escape
sleep 1
xdotool key n
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the program did not close"
[ "$(tail -1 "$work/helper.log")" = WM_CLOSE ] || fail "closing the program did not close the helper"
[ "$(md5sum <"$work/sample.pnt")" = "$before" ] || fail "the sample file changed"
echo "screenshots: $shots/map-link-main.png $shots/map-object-dialog.png"
