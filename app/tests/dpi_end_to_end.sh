#!/usr/bin/env bash
# The editor's and the helper's window tests of the display's DPI, run at 120, 144 and
# 192 DPI (the window tests run them at 96 DPI): Wine draws every program at its system DPI,
# which each run takes from a Wine prefix of its own. Screenshots of the main window, the
# import screen, the edit dialog and the helper go to <build dir>/screenshots/dpi-*.png.
#   dpi_end_to_end.sh MAIN_WINDOW_TEST.exe QUORVIN_WINDOW_TEST.exe SOURCE_DIR BUILD_DIR
set -euo pipefail

editor_test=$1 helper_test=$2 source_dir=$3 build_dir=$4
. "$source_dir/scripts/end-to-end-lib.sh"
with_display "$@"

# The tests run where the point icons are, so the lists draw them from the files.
work="$build_dir/dpi-test" shots="$build_dir/screenshots"
rm -rf "$work"
mkdir -p "$work" "$shots"
cp "$source_dir"/resources/art/marks/mark*.ico "$work/"
for dpi in 120 144 192; do
  prefix=$(dpi_prefix "$dpi")
  (
    cd "$work"
    export OSTREL_WINEPREFIX=$prefix OSTREL_EXPECTED_DPI=$dpi OSTREL_DPI_SHOTS=1
    # A monitor of 192 DPI has twice the pixels of a 96-DPI one each way: at that DPI the
    # programs run on a display of their own that size, so that they get the room they have there.
    on_display=()
    if [ "$dpi" -ge 192 ]; then
      unset DISPLAY
      on_display=(env OSTREL_SCREEN=2560x1600x24 "$source_dir/scripts/with-display.sh")
    fi
    "${on_display[@]}" "$source_dir/scripts/wine-run.sh" "$editor_test" --gtest_filter='DpiTest.*' --gtest_brief=1 ||
      fail "the editor's sizes at $dpi DPI"
    "${on_display[@]}" "$source_dir/scripts/wine-run.sh" "$helper_test" --gtest_filter='HelperDpiTest.*' --gtest_brief=1 ||
      fail "the helper's sizes at $dpi DPI"
  )
  # This prefix's programs end before the next DPI's start.
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
done
for picture in "$work"/*.bmp; do
  convert "$picture" "$shots/dpi-$(basename "$picture" .bmp).png"
done
