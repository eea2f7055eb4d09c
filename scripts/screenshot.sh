#!/bin/sh
# Renders Tavimo's window into docs/tavimo.png, with the program folder's
# default map when the build has one.
set -e
cd "$(dirname "$0")/.."
ninja -C build tavimo_screenshot
QT_QPA_PLATFORM=offscreen build/typing_tool/tavimo_screenshot docs/tavimo.png build/bin/Sinhala.fmp
echo "written: docs/tavimo.png"
