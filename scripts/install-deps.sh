#!/usr/bin/env bash
# Installs the Debian 12 packages one kind of work on Plenoria needs, named by a set:
#   run    building and running the application (the default)
#   test   run, plus GoogleTest, the peer tools the tests compare against and headless runs
#   bench  test, plus Google Benchmark
#   fuzz   test, plus clang and its libFuzzer
# Idempotent: does nothing when everything is present; runs apt-get update at most once.
set -euo pipefail

usage="usage: $0 [run|test|bench|fuzz]"

run=(
  # toolchain
  build-essential g++ cmake ninja-build pkg-config git
  # Qt 6 (Core, Gui, Widgets, Svg, Concurrent, DBus) and its platform plugins
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-qpa-plugins libqt6svg6 libgl-dev libvulkan-dev libxkbcommon-dev
  # codecs
  libgif-dev libpng-dev libjpeg62-turbo-dev libwebp-dev libheif-dev libtiff-dev libimagequant-dev
  # fonts, icons, desktop integration
  fonts-texgyre fonts-urw-base35 fonts-jetbrains-mono breeze-icon-theme xdg-utils desktop-file-utils
)

test=(
  "${run[@]}"
  libgtest-dev libgmock-dev
  # peer tools the tests and benchmarks compare against
  imagemagick gifsicle giflib-tools webp apngasm apngdis pngcheck libtiff-tools libheif-examples libavif-bin libvips-tools
  # headless GUI runs and screenshots
  xvfb xauth x11-apps xdotool
  # a private session bus for the file-manager reveal tests
  dbus-daemon
)

bench=(
  "${test[@]}"
  libbenchmark-dev
)

fuzz=(
  "${test[@]}"
  clang libclang-rt-14-dev
)

[ $# -le 1 ] || { echo "$usage" >&2; exit 2; }
# `again` is the command that installs this set and goes on to build, for the advice below.
case "${1:-run}" in
  run) packages=("${run[@]}"); again="./run.sh" ;;
  test) packages=("${test[@]}"); again="./test.sh" ;;
  bench) packages=("${bench[@]}"); again="make bench" ;;
  fuzz) packages=("${fuzz[@]}"); again="make fuzz" ;;
  *) echo "$usage" >&2; exit 2 ;;
esac

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
  # Asks for the password once, here, and fails alike for an account outside the sudoers and for
  # a machine without sudo: installing sudo alone would not let this account use it. Only the
  # packages need root: a build run as root (after su -, which also drops the display) would leave
  # a build folder this account cannot write and start the program as root.
  if ! command -v sudo >/dev/null || ! sudo -v; then
    echo "These Debian packages are missing: ${missing[*]}" >&2
    echo "Installing them needs root. Run this one command, which asks for root's password:" >&2
    echo "  su -c 'apt-get update -q && apt-get install -y -q --no-install-recommends ${missing[*]}'" >&2
    echo "then run $again again as yourself. Or have your account added to the sudo group (as root:" >&2
    echo "apt-get install sudo; adduser $(id -un) sudo), then log in again and run it as you." >&2
    exit 1
  fi
  sudo="sudo"
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
