#!/usr/bin/env bash
# Runs the operator's day in real windows on a virtual X display and writes each window at its
# step to docs/screenshots/day-*.png.
#   BUILD_DIR=...   build folder (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DPARLENDO_TESTS=ON >/dev/null
cmake --build "$build" --target e2e_operator_day_test --parallel 2
mkdir -p docs/screenshots
rm -f docs/screenshots/day-*.png
PARLENDO_SHOTS_DIR="$PWD/docs/screenshots" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x900x24" "$build/tests/e2e/e2e_operator_day_test"
ls docs/screenshots/day-*.png
