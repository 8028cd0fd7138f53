#!/usr/bin/env bash
# Runs Ann's day in real windows on a virtual X display and writes the README's pictures to
# docs/screenshots: each window of the day at its step (day-*.png, login.png), then the options
# dialogs and the canned answers editor (options.png, ip-blocking.png, domain-names.png,
# canned-answers.png). The steps are those the end-to-end test checks (tools/day_shots).
#   BUILD_DIR=...   build folder (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target parlendo-day-shots --parallel 2
mkdir -p docs/screenshots
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x900x24" \
  "$build/tools/day_shots/parlendo-day-shots" docs/screenshots
