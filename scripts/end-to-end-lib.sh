# What the end-to-end tests share. They drive Ostrel.exe under Wine with xdotool, as a user
# would, and take screenshots. Source it after setting exe, source_dir and build_dir:
#   . "$source_dir/scripts/end-to-end-lib.sh"
#   with_display "$@"
#   fresh_work_dir my-test

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

# Waits up to 10 s for a visible window titled exactly $1 and prints its id.
find_window() {
  local id=""
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) || true
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
