#!/usr/bin/env bash
# Installs what is missing, builds everything and starts the editor Varunel
# on the shipped default map. Uses the same build folder and options as
# scripts/test.sh. Without a desktop to show it on, Varunel says so and how
# to start it on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/configure.sh build
cmake --build build --parallel
exec build/bin/Varunel
