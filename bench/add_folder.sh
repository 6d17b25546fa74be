#!/usr/bin/env bash
# Adding a folder: the list's folder command on N generated files (MP3
# without a Xing header, OGG and WAV, MINUTES long each), against ffprobe
# reading the same files' durations one after another.
#
#   bench/add_folder.sh [--files 500] [--minutes 3]
set -euo pipefail
files=500
minutes=3
while [ $# -gt 0 ]; do
  case "$1" in
    --files) files=$2; shift 2 ;;
    --minutes) minutes=$2; shift 2 ;;
    *) echo "usage: $0 [--files N] [--minutes N]" >&2; exit 2 ;;
  esac
done
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build" >/dev/null
cmake --build "$root/build" -j2 --target add_folder_bench >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
seconds=$((minutes * 60))
src="anoisesrc=d=$seconds:c=pink:a=0.3"
ffmpeg -v error -f lavfi -i "$src" -ac 2 -ar 44100 -c:a libmp3lame -b:a 128k -write_xing 0 "$work/seed.mp3"
ffmpeg -v error -f lavfi -i "$src" -ac 2 -ar 44100 -c:a libvorbis -q:a 3 "$work/seed.ogg"
ffmpeg -v error -f lavfi -i "$src" -ac 2 -ar 44100 -c:a pcm_s16le "$work/seed.wav"
mkdir "$work/folder"
exts=(mp3 ogg wav)
for ((i = 0; i < files; i++)); do
  ext=${exts[$((i % 3))]}
  cp "$work/seed.$ext" "$(printf '%s/folder/f%04d.%s' "$work" "$i" "$ext")"
done
cat "$work"/folder/* >/dev/null  # same page cache for both

export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config"
ours=$("$root/build/bin/add_folder_bench" "$work/folder")
echo "tonvara: $ours"
ours_ms=$(echo "$ours" | sed -E 's/.*ms_per_file ([0-9.]+).*/\1/')

start=$(date +%s.%N)
for f in "$work"/folder/*; do
  ffprobe -v error -show_entries format=duration -of csv=p=0 "$f" >/dev/null
done
end=$(date +%s.%N)
probe_ms=$(echo "($end - $start) * 1000 / $files" | bc -l)
printf 'ffprobe: ms_per_file %.2f\n' "$probe_ms"
printf 'ratio (tonvara / ffprobe): %.2f\n' "$(echo "$ours_ms / $probe_ms" | bc -l)"
