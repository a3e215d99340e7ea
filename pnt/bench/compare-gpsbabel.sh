#!/usr/bin/env bash
# Whole-process timings of pnt on 250 points, against the process floor (process_floor, a
# program built as pnt is that only starts and exits) and beside GPSBabel doing the same:
#   export: pnt export FULL.pnt --to gpx -o OUT.gpx   GPSBabel: -i gpx -f IN.gpx -o gpx -F OUT.gpx
#   import: pnt import IN.gpx -o OUT.pnt              GPSBabel: -i gpx -f IN.gpx (reading only)
# plus pnt refusing a missing file (its start-up and command line with no work). The programs
# run in turn, pnt then the floor then GPSBabel, so that each pair meets the same machine; the
# figures are the medians of the runs, and of each run's pnt/floor ratio (target: 1.3 at most),
# in wall time and in the CPU time the process used (which a busy machine disturbs less).
#   pnt/bench/compare-gpsbabel.sh PNT [RUNS]     (PNT: build/native/pnt/pnt; RUNS: 200)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
pnt=$(realpath "${1:?usage: compare-gpsbabel.sh PNT [RUNS]}")
runs=${2:-200}
floor=$(dirname "$pnt")/process_floor
[[ -x $floor ]] || { echo "compare-gpsbabel.sh: $floor not found (build the target process_floor)" >&2; exit 1; }
full=$top/samples/full250.pnt
# On tmpfs when there is one: the safe save flushes to disk, which GPSBabel never does, and
# the disk's flush time is not what is compared here.
work=$(mktemp -d -p "$([[ -d /dev/shm && -w /dev/shm ]] && echo /dev/shm || echo "${TMPDIR:-/tmp}")")
trap 'rm -rf "$work"' EXIT
"$pnt" export "$full" --to gpx -o "$work/in.gpx"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
python3 - "$runs" "$pnt" "$floor" "$full" "$work" <<'PY'
import os, statistics, subprocess, sys, time
runs, pnt, floor, full, work = int(sys.argv[1]), *sys.argv[2:]
devnull = os.open(os.devnull, os.O_RDWR)

def run(argv):
    # Wall time from the start of the process to its end, as a shell would see it, and the CPU
    # time (user and system) the process used; microseconds.
    start = time.perf_counter_ns()
    pid = os.posix_spawn(argv[0], argv, os.environ, file_actions=[(os.POSIX_SPAWN_DUP2, devnull, 1),
                                                                 (os.POSIX_SPAWN_DUP2, devnull, 2)])
    _, _, usage = os.wait4(pid, 0)
    return (time.perf_counter_ns() - start) / 1e3, (usage.ru_utime + usage.ru_stime) * 1e6

def which(name):
    for d in os.environ.get("PATH", "").split(os.pathsep):
        if os.access(os.path.join(d, name), os.X_OK):
            return os.path.join(d, name)
    return None

babel = which("gpsbabel")
cases = [
    ("export", [pnt, "export", full, "--to", "gpx", "-o", f"{work}/out.gpx"],
     babel and [babel, "-i", "gpx", "-f", f"{work}/in.gpx", "-o", "gpx", "-F", f"{work}/babel.gpx"]),
    ("import", [pnt, "import", f"{work}/in.gpx", "--force", "-o", f"{work}/out.pnt"],
     babel and [babel, "-i", "gpx", "-f", f"{work}/in.gpx"]),
    ("refuse", [pnt, "export", f"{work}/missing.pnt", "--to", "gpx", "-o", f"{work}/none.gpx"], None),
]
median = statistics.median
print(f"{runs} runs each in turn; medians in microseconds per process, wall time (CPU time)")
for name, ours, theirs in cases:
    for argv in (ours, [floor], theirs or [floor]):  # a warm-up run each
        run(argv)
    times, floors, babels = [], [], []
    for _ in range(runs):
        times.append(run(ours))
        floors.append(run([floor]))
        if theirs:
            babels.append(run(theirs))
    wall = lambda samples: median(s[0] for s in samples)
    cpu = lambda samples: median(s[1] for s in samples)
    ratio = lambda k: median(t[k] / f[k] for t, f in zip(times, floors) if f[k] > 0)
    line = (f"{name:7s} pnt {wall(times):6.0f} ({cpu(times):5.0f})   floor {wall(floors):5.0f} ({cpu(floors):4.0f})   "
            f"pnt/floor {ratio(0):4.2f} ({ratio(1):4.2f})")
    if babels:
        line += f"   gpsbabel {wall(babels):6.0f} ({cpu(babels):5.0f}), {wall(babels) / wall(times):3.1f}x pnt"
    print(line)
PY
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
