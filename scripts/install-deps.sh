#!/usr/bin/env bash
# Installs the Debian packages the project builds, tests and runs with.
set -euo pipefail
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev python3
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libjpeg62-turbo-dev fonts-noto-core libsimpleini-dev
  xvfb openbox trayer x11-utils
  # The start-up bench watches the screen through the X server's damage reports.
  libxcb-damage0-dev
  # The Word, Excel and PowerPoint targets on LibreOffice: the SDK to build
  # them, and headless Writer, Calc and Impress for their tests.
  libreoffice-dev libreoffice-writer-nogui libreoffice-calc-nogui libreoffice-impress-nogui
)
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
missing=()
for p in "${packages[@]}"; do
  installed "$p" && continue
  # A desktop's own LibreOffice serves as well; the headless packages would replace it.
  [[ $p == *-nogui ]] && installed "${p%-nogui}" && continue
  missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
