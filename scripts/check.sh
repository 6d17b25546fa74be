#!/usr/bin/env bash
# Builds everything and runs the whole test suite; then builds the whole
# suite again with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# it once more; last, 30 seconds of fuzzing per reader (tests/fuzz).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
scripts/test.sh
if [[ "${TONVARA_SKIP_SANITIZE:-0}" != 1 ]]; then
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTONVARA_SANITIZE=ON >/dev/null
  cmake --build build-asan -j"$(nproc)"
  BUILD_DIR=build-asan scripts/test.sh
fi
if [[ "${TONVARA_SKIP_FUZZ:-0}" != 1 ]]; then
  tests/fuzz/run.sh 30
fi
