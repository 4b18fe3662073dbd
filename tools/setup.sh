#!/usr/bin/env bash
# Sets up a Debian 12 machine for the program, builds it, and then either
# starts it (run) or runs every test (test).
#
#   bash tools/setup.sh run     install what is missing, build, start the program
#   bash tools/setup.sh test    install what is missing, build, run all tests
set -euo pipefail

mode=${1:-}
case "$mode" in
  run|test) ;;
  *) echo "usage: bash tools/setup.sh run|test" >&2; exit 2 ;;
esac

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$top/build"

packages=(
  cmake make g++
  qt6-base-dev qt6-base-dev-tools libgl-dev   # Qt 6 Widgets and its build tools
  qt6-translations-l10n                       # Qt's own texts in Chinese
  qt6-tools-dev qt6-l10n-tools                # lrelease and lupdate for the program's own translations
  libopencc-dev libopencc1.1 libopencc-data   # Traditional characters for Taiwan, Hong Kong and Macau
  fonts-arphic-uming fonts-arphic-ukai        # Song and Kai faces for Simplified text
  fonts-noto-cjk fonts-cns11643-kai           # Ming, sans and Kai faces in Taiwan's and Hong Kong's forms
  fonts-wqy-microhei                          # the sans face for Chinese in a Simplified session's menus
  desktop-file-utils appstream                # the install test checks the menu entry and metainfo
  dpkg-dev                                    # dpkg-shlibdeps, for the Debian package (cpack -G DEB)
  g++-mingw-w64-x86-64-posix                  # the Windows syntax check
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"

if [ "$mode" = run ]; then
  # Without a display Qt would abort with a long message; say what is wrong.
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "The program needs a desktop session (neither DISPLAY nor WAYLAND_DISPLAY is set); without one, start it under a virtual display with: xvfb-run -a $build/program/yanping (Debian package xvfb)" >&2
    exit 1
  fi
  exec "$build/program/yanping"
fi

export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j 2
