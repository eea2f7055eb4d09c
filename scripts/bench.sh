#!/usr/bin/env bash
# Runs the window benchmarks on a desktop of their own (Xvfb, openbox and the
# trayer tray host, started by tests/support/desktop.sh), the pointer over
# the window measured, as a typist has it.
#   scripts/bench.sh [build-folder] [bench...]
# The benches are keystroke_bench, editor_keystroke_bench, map_editor_bench
# and startup_bench, all of them by default. VARUNEL_DISPLAY=N runs the
# desktop on display :N instead of the first free one.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
shift || true
benches=("$@")
((${#benches[@]})) || benches=(keystroke_bench editor_keystroke_bench map_editor_bench startup_bench)
paths=()
for name in "${benches[@]}"; do
  path=$(find "$build/bench" -type f -name "$name" -perm -u+x | head -n1)
  if [ -z "$path" ]; then
    echo "no $name in $build/bench: build it first (cmake --build $build --target $name)"
    exit 1
  fi
  paths+=("$(realpath "$path")")
done
# Inside the desktop: a tray host (Tavimo lives there), then each bench.
bash tests/support/desktop.sh bash -c '
  trayer --edge bottom --align right --widthtype pixel --width 120 --height 24 --SetDockType true >/dev/null 2>&1 &
  tray=$!
  trap "kill $tray 2>/dev/null" EXIT
  # Its panel is mapped once it serves as the notification area.
  for _ in $(seq 100); do
    xwininfo -root -tree | grep -q "(\"panel\" \"trayer\")" && break
    sleep 0.05
  done
  status=0
  for bench in "$@"; do
    echo "== $(basename "$bench")"
    "$bench" || status=1
  done
  exit $status
' bench "${paths[@]}"
