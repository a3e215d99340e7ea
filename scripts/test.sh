#!/usr/bin/env bash
# Installs what is missing, builds everything and passes every test: the native build, the
# sanitizer build, short fuzzing runs, and the Windows program's tests under Wine.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/install-deps.sh

# Each stage's wall time, printed at the end.
stages=()
stage_start=$SECONDS
step() {
  [ -n "${stage_name:-}" ] && stages+=("$stage_name: $((SECONDS - stage_start)) s")
  stage_name=$1 stage_start=$SECONDS
  printf '\n=== %s\n' "$*"
}

step "native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

step "sanitizer build and tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
ctest --preset sanitize

step "fuzzing, a short run of each target"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
scripts/fuzz-short.sh build/fuzz

step "Windows program: cross build and tests under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows
scripts/with-display.sh ctest --preset windows
step "done"
printf '%s\n' "${stages[@]}"
