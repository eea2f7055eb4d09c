#!/usr/bin/env bash
# Installs what is missing, builds the two programs and starts the editor
# Varunel on the shipped default map. Only what the programs need is built:
# Varunel (the font-map editor is part of it), Tavimo, the office layer they
# load at start and the data of the program folder build/bin/; the tests and
# benchmarks are left to scripts/test.sh, which uses the same build folder and
# options, so neither rebuilds what the other has built. Without a desktop to
# show it on, Varunel says so and how to start it on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/configure.sh build
cmake --build build --parallel --target Varunel Tavimo
exec build/bin/Varunel
