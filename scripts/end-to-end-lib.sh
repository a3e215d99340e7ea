# Shell functions the end-to-end tests share (sourced, not run): finding a program's window
# under Wine and taking its picture.

# A Unix path as Wine sees it: drive Z: is the Unix root.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# Waits up to $2 seconds (default 10) for a visible window titled exactly $1; prints its id.
find_window() {
  local id=""
  for _ in $(seq $((${2:-10} * 10))); do
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
