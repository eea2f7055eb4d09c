#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer and runs every one of them
# for a bounded time, each on its own seeds (fuzz/seeds/<target>/) and the
# inputs found before (<build-folder>/corpus/<target>/).
#   scripts/fuzz.sh [build-folder] [seconds-per-target]
# Inputs up to 128 KB are tried from the start (no length ramp), and an input
# that takes more than 256 MB or 10 seconds is a finding.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-fuzz}"
seconds="${2:-60}"
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVARUNEL_FUZZ=ON -DVARUNEL_GUI=OFF -DVARUNEL_BENCH=OFF -DVARUNEL_TESTS=OFF
cmake --build "$build"
# AddressSanitizer keeps up to 256 MB of freed memory by default; that would
# count against the limit.
export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=32}"
found=0
for target in "$build"/fuzz/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  if [ -d "fuzz/seeds/$name" ]; then
    cp -L -n "fuzz/seeds/$name"/* "$corpus"/ 2>/dev/null || true
  fi
  found=$((found + 1))
  echo "-- $name: $seconds s"
  "$target" -artifact_prefix="$build/$name-" -max_total_time="$seconds" -len_control=0 -max_len=131072 \
    -rss_limit_mb=256 -timeout=10 -print_final_stats=1 "$corpus"
done
if [ "$found" -eq 0 ]; then
  echo "no fuzz targets in $build/fuzz" >&2
  exit 1
fi
