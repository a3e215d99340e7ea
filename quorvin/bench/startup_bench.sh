#!/usr/bin/env bash
# Start-up of Quorvin2.exe to its first idle, as the editor starts it and waits for it, as a
# ratio to a bare Win32 window program started the same way under the same Wine in the same
# run (target: 1.5 at most). Uses the editor's start-up launcher (app/bench).
#   quorvin/bench/startup_bench.sh [build dir] [runs]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build/windows}
runs=${2:-15}
cmake --build "$build" --target Quorvin2 bare_window startup_launcher -j2 >/dev/null

work="$build/quorvin-startup-bench"
mkdir -p "$work"
cp "$build/quorvin/Quorvin2.exe" "$build/quorvin/bench/bare_window.exe" "$build/app/bench/startup_launcher.exe" "$work/"
cd "$work"
export BENCH_RUNS=$runs BENCH_TOP=$top
exec "$top/scripts/with-display.sh" bash -c '
  echo "== Quorvin2.exe against a bare window program"
  "$BENCH_TOP/scripts/wine-run.sh" startup_launcher.exe "$BENCH_RUNS" Quorvin2.exe bare_window.exe
'
