#!/usr/bin/env bash
# tonvara-cli against the ffmpeg command line: the same generated files
# (3-minute stereo 44.1 kHz WAV, pink noise and a tone) converted to MP3 and
# then to OGG, by `tonvara-cli convert -j 1`, by `-j N` and by ffmpeg run one
# file after another, at matched settings (MP3: the settings file's defaults,
# 96 kbit/s CBR, LAME quality 5, plain stereo, which ffmpeg gets with
# -joint_stereo 0; OGG: Vorbis quality 0.3, "oggquality" on).
# Prints the wall times and the ratios to ffmpeg.
#
#   bench/cli.sh [--files 20] [--minutes 3] [--jobs N] [--build DIR]
#
# It builds tonvara-cli in build-bench-cli/ (Release) unless --build names an
# existing build folder.
set -euo pipefail
files=20
minutes=3
jobs=$(nproc)
build=""
while [ $# -gt 0 ]; do
  case "$1" in
    --files) files=$2; shift 2 ;;
    --minutes) minutes=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    *) echo "usage: $0 [--files N] [--minutes N] [--jobs N] [--build DIR]" >&2; exit 2 ;;
  esac
done
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "$build" ]; then
  build="$root/build-bench-cli"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j2 --target tonvara-cli >/dev/null
fi
cli="$build/bin/tonvara-cli"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
seconds=$((minutes * 60))
ffmpeg -v error -nostdin -f lavfi -i "anoisesrc=d=$seconds:c=pink:a=0.2" -f lavfi -i "sine=f=440:d=$seconds" \
  -filter_complex "[0][1]amix=inputs=2,aformat=channel_layouts=stereo" -ar 44100 -c:a pcm_s16le "$work/seed.wav"
mkdir "$work/src"
for ((i = 0; i < files; i++)); do cp "$work/seed.wav" "$(printf '%s/src/f%02d.wav' "$work" "$i")"; done
cat "$work"/src/* >/dev/null  # the same page cache for every contender

# Every encoder key at its default but OGG's quality mode (in the default
# average-bit-rate mode libvorbis manages the rate, which ffmpeg switches off).
printf '[ogg]\noggquality=1\nquality=300\n' >"$work/tonvara.ini"
export XDG_CONFIG_HOME="$work/config"

now() { date +%s.%N; }
elapsed() { awk -v a="$(now)" -v b="$1" 'BEGIN { print a - b }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { print a / b }'; }

run_ffmpeg() {  # format, options...
  local fmt=$1; shift
  mkdir -p "$work/ff-$fmt"
  local t0; t0=$(now)
  for f in "$work"/src/*.wav; do
    ffmpeg -v error -nostdin -i "$f" "$@" "$work/ff-$fmt/$(basename "${f%.wav}").$fmt"
  done
  elapsed "$t0"
}

run_cli() {  # format, jobs
  local out="$work/cli-$1-j$2"
  local t0; t0=$(now)
  "$cli" convert --config "$work/tonvara.ini" -f "$1" -o "$out" -j "$2" "$work/src" 2>/dev/null
  elapsed "$t0"
}

printf '%d files of %d minutes, %d cores, -j %d\n' "$files" "$minutes" "$(nproc)" "$jobs"
printf '%-5s %10s %10s %10s %8s %8s\n' format "ffmpeg s" "-j 1 s" "-j $jobs s" "j1/ff" "jN/ff"
for fmt in mp3 ogg; do
  case $fmt in
    mp3) ff=$(run_ffmpeg mp3 -c:a libmp3lame -b:a 96k -compression_level 5 -joint_stereo 0) ;;
    ogg) ff=$(run_ffmpeg ogg -c:a libvorbis -q:a 3) ;;
  esac
  j1=$(run_cli "$fmt" 1)
  jn=$(run_cli "$fmt" "$jobs")
  printf '%-5s %10.2f %10.2f %10.2f %8.2f %8.2f\n' "$fmt" "$ff" "$j1" "$jn" \
    "$(ratio "$j1" "$ff")" "$(ratio "$jn" "$ff")"
done
