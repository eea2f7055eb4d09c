#!/bin/sh
# Renders the HTML chart of the default map "Sinhala", exported by the
# font-map editor, as a browser shows it into docs/sinhala-chart.png (needs
# the Debian package "chromium").
set -e
cd "$(dirname "$0")/.."
ninja -C build map_chart program_data
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
QT_QPA_PLATFORM=offscreen build/map_editor/map_chart build/bin Sinhala "$out/SinhalaCharacterMap.htm"
chromium --headless --no-sandbox --disable-gpu --disable-background-networking \
  --hide-scrollbars --window-size="${CHART_SIZE:-1800,1000}" \
  --screenshot="$PWD/docs/sinhala-chart.png" "file://$out/SinhalaCharacterMap.htm"
echo "written: docs/sinhala-chart.png"
