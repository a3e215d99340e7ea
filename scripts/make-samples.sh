#!/usr/bin/env bash
# Makes the sample point files with pnt itself:
#   samples/sample.pnt   twelve places in Japan, from samples/sample.csv
#   samples/full250.pnt  250 points (for benchmarks and start-up tests), generated here
# Usage: make-samples.sh PNT_BINARY
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
pnt=${1:?usage: make-samples.sh PNT_BINARY}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$pnt" import "$top/samples/sample.csv" -o "$top/samples/sample.pnt" --force

# 250 points on a grid over Honshu, named with kanji, kana and digits, every field in use.
{
  echo "name,latitude,longitude,location,nickname,phone,icon,voice,date,time"
  for i in $(seq 0 249); do
    lat=$(awk -v i="$i" 'BEGIN { printf "%.8f", 33.5 + (i % 25) * 0.25 + i * 0.0001234 }')
    lon=$(awk -v i="$i" 'BEGIN { printf "%.8f", 130.5 + int(i / 25) * 1.1 + i * 0.0004321 }')
    printf '登録地点%03dかな,%s,%s,日本国内の試験位置その%d,ニックネーム%d,03-%04d-%04d,%d,%d,2025/%02d/%02d,%02d:%02d:%02d\n' \
      "$i" "$lat" "$lon" "$i" "$i" "$i" "$((i * 7))" "$((i % 55 + 1))" "$((i % 17))" \
      "$((i % 12 + 1))" "$((i % 28 + 1))" "$((i % 24))" "$((i % 60))" "$(((i * 7) % 60))"
  done
} >"$work/full250.csv"
"$pnt" import "$work/full250.csv" -o "$top/samples/full250.pnt" --force
"$pnt" info "$top/samples/full250.pnt"
