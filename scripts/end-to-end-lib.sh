# What the end-to-end tests share. They drive Ostrel.exe under Wine with xdotool, as a user
# would, and take screenshots. Source it after setting exe, source_dir and build_dir:
#   . "$source_dir/scripts/end-to-end-lib.sh"
#   with_display "$@"
#   fresh_work_dir my-test
#   start_editor "$work/points.pnt"     # then move, click, row_y, save_and_close

# Stops the test with a message that names the script.
fail() { echo "$(basename "$0" .sh): $*" >&2; exit 1; }

# Without a display, runs the calling script again under a private one.
with_display() {
  [ -n "${DISPLAY:-}" ] || exec "$source_dir/scripts/with-display.sh" "$0" "$@"
}

# Sets work (an empty directory of the build holding the program and its icons) and shots
# (the build's screenshot directory).
fresh_work_dir() {
  work="$build_dir/$1"
  shots="$build_dir/screenshots"
  rm -rf "$work"
  mkdir -p "$work" "$shots"
  cp "$exe" "$work/Ostrel.exe"
  cp "$source_dir"/resources/art/marks/mark*.ico "$work/"
}

# Wine's drive Z: is the Unix root.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# Waits up to $2 seconds (default 10) for a visible window whose whole title matches $1 (a
# title, or titles as alternatives: 'Open|開く') and prints its id.
find_window() {
  local id=""
  for _ in $(seq $((${2:-10} * 10))); do
    id=$(xdotool search --onlyvisible --name "^($1)\$" 2>/dev/null | head -1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Screenshot of window $1 alone, to $2.
shoot() {
  local X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window root "$2.full.png"
  convert "$2.full.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
  rm -f "$2.full.png"
}

# Where a click at a place of a window's client area (menu bar included) lands. Without a
# window manager Wine draws the frame and caption itself, inside the X window: the client
# area then starts 4 pixels in and 22 down.
frame_x=0 frame_y=0
if [ -n "${OSTREL_NO_WINDOW_MANAGER:-}" ]; then frame_x=4 frame_y=22; fi

# Starts Ostrel.exe in $work on the point file $1 (a Unix path); sets pid and main (its
# window).
start_editor() {
  (cd "$work" && exec "$source_dir/scripts/wine-run.sh" Ostrel.exe "$(windows_path "$1")") &
  pid=$!
  # A failed step must not leave the program running (CTest would wait for it).
  trap 'kill "$pid" 2>/dev/null || true' EXIT
  main=$(find_window Ostrel) || fail "no window titled Ostrel"
  sleep 1.5
}

# Waits up to 5 s for the window titled $1 to go; false when it stays.
window_closes() {
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name "^($1)\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

# Places in the main window's client area, menu bar included: the lists' rows are 17 pixels
# apart, the first centred at y 50; the buttons stand in the right-hand column.
# move X Y [COMMANDS...] puts the mouse there and runs any further xdotool commands there.
buttons_x=718
row_y() { echo $((50 + 17 * $1)); }
move() { xdotool mousemove --window "$main" $(($1 + frame_x)) $(($2 + frame_y)) "${@:3}"; }
click() { move "$1" "$2" click 1; sleep 0.5; }

# ﾌｧｲﾙ → 上書き保存, then the 終了 button (nothing is left to ask about); waits for the end.
save_and_close() {
  click 20 8
  click 60 53
  click $buttons_x 455
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then fail "the program did not close after saving"; fi
}

# A Wine prefix of the build whose system DPI is $1 (Wine draws every program at it), made
# once as a copy of the build's prefix (scripts/wine-run.sh sets that one up) and printed.
# The build's prefix stays at 96 DPI: the other tests share it. The programs' files are
# linked, not copied; the registry, which Wine rewrites, is copied.
dpi_prefix() {
  local base="$build_dir/wineprefix" prefix="$build_dir/wineprefix-dpi$1"
  if [ ! -f "$prefix/.ostrel-dpi" ]; then
    [ -f "$base/.ostrel-ready" ] || "$source_dir/scripts/wine-run.sh" cmd /c exit >/dev/null 2>&1 ||
      fail "the build's Wine prefix could not be set up"
    rm -rf "$prefix"
    mkdir -p "$prefix"
    cp -al "$base/drive_c" "$prefix/"
    cp -a "$base/dosdevices" "$base"/*.reg "$base"/.ostrel-* "$base/.update-timestamp" "$prefix/"
    # The value goes into the user's Desktop key while no wineserver has the prefix open.
    python3 - "$prefix/user.reg" "$1" <<'PY' || fail "LogPixels could not be set"
import re, sys
path, dpi = sys.argv[1], int(sys.argv[2])
text = open(path, encoding='utf-8').read()
text = re.sub(r'(?m)^"LogPixels"=dword:[0-9a-f]+\n', '', text)
key = re.search(r'(?m)^\[Control Panel\\\\Desktop\][^\n]*\n(#time=[^\n]*\n)?', text)
if not key:
    sys.exit(1)
text = text[:key.end()] + '"LogPixels"=dword:%08x\n' % dpi + text[key.end():]
open(path, 'w', encoding='utf-8').write(text)
PY
    echo "$1" >"$prefix/.ostrel-dpi"
  fi
  echo "$prefix"
}
