#!/usr/bin/env bash
# Builds the widget gallery and writes its screenshot to docs/screenshots/gallery.png.
#   BUILD_DIR=...   build folder (default: build)
#   DISPLAY set     pass --window to take it from a real (or Xvfb) window instead of offscreen
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target parlendo-gallery --parallel 2
mkdir -p docs/screenshots
if [ "${1:-}" = "--window" ]; then
  "$build/tests/ui/parlendo-gallery" --grab docs/screenshots/gallery.png
else
  QT_QPA_PLATFORM=offscreen "$build/tests/ui/parlendo-gallery" --grab docs/screenshots/gallery.png
fi
echo "wrote docs/screenshots/gallery.png"
