#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
#   PARLENDO_WERROR=ON  treat warnings as errors (CI)
#   BUILD_DIR=...       build folder (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPARLENDO_WERROR="${PARLENDO_WERROR:-OFF}" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
