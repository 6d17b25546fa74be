#!/usr/bin/env bash
# Configures and builds Tonvara into build/ (program and tests in build/bin).
set -euo pipefail
cd "$(dirname "$0")/.."
build_type=${BUILD_TYPE:-RelWithDebInfo}
cmake -S . -B build -DCMAKE_BUILD_TYPE="$build_type" "$@" >/dev/null
cmake --build build -j"$(nproc)"
