#!/usr/bin/env bash
# Installs what is missing, builds the console and starts it on its embedded demo server.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)"
exec "$build/src/app/parlendo" --demo "$@"
