#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Tonvara needs.
# Does nothing when all of them are already there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev
  libavformat-dev libavcodec-dev libswresample-dev libavutil-dev
  libmp3lame-dev libvorbis-dev libogg-dev libsndfile1-dev libasound2-dev
  ffmpeg
  clang libclang-rt-14-dev
  xvfb xauth x11-utils imagemagick
  fonts-noto-cjk
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

as_root=()
if [[ $(id -u) -ne 0 ]]; then
  as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
