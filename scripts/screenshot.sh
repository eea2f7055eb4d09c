#!/usr/bin/env bash
# Renders the pictures of the README from the programs:
# - docs/tavimo.png: Tavimo's window, with the program folder's default map;
# - docs/map-editor.png: the font-map editor on the default map and its layout;
# - docs/varunel.png: Varunel as it runs, on a desktop of its own
#   (tests/support/desktop.sh) in a copy of the program folder, typed into
#   through the X server and taken with the window manager's frame (needs
#   xdotool and ImageMagick's import).
set -euo pipefail
cd "$(dirname "$0")/.."
ninja -C build tavimo_screenshot map_editor_screenshot Varunel
QT_QPA_PLATFORM=offscreen build/typing_tool/tavimo_screenshot docs/tavimo.png build/bin/Sinhala.fmp
echo "written: docs/tavimo.png"
QT_QPA_PLATFORM=offscreen build/map_editor/map_editor_screenshot docs/map-editor.png build/bin
echo "written: docs/map-editor.png"

bash tests/support/desktop.sh bash -c '
  set -euo pipefail
  work=$(mktemp -d)
  trap "kill \$(jobs -p) 2>/dev/null; rm -rf \"$work\"" EXIT
  # Waits until the command given succeeds, for at most a minute.
  wait_for() {
    local deadline=$((SECONDS + 60))
    until "$@"; do
      if [ "$SECONDS" -ge "$deadline" ]; then echo "screenshot: gave up waiting for: $*"; exit 1; fi
      sleep 0.1
    done
  }
  cp -r build/bin "$work/bin"
  rm -f "$work/bin/settings.ini" "$work/bin/varunel.tmp"
  printf "[params]\r\nfont_size=20\r\nenglish_panel_height=100\r\nsuggest_panel_height=80\r\n[bounds]\r\nleft=40\r\ntop=40\r\nwidth=642\r\nheight=467\r\n" \
    > "$work/bin/settings.ini"
  VARUNEL_REGISTRY="$work/registry.ini" "$work/bin/Varunel" >"$work/varunel.log" 2>&1 &
  varunel=$!
  named() { xdotool search --onlyvisible --pid "$varunel" --name "$1" >/dev/null 2>&1; }
  active() { [ "$(xdotool getactivewindow getwindowname 2>/dev/null)" = "$1" ]; }
  # The splash takes the keyboard while it is up; the main window has it then.
  wait_for named "^Splash$"
  wait_for active "Varunel V1.0"
  for line in "aayuboovan!" "mama sinhala liyanavaa." "shrii laxkaava" "vidhyaalaya"; do
    xdotool type --delay 15 "$line"
    xdotool key Return
  done
  xdotool type --delay 15 "ka"
  window=$(xdotool getactivewindow)
  # Taken once two pictures in a row agree: the program has drawn every key.
  settled() {
    import -frame -window "$window" "$work/now.png"
    if [ -f "$work/last.png" ] && cmp -s "$work/now.png" "$work/last.png"; then return 0; fi
    mv "$work/now.png" "$work/last.png"
    return 1
  }
  wait_for settled
  cp "$work/now.png" docs/varunel.png
'
echo "written: docs/varunel.png"
