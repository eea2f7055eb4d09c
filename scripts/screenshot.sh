#!/bin/sh
# Renders Tavimo's window into docs/tavimo.png, with the program folder's
# default map when the build has one, and the font-map editor on the default
# map and its layout into docs/map-editor.png.
set -e
cd "$(dirname "$0")/.."
ninja -C build tavimo_screenshot map_editor_screenshot program_data
QT_QPA_PLATFORM=offscreen build/typing_tool/tavimo_screenshot docs/tavimo.png build/bin/Sinhala.fmp
echo "written: docs/tavimo.png"
QT_QPA_PLATFORM=offscreen build/map_editor/map_editor_screenshot docs/map-editor.png build/bin
echo "written: docs/map-editor.png"
