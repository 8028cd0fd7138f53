#!/usr/bin/env bash
# Installs what is missing, builds the console and starts it on its embedded demo server.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)"
if [ -x "$build/src/console/parlendo" ]; then
  exec "$build/src/console/parlendo" --demo "$@"
fi
echo "Built everything. The console window is not part of this build yet; run the simulated"
echo "server with $build/sim/parlendo-sim --help once it is there."
