#!/usr/bin/env bash
# Builds the console and writes its screenshots to docs/screenshots/ (main-window-*.png,
# login.png, incoming-call.png, about.png), taken against the simulated server.
#   BUILD_DIR=...   build folder (default: build)
#   DISPLAY set     pass --window to take them on a real (or Xvfb) display instead of offscreen
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target parlendo-console-shots --parallel 2
mkdir -p docs/screenshots
if [ "${1:-}" = "--window" ]; then
  "$build/tests/console/parlendo-console-shots" docs/screenshots
else
  QT_QPA_PLATFORM=offscreen "$build/tests/console/parlendo-console-shots" docs/screenshots
fi
