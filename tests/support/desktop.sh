#!/usr/bin/env bash
# Runs a test program on an X server of its own with a window manager, as on
# a real desktop:  desktop.sh program [arguments...]
# The server takes a free display, or display :$VARUNEL_DISPLAY when that is
# set; the program may start a tray host itself. Exits 77 (a skipped test) when Xvfb or openbox is not installed.
set -u
for tool in Xvfb openbox; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done
work=$(mktemp -d)
xvfb_pid=""
wm_pid=""
cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
# Waits until the command given succeeds, up to a deadline ample on a loaded
# machine; false when it never did or the X server has gone.
wait_for() {
  local deadline=$((SECONDS + 60))
  until "$@"; do
    [ "$SECONDS" -ge "$deadline" ] && return 1
    kill -0 "$xvfb_pid" 2>/dev/null || return 1
    sleep 0.05
  done
}
# The number is complete once its line is: a number read while Xvfb is still
# writing it (1 of 12) names another display.
display_written() { [ "$(wc -l <"$work/display")" -ge 1 ]; }
reachable() { xprop -root -display "$DISPLAY" >/dev/null 2>&1; }
# Starts Xvfb; true once a client reaches it. The display is taken at random
# from a wide range, not the first free one: a number just given back may
# still have a server going away on it, which can take the new one's socket
# with it. A number in use makes Xvfb end, and another is tried. The server
# does not reset when its last client leaves (the check that reaches it is
# one): a client that came during a reset would be turned away.
start_server() {
  local display=${VARUNEL_DISPLAY:-$((1000 + RANDOM % 30000))}
  : >"$work/display"
  Xvfb ":$display" -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  wait_for display_written || return 1
  export DISPLAY=":$(head -n1 "$work/display")"
  wait_for reachable
}
started=false
for attempt in 1 2 3 4 5; do
  if start_server; then started=true; break; fi
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
  [ -n "${VARUNEL_DISPLAY:-}" ] && break
done
if ! $started; then
  echo "Xvfb did not start:"; cat "$work/xvfb.log"
  exit 1
fi
# The desktop's own settings, but without the iconify animation: a window
# restored while it still runs stays where the animation left it.
rc=()
if [ -r /etc/xdg/openbox/rc.xml ]; then
  sed 's#<animateIconify>yes</animateIconify>#<animateIconify>no</animateIconify>#' \
    /etc/xdg/openbox/rc.xml >"$work/rc.xml"
  rc=(--config-file "$work/rc.xml")
fi
openbox --sm-disable "${rc[@]}" >"$work/openbox.log" 2>&1 &
wm_pid=$!
# The window manager is ready once it names itself on the root window.
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
if ! wait_for wm_ready; then
  echo "openbox did not start:"; cat "$work/openbox.log"
  exit 1
fi
export QT_QPA_PLATFORM=xcb
# Under the leak checker, what the desktop's own libraries keep is not ours.
export LSAN_OPTIONS="suppressions=$(dirname "$0")/desktop-lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
"$@"
