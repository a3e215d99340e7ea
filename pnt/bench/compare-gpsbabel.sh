#!/usr/bin/env bash
# Whole-process timings of pnt against GPSBabel on the same 250 points:
#   export: pnt export FULL.pnt --to gpx      vs  gpsbabel -i gpx -f IN.gpx -o gpx -F OUT.gpx
#   import: pnt import IN.gpx -o OUT.pnt      vs  gpsbabel -i gpx -f IN.gpx (reading only)
# Prints the mean time of each and the ratio gpsbabel/pnt (the target is 10 or more). Usage: compare-gpsbabel.sh PNT [RUNS]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
pnt=${1:?usage: compare-gpsbabel.sh PNT [RUNS]}
runs=${2:-200}
full=$top/samples/full250.pnt
# On tmpfs when there is one: the safe save flushes to disk, which GPSBabel never does, and
# the disk's flush time is not what is compared here.
work=$(mktemp -d -p "$([[ -d /dev/shm && -w /dev/shm ]] && echo /dev/shm || echo "${TMPDIR:-/tmp}")")
trap 'rm -rf "$work"' EXIT
"$pnt" export "$full" --to gpx -o "$work/in.gpx"

# Mean microseconds per run of the command given as arguments (after two warm-up runs): wall
# time, and the CPU time (user + system) of the processes.
mean_us() {
  "$@" >/dev/null 2>&1; "$@" >/dev/null 2>&1
  local TIMEFORMAT='%R %U %S' timing
  timing=$({ time for ((i = 0; i < runs; i++)); do "$@" >/dev/null 2>&1; done; } 2>&1)
  awk -v r="$runs" '{ printf "%d %d\n", $1 * 1e6 / r, ($2 + $3) * 1e6 / r }' <<<"$timing"
}

# Starting any process from this loop costs the same for both programs; it is measured with
# /bin/true and shown, and the second ratio compares what remains.
report() {
  local what=$1 ours=($2) theirs=($3) floor=($4)
  awk -v w="$what" -v o="${ours[0]}" -v t="${theirs[0]}" -v f="${floor[0]}" 'BEGIN {
    printf "%-7s pnt %6d us   gpsbabel %6d us   gpsbabel/pnt %5.1fx   without the process start: %5.1fx\n",
           w, o, t, t / o, (t - f) / (o - f) }'
}

floor=$(mean_us /bin/true)
export_pnt=$(mean_us "$pnt" export "$full" --to gpx -o "$work/out.gpx")
export_babel=$(mean_us gpsbabel -i gpx -f "$work/in.gpx" -o gpx -F "$work/babel.gpx")
import_pnt=$(mean_us "$pnt" import "$work/in.gpx" --force -o "$work/out.pnt")
import_babel=$(mean_us gpsbabel -i gpx -f "$work/in.gpx")
echo "$runs runs each, 250 points, mean wall time per process (process start: $(cut -d' ' -f1 <<<"$floor") us):"
report export "$export_pnt" "$export_babel" "$floor"
report import "$import_pnt" "$import_babel" "$floor"
