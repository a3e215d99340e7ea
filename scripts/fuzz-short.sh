#!/usr/bin/env bash
# Runs every fuzz target found in the build directory for a short time on its committed seeds,
# as many at once as the machine has cores (each target runs on one).
# Usage: fuzz-short.sh BUILD_DIR [SECONDS]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$1
seconds=${2:-12}
jobs=$(nproc)
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

# One target on its seeds; its log ends in "ok" or "failed".
fuzz_one() {
  local target=$1 name seeds work
  name=$(basename "$target")
  seeds=$(find "$top" -path "$top/build" -prune -o -type d -path "*/fuzz/seeds/${name#fuzz_}" -print | head -n 1)
  work=$(mktemp -d)
  {
    echo "fuzzing $name for ${seconds}s (seeds: ${seeds:-none})"
    if "$target" -max_total_time="$seconds" -print_final_stats=0 "$work" ${seeds:+"$seeds"} >"$work.log" 2>&1; then
      grep -E '^(#[0-9]+ *DONE|Done)' "$work.log" | tail -n 1 || true
      echo ok
    else
      tail -n 60 "$work.log"
      echo "fuzz target $name failed"
      echo failed
    fi
  } >"$logs/$name.log"
  rm -rf "$work" "$work.log"
}

found=0
while IFS= read -r target; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
  fuzz_one "$target" &
  found=$((found + 1))
done < <(find "$build" -maxdepth 3 -type f -name 'fuzz_*' -perm -u+x | sort)
wait

failed=0
for log in "$logs"/*.log; do
  [ -e "$log" ] || continue
  head -n -1 "$log"
  [ "$(tail -n 1 "$log")" = ok ] || failed=1
done
echo "$found fuzz targets ran"
exit "$failed"
