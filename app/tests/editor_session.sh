# What the end-to-end scripts share that drive the editor under Wine with xdotool, as a
# user would. Source it with $test_name (for messages and the work directory's name),
# $exe, $source_dir, $build_dir and $pnt set.
#   begin_session "$0" "$@"  exits 77 (skipped) without the native pnt; moves to a display
#                            of its own where there is none; fills $work with the program,
#                            its icons and the sample file; sets $shots
#   start_editor FILE        starts Ostrel.exe in $work on FILE; sets $pid and $main
#   find_window TITLE        waits for a visible window whose title matches TITLE (a regular
#                            expression for the whole title) and prints its id
#   window_closes TITLE      waits for it to go; false when it stays
#   shoot WINDOW PNG         a screenshot of that window alone
#   move X Y [COMMANDS...]   the mouse to X, Y of the main window's client area (menu bar
#                            included), then any further xdotool commands there
#   click X Y, row_y ROW     a click there; the y of a list's row
#   save_and_close           ﾌｧｲﾙ → 上書き保存, then the 終了 button; waits for the end

begin_session() {
  [ -x "$pnt" ] || { echo "$test_name: no native pnt at $pnt; build the native preset first"; exit 77; }
  if [ -z "${DISPLAY:-}" ]; then
    exec "$source_dir/scripts/with-display.sh" "$@"
  fi
  work="$build_dir/${test_name//_/-}"
  shots="$build_dir/screenshots"
  rm -rf "$work"
  mkdir -p "$work" "$shots"
  cp "$exe" "$work/Ostrel.exe"
  cp "$source_dir"/resources/art/marks/mark*.ico "$work/"
  cp "$source_dir/samples/sample.pnt" "$work/sample.pnt"
}

fail() { echo "$test_name: $*" >&2; exit 1; }
# Wine's drive Z: is the Unix root.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

find_window() {
  local id=""
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^($1)\$" 2>/dev/null | head -1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

window_closes() {
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name "^($1)\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

shoot() {
  local X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window root "$2.full.png"
  convert "$2.full.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
  rm -f "$2.full.png"
}

start_editor() {
  (cd "$work" && exec "$source_dir/scripts/wine-run.sh" Ostrel.exe "$(windows_path "$1")") &
  pid=$!
  # A failed step must not leave the program running (CTest would wait for it).
  trap 'kill "$pid" 2>/dev/null || true' EXIT
  main=$(find_window Ostrel) || fail "no window titled Ostrel"
  sleep 1.5
}

# Places in the main window (its client area, menu bar included, as Wine shows it with no
# window manager): the lists' rows are 17 pixels apart, the first centred at y 50; the
# buttons stand in the right-hand column.
# Without a window manager Wine draws the frame and caption itself, inside the X window:
# the client area then starts 4 pixels in and 22 down.
frame_x=0 frame_y=0
[ -n "${OSTREL_NO_WINDOW_MANAGER:-}" ] && frame_x=4 frame_y=22
buttons_x=718
row_y() { echo $((50 + 17 * $1)); }
move() { xdotool mousemove --window "$main" $(($1 + frame_x)) $(($2 + frame_y)) "${@:3}"; }
click() { move "$1" "$2" click 1; sleep 0.5; }

save_and_close() {
  # Nothing is left to ask about on closing once the file is saved.
  click 20 8
  click 60 53
  click $buttons_x 455
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "the program did not close after saving"
  return 0
}
