#!/usr/bin/env bash
# GPSBabel must read every GPX, KML and CSV file pnt writes, with all points at their places,
# and pnt must read the GPX and KML files GPSBabel writes.
# Usage: gpsbabel_peer.sh PNT GPSBABEL SAMPLE.pnt
set -euo pipefail
pnt=$1 gpsbabel=$2 sample=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
count=$("$pnt" list --json "$sample" | wc -l)

# The positions as "lat,lon", one point a line. GPSBabel writes six decimals (about 0.1 m).
positions_of_pnt() { "$pnt" export "$1" --to csv | tail -n +2 | cut -d, -f2,3; }
positions_of_babel() { "$gpsbabel" -i "$1" -f "$2" -o unicsv -F - | tail -n +2 | cut -d, -f2,3; }
# Succeeds when both lists hold the same number of points at the same places, within 1e-5 degrees.
same_positions() {
  paste -d, <(echo "$1") <(echo "$2") | awk -F, '
    NF != 4 { bad = 1 }
    { d1 = $1 - $3; d2 = $2 - $4; if (d1 < 0) d1 = -d1; if (d2 < 0) d2 = -d2; if (d1 > 1e-5 || d2 > 1e-5) bad = 1 }
    END { exit bad }'
}
expected=$(positions_of_pnt "$sample")

for format in gpx:gpx kml:kml csv:unicsv; do
  ours=${format%%:*} theirs=${format##*:}
  "$pnt" export "$sample" --to "$ours" -o "$work/out.$ours"
  got=$(positions_of_babel "$theirs" "$work/out.$ours")
  if ! same_positions "$expected" "$got"; then
    echo "gpsbabel read $ours differently:"; diff <(echo "$expected") <(echo "$got") || true; exit 1
  fi
  echo "gpsbabel read our $ours: $count points"
done

for format in gpx kml; do
  "$gpsbabel" -i gpx -f "$work/out.gpx" -o "$format" -F "$work/babel.$format"
  "$pnt" import "$work/babel.$format" -o "$work/babel-$format.pnt"
  got=$(positions_of_pnt "$work/babel-$format.pnt")
  names=$("$pnt" list --json "$work/babel-$format.pnt" | sed 's/.*"name":"\([^"]*\)".*/\1/')
  want=$("$pnt" list --json "$sample" | sed 's/.*"name":"\([^"]*\)".*/\1/')
  if ! same_positions "$expected" "$got" || [[ "$names" != "$want" ]]; then
    echo "pnt read gpsbabel's $format differently:"; diff <(echo "$expected"; echo "$want") <(echo "$got"; echo "$names") || true
    exit 1
  fi
  echo "pnt read gpsbabel's $format: $count points"
done
