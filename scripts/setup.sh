#!/usr/bin/env bash
# Installs every Debian 12 package the project needs to build, run and test.
# Safe to run again: apt-get only installs what is missing.
set -euo pipefail

PACKAGES=(
  # toolchain
  build-essential g++ cmake ninja-build pkg-config git clang lld libclang-rt-14-dev clang-format python3
  # engine: window, input, audio, GL, images, fonts
  libsdl2-dev libsdl2-mixer-dev libepoxy-dev libegl-dev libgl-dev libegl-mesa0
  libgl1-mesa-dri libgbm1 mesa-utils libx11-dev
  libassimp-dev libstb-dev libpng-dev zlib1g-dev libfreetype-dev libfontconfig-dev
  fonts-liberation2 fonts-dejavu-core
  # editor and dialogs
  qt6-base-dev qt6-base-dev-tools libimgui-dev
  # the timeline's waveform of the scene's music
  libmpg123-dev
  # tests, benchmarks and fuzzing
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth x11-utils xfonts-base imagemagick assimp-testmodels
  # a German locale, for the tests of files that must not follow the C locale
  locales-all
  # music for tests (MP3 encoder)
  lame
  # packaging of exported installers
  makeself
  # checks of the installed tree: desktop entry, file type
  desktop-file-utils libxml2-utils shared-mime-info
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all ${#PACKAGES[@]} packages already installed"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
echo "setup: installing ${missing[*]}"
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
