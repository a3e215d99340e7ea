#!/usr/bin/env bash
# Runs every fuzz target found in the build directory for a short time on its committed seeds.
# Usage: fuzz-short.sh BUILD_DIR [SECONDS]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$1
seconds=${2:-20}
found=0
while IFS= read -r target; do
  name=$(basename "$target")
  seeds=$(find "$top" -path "$top/build" -prune -o -type d -path "*/fuzz/seeds/${name#fuzz_}" -print | head -n 1)
  work=$(mktemp -d)
  echo "fuzzing $name for ${seconds}s (seeds: ${seeds:-none})"
  "$target" -max_total_time="$seconds" -print_final_stats=0 "$work" ${seeds:+"$seeds"} >"$work.log" 2>&1 || {
    tail -n 60 "$work.log"; echo "fuzz target $name failed"; exit 1; }
  grep -E '^(#[0-9]+ *DONE|Done)' "$work.log" | tail -n 1 || true
  rm -rf "$work" "$work.log"
  found=$((found + 1))
done < <(find "$build" -maxdepth 3 -type f -name 'fuzz_*' -perm -u+x | sort)
echo "$found fuzz targets ran"
