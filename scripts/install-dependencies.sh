#!/usr/bin/env bash
# Installs the Debian packages Pellark needs to build, run and test, when they are missing.
set -euo pipefail

packages=(
  cmake ninja-build g++
  qt6-base-dev          # the desktop window: Qt 6 Widgets
  qt6-multimedia-dev    # the desktop's sound: Qt 6 Multimedia
  libsndfile1-dev       # pellark-run's WAV output
  libcli11-dev          # pellark-run's command line
  libpng-dev            # PNG pictures: pellark-run --png and Save picture
  libgif-dev            # animated GIF clips: Record clip and pellark-run --gif
  libsdl2-dev           # game controllers
  nettle-dev pkg-config # SHA-1, which identifies the programs of the program database
  nlohmann-json3-dev    # the program database, read in its own JSON format
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth            # a virtual X display for the desktop tests
  xdotool x11-apps x11-utils  # the desktop tests' keyboard, screen capture and window facts
  clang libclang-rt-14-dev    # the fuzz target: libFuzzer and the sanitizer run-times
  librsvg2-bin          # the icon's PNG sizes, drawn from its SVG at build time
  desktop-file-utils appstream shared-mime-info man-db  # checks of the installed desktop files
  dpkg-dev file         # the Debian package: its dependencies computed from the binaries
  xclip                 # the desktop tests read what the Inspector copies
  pulseaudio pulseaudio-utils  # the sound test's own sound server, and its recorder
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -eq 0 ]]; then
  sudo=()
elif command -v sudo >/dev/null; then
  sudo=(sudo)
else
  echo "Pellark needs these packages and cannot install them without root: ${missing[*]}" >&2
  exit 1
fi
echo "Installing ${missing[*]}"
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
