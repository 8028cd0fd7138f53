#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
#   PARLENDO_WERROR=ON            treat warnings as errors (CI)
#   PARLENDO_SANITIZE=address,undefined
#                                 build and run everything under AddressSanitizer (with leak
#                                 checks) and UndefinedBehaviorSanitizer (CI); the GUI tests
#                                 too, offscreen; an unoptimised build in build-asan unless
#                                 BUILD_DIR says otherwise
#   BUILD_DIR=...                 build folder (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
sanitize=${PARLENDO_SANITIZE:-}
build=${BUILD_DIR:-build${sanitize:+-asan}}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Sanitized code compiles two to three times faster unoptimised, and the sanitizers find as much.
build_type=${sanitize:+Debug}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${build_type:-RelWithDebInfo}" "${launcher[@]}" \
  -DPARLENDO_WERROR="${PARLENDO_WERROR:-OFF}" -DPARLENDO_SANITIZE="$sanitize" >/dev/null
# Sanitized, the build's own tools (the icon drawer) run instrumented too.
if [ -n "$sanitize" ]; then
  source tools/sanitizers/env.sh
fi
cmake --build "$build" --parallel "$(nproc)"
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
