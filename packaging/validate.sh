#!/bin/sh
# validate.sh TOOL ARGS...: runs a validator, or exits 77 (the tests' "skipped") with the reason
# when the tool is not installed; scripts/setup.sh installs them.
tool=$1
if ! command -v "$tool" >/dev/null 2>&1; then
  echo "SKIPPED: $tool is not installed (scripts/setup.sh installs it)"
  exit 77
fi
exec "$@"
