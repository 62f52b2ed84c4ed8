#!/usr/bin/env bash
# Installs every Debian 12 package that building, testing and running Plenoria needs.
# Idempotent: does nothing when everything is present; runs apt-get update at most once.
set -euo pipefail

packages=(
  # toolchain
  build-essential g++ cmake ninja-build pkg-config git
  # Qt 6 (Core, Gui, Widgets, Svg, Concurrent, DBus) and its platform plugins
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-qpa-plugins libqt6svg6 libgl-dev libvulkan-dev libxkbcommon-dev
  # codecs
  libgif-dev libpng-dev libjpeg62-turbo-dev libwebp-dev libheif-dev libtiff-dev libimagequant-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # peer tools the tests and benchmarks compare against
  imagemagick gifsicle giflib-tools webp apngasm apngdis pngcheck libtiff-tools libheif-examples libavif-bin libvips-tools
  # run time: fonts, icons, desktop integration
  fonts-texgyre fonts-urw-base35 fonts-jetbrains-mono breeze-icon-theme xdg-utils desktop-file-utils
  # headless GUI runs and screenshots
  xvfb xauth x11-apps xdotool
  # a private session bus for the file-manager reveal tests
  dbus-daemon
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
