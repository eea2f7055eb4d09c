#!/usr/bin/env bash
# Configures a build folder with the options every script shares, so that
# run.sh and test.sh on the same folder never rebuild each other's work.
#   scripts/configure.sh [build-folder] [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
shift || true
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARUNEL_WERROR=ON "$@"
