#!/usr/bin/env bash
# Builds the site's two Debian packages, eventos-cliente and
# eventos-servidor, from a Release build of their own (build/release) and
# writes them into a folder, dist/ unless named:
#   ./scripts/package.sh [FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/ensure-packages.sh
out=$(realpath -m "${1:-dist}")
if [ ! -f build/release/build.ninja ]; then
    cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build build/release -j2 --target hostapp Pkg_cxl04100 appserver
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack --config build/release/CPackConfig.cmake -B "$work" > "$work/cpack.log" || { cat "$work/cpack.log" >&2; exit 1; }
mkdir -p "$out"
mv "$work"/*.deb "$out"/
ls "$out"/*.deb
