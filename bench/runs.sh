#!/usr/bin/env bash
# Runs benchmark: the conversion run's time against the audio component's own
# converter (bench/audio_convert.cpp, the same block loop without the run),
# and the peak memory of the conversion and normalization runs on a short and
# a long file.
#
#   bench/runs.sh                          # 10-minute timing, 10 and 60-minute memory, best of 5
#   bench/runs.sh --minutes 1 --long 5 --runs 1   # quick look
#
# Builds runs_bench and audio_convert in build-bench-runs/ (Release), as a
# project of its own, so the main build is not touched.
set -euo pipefail

minutes=10
long=60
runs=5
while [ $# -gt 0 ]; do
  case "$1" in
    --minutes) minutes=$2; shift 2 ;;
    --long) long=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    *) echo "usage: $0 [--minutes N] [--long N] [--runs N]" >&2; exit 2 ;;
  esac
done

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-bench-runs
cmake -S "$root/bench/runs" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target runs_bench audio_convert >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=offscreen TONVARA_AUDIO_OUTPUT=null

# A stereo 44.1 kHz 16-bit WAV: a 440 Hz tone on the left, pink noise on the
# right, so the encoders have work.
make_source() {  # minutes path
  local seconds=$(( $1 * 60 ))
  ffmpeg -v error -nostdin -y -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$seconds" \
    -f lavfi -i "anoisesrc=color=pink:sample_rate=44100:amplitude=0.2:duration=$seconds" \
    -filter_complex amerge=inputs=2 -c:a pcm_s16le "$2"
}

# One runs_bench run into an empty folder; prints "cpu_seconds peak_mib"
# (CPU time of the run itself, all threads: steadier than the wall clock on a
# shared machine).
run_bench() {  # mode format source [--window]
  rm -rf "$work/out"
  local line
  line=$("$build/runs_bench" "$1" "$2" "$3" "$work/out" ${4:-})
  local s=${line#*cpu=}; s=${s%% *}
  local m=${line#*peak_mib=}; m=${m%% *}
  echo "$s $m"
}

# The component's own converter, whole process; prints "seconds peak_mib".
run_component() {  # format source
  rm -rf "$work/out"; mkdir -p "$work/out"
  /usr/bin/time -f "%e %M" -o "$work/time" "$build/audio_convert" "$2" "$work/out/x.$1" >/dev/null
  read -r s kb <"$work/time"
  awk -v s="$s" -v kb="$kb" 'BEGIN { printf "%s %.1f\n", s, kb / 1024 }'
}

best_of() {  # command... ; prints the line with the lowest time
  local best="" line
  for _ in $(seq "$runs"); do
    line=$("$@")
    if [ -z "$best" ] || awk -v a="${line%% *}" -v b="${best%% *}" 'BEGIN { exit !(a < b) }'; then best=$line; fi
  done
  echo "$best"
}

make_source "$minutes" "$work/short.wav"
# A field of a runs_bench line ("name=value ...").
field() { local v=${1#*$2=}; echo "${v%% *}"; }

echo "$minutes-minute source. baseline: the audio component's bare block loop (as in"
echo "bench/audio_convert.cpp) in the same process; run: the conversion run with a host that"
echo "pumps messages like the window. CPU seconds, best of $runs. added: seconds spent in the"
echo "message passes and progress calls (run: measured in the run; window: passes and skin"
echo "draws of the main window, each timed on its own, times how often the run asks for them)."
printf '%-8s%11s%11s%15s%9s%15s%9s\n' format baseline run "run added" "" "window added" ""
for format in wav mp3 ogg; do
  b=$(best_of run_bench baseline "$format" "$work/short.wav")
  r=$(best_of run_bench convert "$format" "$work/short.wav")
  rm -rf "$work/out"
  line=$("$build/runs_bench" convert "$format" "$work/short.wav" "$work/out")
  host=$(field "$line" host_s)
  rm -rf "$work/out"
  line=$("$build/runs_bench" convert "$format" "$work/short.wav" "$work/out" --window)
  win=$(field "$line" window_s)
  awk -v f="$format" -v b="${b%% *}" -v r="${r%% *}" -v h="$host" -v w="$win" \
    'BEGIN { printf "%-8s%11.3f%11.3f%15.4f%8.2f%%%15.4f%8.2f%%\n", f, b, r, h, h / b * 100, w, w / b * 100 }'
done
rm -rf "$work/out"
line=$("$build/runs_bench" convert wav "$work/short.wav" "$work/out" --window)
echo "window: $(field "$line" pump_us) us a message pass, $(field "$line" draw_us) us a progress draw"

echo
echo "Peak memory (MiB), WAV to WAV; decoded size = frames x 2 channels x 4 bytes"
printf '%-10s%14s%14s%16s%16s%8s\n' source component convert "convert window" normalize ratio
make_source "$long" "$work/long.wav"
for m in "$minutes" "$long"; do
  src=$work/short.wav; [ "$m" = "$minutes" ] || src=$work/long.wav
  c=$(run_component wav "$src")
  r=$(run_bench convert wav "$src")
  w=$(run_bench convert wav "$src" --window)
  n=$(run_bench normalize wav "$src")
  awk -v m="$m" -v c="${c#* }" -v r="${r#* }" -v w="${w#* }" -v n="${n#* }" -v ns="${n%% *}" \
    'BEGIN { decoded = m * 60 * 44100 * 2 * 4 / 1048576;
             printf "%-10s%14.1f%14.1f%16.1f%16.1f%8.2f   (decoded %.0f MiB, normalize %.1f CPU s)\n",
                    m " min", c, r, w, n, n / decoded, decoded, ns }'
done
