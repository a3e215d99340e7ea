#!/usr/bin/env bash
# Start-up of Ostrel.exe with a full 250-point file on its command line, to the first idle
# of its main window, as a ratio to the main window's own template (132) shown by a program
# with no code of its own (template_only), started the same way under the same Wine in the
# same run, in turn (target: 1.3 at most). Both run in a directory holding the point icons,
# as the program is used. A second comparison shows what the template itself costs against
# a one-button dialog (bare_dialog). The load average is printed before and after: the
# figures are only comparable on a machine that is otherwise idle.
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
  echo "load average: $(cut -d" " -f1-3 /proc/loadavg)"
  echo "== Ostrel.exe (full250.pnt) against template 132 shown with no program code"
  "$BENCH_TOP/scripts/wine-run.sh" startup_launcher.exe "$BENCH_RUNS" Ostrel.exe template_only.exe full250.pnt
  echo "== template 132 alone against the one-button dialog"
  "$BENCH_TOP/scripts/wine-run.sh" startup_launcher.exe "$BENCH_RUNS" template_only.exe bare_dialog.exe full250.pnt | tail -1
  echo "load average: $(cut -d" " -f1-3 /proc/loadavg)"
' 
