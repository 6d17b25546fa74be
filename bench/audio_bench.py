#!/usr/bin/env python3
"""Audio benchmark: converts one 10-minute stereo 44.1 kHz WAV to each output
format through the audio component (bench/audio_convert) and with the ffmpeg
command line at matched settings, and prints the time ratio per format
(component / ffmpeg, lower is better) and each run's peak memory.

Usage: bench/audio_bench.py [--minutes N] [--runs N]
Builds the converter in build-bench/ first (Release)."""

import argparse
import os
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build-bench")

# Output extension -> ffmpeg's encoder options matching audio_convert.cpp.
FORMATS = [
    (".mp3", ["-c:a", "libmp3lame", "-b:a", "128k", "-compression_level", "5"]),
    (".ogg", ["-c:a", "libvorbis", "-q:a", "3"]),
    (".wma", ["-c:a", "wmav2", "-b:a", "128k"]),
    (".wav", ["-c:a", "pcm_s16le"]),
    (".vox", None),  # ffmpeg has no Dialogic ADPCM encoder
]


def build():
    subprocess.run(["cmake", "-S", os.path.join(ROOT, "bench"), "-B", BUILD, "-DCMAKE_BUILD_TYPE=Release"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", BUILD, "-j2", "--target", "audio_convert"], check=True,
                   stdout=subprocess.DEVNULL)
    return os.path.join(BUILD, "audio_convert")


def measure(command):
    """Wall time in seconds and peak resident memory in MiB of one run."""
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    elapsed = time.perf_counter() - start
    process.returncode = os.waitstatus_to_exitcode(status)
    err = process.stderr.read().decode(errors="replace")
    if process.returncode != 0:
        sys.exit(f"failed: {' '.join(command)}\n{err}")
    return elapsed, usage.ru_maxrss / 1024


def best_of(runs, make_command, output):
    best = None
    for _ in range(runs):
        if os.path.exists(output):
            os.remove(output)
        t, mem = measure(make_command())
        if best is None or t < best[0]:
            best = (t, mem)
    return best


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--minutes", type=float, default=10)
    parser.add_argument("--runs", type=int, default=3, help="best of N runs per measurement")
    args = parser.parse_args()
    converter = build()
    with tempfile.TemporaryDirectory() as work:
        source = os.path.join(work, "source.wav")
        seconds = str(args.minutes * 60)
        # Left: a 440 Hz tone, right: pink noise, so the encoders have work.
        subprocess.run(["ffmpeg", "-v", "error", "-nostdin", "-f", "lavfi", "-i",
                        f"sine=frequency=440:sample_rate=44100:duration={seconds}",
                        "-f", "lavfi", "-i", f"anoisesrc=color=pink:sample_rate=44100:amplitude=0.2:duration={seconds}",
                        "-filter_complex", "amerge=inputs=2", "-c:a", "pcm_s16le", source], check=True)
        print(f"source: {args.minutes:g} min, 44100 Hz stereo 16-bit WAV; best of {args.runs} runs")
        print(f"{'format':8}{'component s':>13}{'ffmpeg s':>10}{'ratio':>8}{'component MiB':>15}{'ffmpeg MiB':>12}")
        for ext, ffmpeg_options in FORMATS:
            ours_out = os.path.join(work, "ours" + ext)
            ours = best_of(args.runs, lambda: [converter, source, ours_out], ours_out)
            if ffmpeg_options is None:
                print(f"{ext[1:]:8}{ours[0]:13.2f}{'-':>10}{'-':>8}{ours[1]:15.1f}{'-':>12}")
                continue
            theirs_out = os.path.join(work, "ffmpeg" + ext)
            theirs = best_of(args.runs, lambda: ["ffmpeg", "-v", "error", "-nostdin", "-y", "-i", source,
                                                 *ffmpeg_options, theirs_out], theirs_out)
            ratio = ours[0] / theirs[0]
            print(f"{ext[1:]:8}{ours[0]:13.2f}{theirs[0]:10.2f}{ratio:8.2f}{ours[1]:15.1f}{theirs[1]:12.1f}")


if __name__ == "__main__":
    main()
