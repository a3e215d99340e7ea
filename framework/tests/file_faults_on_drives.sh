#!/usr/bin/env bash
# The faults a user's disk really has, on real file systems under Wine: a file system too
# small for a second copy of the point file (a full disk) and one mounted read-only, each
# mapped as a drive letter of the test's Wine prefix. Mounting needs root, which CI has;
# without it the test is skipped (exit 77).
#   file_faults_on_drives.sh <framework_test.exe> <source dir> <build dir>
set -euo pipefail
exe=$1 source_dir=$2 build_dir=$3

[ "$(id -u)" -eq 0 ] || { echo "skipped: mounting a file system needs root"; exit 77; }
prefix=${OSTREL_WINEPREFIX:-$build_dir/wineprefix}
# The prefix exists once any program ran in it.
"$source_dir/scripts/wine-run.sh" "$exe" --gtest_list_tests >/dev/null

work=$(mktemp -d)
full=$work/full read_only=$work/read-only
mkdir -p "$full" "$read_only"
cleanup() {
  rm -f "$prefix/dosdevices/q:" "$prefix/dosdevices/r:"
  umount "$full" 2>/dev/null || true
  umount "$read_only" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# 100 KiB holds the point file (16 pages) but not a second copy beside it.
mount -t tmpfs -o size=100k,mode=0777 tmpfs "$full" || { echo "skipped: cannot mount here"; exit 77; }
mount -t tmpfs -o size=1m,mode=0777 tmpfs "$read_only"
cp --sparse=never "$source_dir/samples/sample.pnt" "$full/points.pnt"
cp "$source_dir/samples/sample.pnt" "$read_only/points.pnt"
mount -o remount,ro "$read_only"
ln -sfn "$full" "$prefix/dosdevices/q:"
ln -sfn "$read_only" "$prefix/dosdevices/r:"

log="$work/log"
OSTREL_FULL_DRIVE=Q: OSTREL_READ_ONLY_DRIVE=R: "$source_dir/scripts/wine-run.sh" "$exe" \
  --gtest_filter='Win32SaveFaults.AFullDiskAndAReadOnlyDirectoryKeepTheOldFile' >"$log" 2>&1 || { cat "$log"; exit 1; }
cat "$log"
grep -q '^\[  PASSED  \] 1 test' "$log" && ! grep -q 'SKIPPED' "$log"
cmp "$source_dir/samples/sample.pnt" "$full/points.pnt"
cmp "$source_dir/samples/sample.pnt" "$read_only/points.pnt"
