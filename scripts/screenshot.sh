#!/usr/bin/env bash
# Starts the program under a virtual X server with a fresh settings folder and
# saves a picture of its main window: scripts/screenshot.sh OUT.png [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "$1")
wait_s=${2:-3}
config_home=$(mktemp -d)
trap 'rm -rf "$config_home"' EXIT
XDG_CONFIG_HOME="$config_home" xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  build/bin/tonvara & pid=$!
  sleep '"$wait_s"'
  id=$(xwininfo -root -tree | grep "\"Tonvara\"" | grep "609x380" | head -1 | awk "{print \$1}")
  import -window "$id" "'"$out"'"
  kill $pid'
