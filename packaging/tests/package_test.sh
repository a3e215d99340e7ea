#!/usr/bin/env bash
# The Windows zip as a user gets it: made with CPack from the build, holding Ostrel.exe,
# Quorvin2.exe, pnt.exe, the 55 point icons and the two read-mes in one folder; unpacked, both
# window programs start from there under Wine and show their windows (the editor with the map
# controls, as the helper lies beside it), and pnt.exe converts a file to KMZ and back.
#   package_test.sh <build dir> <source dir>
set -euo pipefail
build_dir=$1 source_dir=$2

. "$source_dir/scripts/end-to-end-lib.sh"
with_display "$@"
work="$build_dir/package-test"
rm -rf "$work"
mkdir -p "$work"
(cd "$build_dir" && cpack -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack failed"; }
zip=$(ls "$work"/out/Ostrel-*-win64.zip) || fail "no zip made"
folder=$(basename "$zip" .zip)

expected=$( { printf '%s\n' Ostrel.exe Quorvin2.exe pnt.exe README-en.txt README-ja.txt
              for i in $(seq -w 1 55); do echo "mark$i.ico"; done; } | sort)
actual=$(unzip -Z1 "$zip" | grep -v '/$' | sed "s|^$folder/||" | sort)
[ "$actual" = "$expected" ] || { diff <(echo "$expected") <(echo "$actual") || true; fail "the zip holds other files"; }

unpacked="$work/unpacked"
mkdir -p "$unpacked"
unzip -q "$zip" -d "$unpacked"
cd "$unpacked/$folder"
cp "$source_dir/samples/sample.pnt" .
# pnt.exe: the points listed, and a KMZ made from them (zlib and XmlLite read it back) comes
# back as the same bytes under a Japanese name.
"$source_dir/scripts/wine-run.sh" pnt.exe list sample.pnt | grep -q 東京駅 || fail "pnt.exe list does not show the points"
"$source_dir/scripts/wine-run.sh" pnt.exe export sample.pnt --to kmz -o sample.kmz || fail "pnt.exe export failed"
"$source_dir/scripts/wine-run.sh" pnt.exe import sample.kmz -o 地点.pnt || fail "pnt.exe import failed"
cmp -s sample.pnt 地点.pnt || fail "pnt.exe did not bring the points back from KMZ unchanged"
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done' EXIT
# Each program in turn: started from the unpacked folder, its window found, then closed.
for program in "Ostrel.exe sample.pnt:Ostrel" "Quorvin2.exe:Quorvin"; do
  command=${program%%:*} title=${program##*:}
  # shellcheck disable=SC2086
  "$source_dir/scripts/wine-run.sh" $command &
  pids+=($!)
  window=$(find_window "$title" 30) || fail "$command did not show a window titled $title"
  sleep 1
  shot="$build_dir/screenshots/package-$title.png"
  mkdir -p "$(dirname "$shot")"
  import -window root "$shot"
  if [ "$title" = Ostrel ]; then
    # The helper beside it: the top row of map controls shows, its show-on-map button a
    # white patch where the list would otherwise start.
    eval "$(xdotool getwindowgeometry --shell "$window")"
    white=$(convert "$shot" -crop "50x12+$((X + 548))+$((Y + 49))" +repage -fill black +opaque white \
            -format '%[fx:int(mean*w*h)]' info:)
    [ "$white" -gt 200 ] || fail "no map controls in the editor started from the zip ($white)"
  fi
  # Closed as a user would: activate it with a click on its caption, then Alt+F4.
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove --window "$window" $((WIDTH / 2)) 8 click 1
  sleep 0.3
  xdotool key alt+F4
  for _ in $(seq 100); do kill -0 "${pids[-1]}" 2>/dev/null || break; sleep 0.1; done
  kill -0 "${pids[-1]}" 2>/dev/null && fail "$command did not close"
done
echo "zip: $zip"
