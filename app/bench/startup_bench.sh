#!/usr/bin/env bash
# Start-up of Ostrel.exe with a full 250-point file on its command line, to the first idle
# of its main window, as a ratio to a bare dialog program started the same way under the
# same Wine in the same run (target: 1.3 at most). Both run in a directory holding the
# point icons, as the program is used. A second comparison shows the floor: the main
# window's template shown by the bare program, with none of the program's own work.
#   app/bench/startup_bench.sh [build dir] [runs]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build/windows}
runs=${2:-15}
cmake --build "$build" --target Ostrel bare_dialog template_only startup_launcher -j2 >/dev/null

work="$build/startup-bench"
mkdir -p "$work"
cp "$build/app/Ostrel.exe" "$build"/app/bench/{bare_dialog,template_only,startup_launcher}.exe "$work/"
cp "$top"/resources/art/marks/mark*.ico "$work/"
cp "$top/samples/full250.pnt" "$work/"
cd "$work"
export BENCH_RUNS=$runs BENCH_TOP=$top
exec "$top/scripts/with-display.sh" bash -c '
  set -e
  echo "== Ostrel.exe (full250.pnt) against the bare dialog program"
  "$BENCH_TOP/scripts/wine-run.sh" startup_launcher.exe "$BENCH_RUNS" Ostrel.exe bare_dialog.exe full250.pnt
  echo "== the main window template alone against the bare dialog program"
  "$BENCH_TOP/scripts/wine-run.sh" startup_launcher.exe "$BENCH_RUNS" template_only.exe bare_dialog.exe full250.pnt | tail -1
' 
