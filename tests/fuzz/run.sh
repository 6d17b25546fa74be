#!/usr/bin/env bash
# Builds the fuzz targets in build-fuzz with clang, replays every kept
# regression input, then runs each target for SECONDS on a copy of its seed
# corpus. Fails on any crash, leak, timeout or sanitizer report and prints
# the path of the input that reproduces it.
#
#   tests/fuzz/run.sh SECONDS [TARGET...]      (default: every target)
#
# TONVARA_FUZZ_BUILD_DIR overrides the build folder; TONVARA_FUZZ_BUILD=0
# runs the targets already built there; TONVARA_FUZZ_KEEP=1 keeps the grown
# corpus copies (printed at the end) for a longer local run.
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds=${1:?usage: tests/fuzz/run.sh SECONDS [TARGET...]}
shift
all_targets=(fuzz_id3 fuzz_ogg fuzz_asf fuzz_settings fuzz_skin fuzz_audio)
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=("${all_targets[@]}")

# Longest input per target: room for a tag or header and a little audio.
declare -A max_len=(
  [fuzz_id3]=8192 [fuzz_ogg]=16384 [fuzz_asf]=8192
  [fuzz_settings]=4096 [fuzz_skin]=16384 [fuzz_audio]=16384
)

build=${TONVARA_FUZZ_BUILD_DIR:-build-fuzz}
src=tests/fuzz
if [[ "${TONVARA_FUZZ_BUILD:-1}" != 0 ]]; then
  # Optimised but with assertions, and line tables only for the reports.
  CC=clang CXX=clang++ cmake -S . -B "$build" -DTONVARA_FUZZ=ON -DCMAKE_BUILD_TYPE= \
    -DCMAKE_C_FLAGS="-O1 -gline-tables-only" -DCMAKE_CXX_FLAGS="-O1 -gline-tables-only" >/dev/null
  cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"
fi

export QT_QPA_PLATFORM=offscreen
export TONVARA_AUDIO_OUTPUT=null
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
if [[ -f $src/lsan.supp ]]; then
  export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/$src/lsan.supp:print_suppressions=0}
fi

common=(-timeout=10 -rss_limit_mb=2048)
out="$build/fuzz-results"
work=$(mktemp -d "${TMPDIR:-/tmp}/tonvara-fuzz-run.XXXXXX")
if [[ "${TONVARA_FUZZ_KEEP:-0}" != 1 ]]; then
  trap 'rm -rf "$work"' EXIT
fi
rm -rf "$out"
mkdir -p "$out"

failed=()
report() {  # report TARGET LOG WHAT
  echo "FAIL $1: $3 (log: $2)"
  grep -E "ERROR: |SUMMARY: |runtime error|fuzz check failed|Test unit written|Running: " "$2" | tail -n 12 || true
  failed+=("$1")
}

for t in "${targets[@]}"; do
  bin="$build/bin/$t"
  log="$out/$t.log"
  dict=()
  [[ -f "$src/dict/$t.dict" ]] && dict=(-dict="$src/dict/$t.dict")

  # Every kept crash input once, as the regression check.
  regressions=()
  if [[ -d "$src/regressions/$t" ]]; then
    mapfile -t regressions < <(find "$src/regressions/$t" -type f | sort)
  fi
  if [[ ${#regressions[@]} -gt 0 ]]; then
    if ! "$bin" "${common[@]}" "${regressions[@]}" >"$out/$t.regressions.log" 2>&1; then
      report "$t" "$out/$t.regressions.log" "a regression input fails again"
      continue
    fi
    echo "$t: ${#regressions[@]} regression inputs pass"
  fi

  # Fuzz on a copy, so the committed corpus never grows by itself.
  mkdir -p "$work/$t" "$out/$t-artifacts"
  cp "$src/corpus/$t"/* "$work/$t/"
  if ! "$bin" "${common[@]}" "${dict[@]}" -max_len="${max_len[$t]}" -max_total_time="$seconds" \
      -print_final_stats=1 -artifact_prefix="$out/$t-artifacts/" "$work/$t" >"$log" 2>&1; then
    report "$t" "$log" "finding"
    for a in "$out/$t-artifacts"/*; do
      [[ -f "$a" ]] && echo "  reproduce: $bin $a"
    done
    continue
  fi
  runs=$(grep -oE "stat::number_of_executed_units: *[0-9]+" "$log" | grep -oE "[0-9]+$" || echo "?")
  echo "$t: clean, $runs inputs in ${seconds}s, corpus $(ls "$work/$t" | wc -l) files"
done

if [[ "${TONVARA_FUZZ_KEEP:-0}" == 1 ]]; then
  echo "grown corpora kept in $work"
fi
if [[ ${#failed[@]} -gt 0 ]]; then
  echo "fuzzing found faults in: ${failed[*]}"
  exit 1
fi
echo "fuzzing: all targets clean"
