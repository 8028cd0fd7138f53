#!/usr/bin/env bash
# Builds the chat window's screenshot tool and writes chat-window.png, chat-window-no-panel.png
# and invite.png to docs/screenshots/, taken against the simulated server.
#   BUILD_DIR=...   build folder (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target parlendo-chat-shots --parallel 2
mkdir -p docs/screenshots
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/tests/chat/parlendo-chat-shots" docs/screenshots
