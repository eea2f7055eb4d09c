#!/usr/bin/env bash
# Installs what is missing, builds everything and starts the editor on the
# shipped default map. Until the editor program exists, this builds
# everything and starts the typing tool, or says what was built.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --parallel
for program in Varunel Tavimo; do
  if [ -x "build/bin/$program" ]; then
    exec "build/bin/$program"
  fi
done
echo "Built the conversion core and its tests; no program to start yet (see build/bin/)."
