#!/usr/bin/env bash
# Builds the canned answers picture tool and writes canned-answers.png, canned-edit.png and
# canned-panel.png to docs/screenshots.
#   BUILD_DIR=...   build folder (default: build)
#   DISPLAY set     pass --window to take them from real (or Xvfb) windows instead of offscreen
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target parlendo-canned-shots --parallel 2
mkdir -p docs/screenshots
if [ "${1:-}" = "--window" ]; then
  "$build/tests/canned/parlendo-canned-shots" --grab docs/screenshots
else
  QT_QPA_PLATFORM=offscreen "$build/tests/canned/parlendo-canned-shots" --grab docs/screenshots
fi
echo "wrote docs/screenshots/canned-answers.png, canned-edit.png and canned-panel.png"
