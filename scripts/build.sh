#!/usr/bin/env bash
# Configures (first time only) and builds a preset, whole or only the targets
# named after it: ./scripts/build.sh [default|asan] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
shift || true
if [ ! -f "build/$preset/build.ninja" ]; then
    cmake --preset "$preset"
fi
if [ $# -gt 0 ]; then
    cmake --build --preset "$preset" --target "$@"
else
    cmake --build --preset "$preset"
fi
