#!/usr/bin/env bash
# Load: a batch of N short files (0.5 s stereo 44.1 kHz WAV sines, one made
# and copied) converted to MP3 by the main window's conversion run
# (load_bench, offscreen) and by `tonvara-cli convert -j 2`, 100 files and N
# files. Prints files converted and failed, peak memory at 100 files and at
# N for both, and the driver's open descriptors before and after its run.
#
#   bench/load.sh [--files 2000] [--build DIR]
#
# Builds load_bench and tonvara-cli in build-load/ (RelWithDebInfo) unless
# --build names a configured build folder. Exit status 1 when any output is
# missing, any file failed, or the driver's descriptors grew.
set -euo pipefail
files=2000
build=""
while [ $# -gt 0 ]; do
  case "$1" in
    --files) files=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    *) echo "usage: $0 [--files N] [--build DIR]" >&2; exit 2 ;;
  esac
done
if [ "$files" -lt 100 ]; then echo "$0: --files must be at least 100" >&2; exit 2; fi
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "$build" ]; then
  build="$root/build-load"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j2 --target load_bench tonvara-cli >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen TONVARA_AUDIO_OUTPUT=null XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work

ffmpeg -v error -nostdin -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=0.5" -ac 2 \
  -c:a pcm_s16le "$work/seed.wav"
mkdir "$work/src" "$work/src100"
for ((i = 0; i < files; i++)); do cp "$work/seed.wav" "$(printf '%s/src/f%05d.wav' "$work" "$i")"; done
for f in $(ls "$work/src" | head -n 100); do ln "$work/src/$f" "$work/src100/$f"; done

# Counts a folder's files.
count() { find "$1" -maxdepth 1 -type f | wc -l; }
# The peak resident memory in MiB from a `/usr/bin/time -v` report.
peak_mib() { awk -F': ' '/Maximum resident set size/ { printf "%.1f", $2 / 1024 }' "$1"; }
status=0

echo "== window's conversion run (load_bench), $files files to MP3"
set +e
"$build/bin/load_bench" "$work/src" "$work/out-window" --format mp3 | tee "$work/window.txt"
window_rc=${PIPESTATUS[0]}
set -e
[ "$window_rc" -eq 0 ] || status=1
field() {  # file line-pattern name
  { grep -E "$2" "$1" || true; } | tail -n 1 | tr ' ' '\n' | sed -n "s/^$3=//p"
}
w_done=$(field "$work/window.txt" '^run_s=' done)
w_failed=$(field "$work/window.txt" '^run_s=' failed)
w_out=$(count "$work/out-window")
w_peak100=$(field "$work/window.txt" '^rows=100 ' peak_mib)
w_rss100=$(field "$work/window.txt" '^rows=100 ' rss_mib)
w_peakN=$(field "$work/window.txt" "^rows=$files " peak_mib)
w_rssN=$(field "$work/window.txt" "^rows=$files " rss_mib)
w_fd0=$(field "$work/window.txt" '^run_s=' fds_before)
w_fd1=$(field "$work/window.txt" '^run_s=' fds_after)

# One tonvara-cli batch: folder, output folder, report; prints its exit
# status. Every 0.2 s it writes the outputs so far and the process's open
# descriptors to REPORT.fds.
run_cli() {
  set +e
  /usr/bin/time -v -o "$3" "$build/bin/tonvara-cli" convert -j 2 -f mp3 -o "$2" "$1" 2>"$3.stderr" >/dev/null &
  local timer=$! pid="" n
  : >"$3.fds"
  while kill -0 "$timer" 2>/dev/null; do
    [ -n "$pid" ] || pid=$(pgrep -P "$timer" -x tonvara-cli)
    if [ -n "$pid" ] && n=$(ls "/proc/$pid/fd" 2>/dev/null | wc -l); then
      echo "$(count "$2" 2>/dev/null) $n" >>"$3.fds"
    fi
    sleep 0.2
  done
  wait "$timer"
  echo $?
  set -e
}
# Descriptors of a tonvara-cli run: at the first sample with 100 outputs,
# the most, and at the last sample.
cli_fds() {
  awk '$1 >= 100 && !at100 { at100 = $2 } $2 > most { most = $2 } { last = $2 }
       END { printf "%s, most %s, last %s", at100 ? at100 : "?", most, last }' "$1"
}
echo "== tonvara-cli convert -j 2, 100 files"
c100_rc=$(run_cli "$work/src100" "$work/out-cli100" "$work/cli100.time")
echo "== tonvara-cli convert -j 2, $files files"
cN_rc=$(run_cli "$work/src" "$work/out-cli" "$work/cli.time")
c100_out=$(count "$work/out-cli100")
cN_out=$(count "$work/out-cli")
# One line per finished file on a pipe; a done one names its output ("-> ").
cN_failed=$(grep -E '^\[[0-9]+/[0-9]+\] ' "$work/cli.time.stderr" | grep -vc ' -> ' || true)
# The first and the last output of each batch must decode cleanly (ffmpeg,
# a reader apart from ours).
for out in "$work/out-window" "$work/out-cli100" "$work/out-cli"; do
  for f in "$(ls "$out" | head -n 1)" "$(ls "$out" | tail -n 1)"; do
    if [ -z "$f" ] || [ -n "$(ffmpeg -v error -nostdin -i "$out/$f" -f null - 2>&1)" ]; then
      echo "does not decode: $out/$f" >&2
      status=1
    fi
  done
done
[ "$c100_rc" -eq 0 ] && [ "$cN_rc" -eq 0 ] || status=1
[ "$w_out" -eq "$files" ] && [ "$cN_out" -eq "$files" ] && [ "$c100_out" -eq 100 ] || status=1

echo
echo "Summary ($files files of 0.5 s, WAV to MP3)"
printf '%-26s%12s%10s%16s%16s\n' "" converted failed "peak MiB @100" "peak MiB @$files"
printf '%-26s%12s%10s%16s%16s\n' "window run (load_bench)" "$w_out/$files" "${w_failed:-?}" "$w_peak100" "$w_peakN"
printf '%-26s%12s%10s%16s%16s\n' "tonvara-cli -j 2" "$cN_out/$files" "$cN_failed" \
  "$(peak_mib "$work/cli100.time")" "$(peak_mib "$work/cli.time")"
echo "window run: resident MiB at 100 rows $w_rss100, at $files rows $w_rssN; rows done $w_done"
echo "window run: open descriptors before $w_fd0, after $w_fd1"
echo "tonvara-cli -j 2, $files files: open descriptors at 100 outputs $(cli_fds "$work/cli.time.fds")"
echo "tonvara-cli: 100 files exit $c100_rc, $c100_out outputs; $files files exit $cN_rc;" \
  "wall s $(awk -F': ' '/Elapsed/ { print $2 }' "$work/cli100.time") and" \
  "$(awk -F': ' '/Elapsed/ { print $2 }' "$work/cli.time")"
if [ "$status" -ne 0 ]; then
  echo "FAILED: a file is missing or failed, or descriptors grew" >&2
  sed -n 1,20p "$work/cli.time.stderr" >&2
fi
exit "$status"
