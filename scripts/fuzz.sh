#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer and runs each one.
#   scripts/fuzz.sh [build-folder] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-fuzz}"
runs="${2:-20000}"
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVARUNEL_FUZZ=ON -DVARUNEL_GUI=OFF -DVARUNEL_BENCH=OFF -DVARUNEL_TESTS=OFF
cmake --build "$build" --parallel
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  # A target's own seeds are in fuzz/seeds/<target>/; the map reader's at the top.
  seeds=fuzz/seeds/$name
  [ -d "$seeds" ] || seeds=fuzz/seeds
  find "$seeds" -maxdepth 1 -type f -exec cp -n {} "$corpus"/ \;
  echo "-- $name: $runs runs"
  "$target" -artifact_prefix="$build/" -runs="$runs" -max_total_time=180 -max_len=65536 -rss_limit_mb=2048 -timeout=10 "$corpus"
done
