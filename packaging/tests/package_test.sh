#!/usr/bin/env bash
# The Windows zip as a user gets it: made with CPack from the build, holding Ostrel.exe,
# Quorvin2.exe, the 55 point icons and the two read-mes in one folder; unpacked, both
# programs start from there under Wine and show their windows (the editor with the map
# controls, as the helper lies beside it).
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

expected=$( { printf '%s\n' Ostrel.exe Quorvin2.exe README-en.txt README-ja.txt
              for i in $(seq -w 1 55); do echo "mark$i.ico"; done; } | sort)
actual=$(unzip -Z1 "$zip" | grep -v '/$' | sed "s|^$folder/||" | sort)
[ "$actual" = "$expected" ] || { diff <(echo "$expected") <(echo "$actual") || true; fail "the zip holds other files"; }

unpacked="$work/unpacked"
mkdir -p "$unpacked"
unzip -q "$zip" -d "$unpacked"
cd "$unpacked/$folder"
cp "$source_dir/samples/sample.pnt" .
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
