#!/usr/bin/env bash
# A long fuzzing run of every libFuzzer target (AddressSanitizer and UndefinedBehaviorSanitizer),
# one target after the other, each from its committed seeds. What raised coverage is merged
# back into the seeds (only inputs that add edges, the smallest that do); every finding is
# kept under build/fuzz-campaign/findings/. Not part of CI: scripts/fuzz-short.sh is.
#
#   scripts/fuzz-campaign.sh [--runs N] MINUTES [TARGET ...]
#
# MINUTES is the time per target; --runs stops a target earlier, after N executions. TARGETs
# are names such as fuzz_load_file (default: all). Prints per target the executions, the
# coverage before and after, the seeds added and the findings; exits 1 when anything was found.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

runs=""
if [ "${1:-}" = "--runs" ]; then
  runs=${2:?--runs needs a number}
  shift 2
fi
minutes=${1:?usage: fuzz-campaign.sh [--runs N] MINUTES [TARGET ...]}
shift
seconds=$(awk -v m="$minutes" 'BEGIN { s = int(m * 60); print (s < 1 ? 1 : s) }')

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null

out=build/fuzz-campaign
mkdir -p "$out/findings" "$out/logs"
mapfile -t targets < <(find build/fuzz -maxdepth 3 -type f -name 'fuzz_*' -perm -u+x | sort)
[ $# -eq 0 ] || mapfile -t targets < <(for name in "$@"; do printf '%s\n' "${targets[@]}" | grep "/$name\$"; done)
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets to run" >&2; exit 2; }

# "#123 INITED cov: 45 ft: 67 ..." -> the number after the given label.
stat_after() { { grep -E "^#[0-9]+[[:space:]]+$1[[:space:]]" "$2" || true; } | tail -n 1 | sed -E "s/.* $3: ([0-9]+).*/\1/"; }

printf 'load before the run: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-22s %14s %9s %16s %7s %s\n' target executions 'per s' 'edges (new)' seeds findings
total_findings=0
for target in "${targets[@]}"; do
  name=$(basename "$target")
  seeds=$(find . -path ./build -prune -o -type d -path "*/fuzz/seeds/${name#fuzz_}" -print | head -n 1)
  [ -n "$seeds" ] || { mkdir -p "$out/seeds/$name"; seeds=$out/seeds/$name; }
  work=$(mktemp -d)
  findings="$out/findings/$name"
  mkdir -p "$findings"
  log="$out/logs/$name.log"
  # -timeout: one input running for 10 s is a hang and a finding like a crash.
  "$target" -max_total_time="$seconds" ${runs:+-runs="$runs"} -timeout=10 -print_final_stats=1 \
            -artifact_prefix="$findings/" "$work" "$seeds" >"$log" 2>&1 || true
  executions=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+)/\1/p' "$log" | tail -n 1)
  elapsed=$(sed -nE 's/^Done [0-9]+ runs in ([0-9]+) second.*/\1/p' "$log" | tail -n 1)
  before=$(stat_after INITED "$log" cov)
  after=$(stat_after '(DONE|NEW|REDUCE|pulse)' "$log" cov)
  found=$(find "$findings" -type f | wc -l)
  total_findings=$((total_findings + found))

  # Inputs that add edges over the seeds join them; -use_counters=0 leaves out those that
  # only hit a known edge more often, which keeps the seed folders small.
  added=0
  if [ "$found" -eq 0 ]; then
    count_before=$(find "$seeds" -type f | wc -l)
    "$target" -merge=1 -use_counters=0 "$seeds" "$work" >>"$log" 2>&1 || true
    added=$(( $(find "$seeds" -type f | wc -l) - count_before ))
  fi
  rm -rf "$work"
  rate=$(awk -v e="${executions:-0}" -v s="${elapsed:-0}" 'BEGIN { print (s > 0 ? int(e / s) : "-") }')
  printf '%-22s %14s %9s %16s %7s %s\n' "$name" "${executions:-?}" "$rate" \
         "${after:-?} (+$(( ${after:-0} - ${before:-0} )))" "+$added" \
         "$([ "$found" -eq 0 ] && echo none || echo "$found in $findings")"
done
printf 'load after the run: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
[ "$total_findings" -eq 0 ]
