#!/usr/bin/env bash
# Runs the whole test suite without a display, sound card or the user's settings.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
export TONVARA_AUDIO_OUTPUT=null
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp:print_suppressions=0}
config_home=$(mktemp -d)
trap 'rm -rf "$config_home"' EXIT
export XDG_CONFIG_HOME="$config_home"
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure -j"$(nproc)" "$@"
