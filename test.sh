#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
# ./test.sh [preset] [extra ctest arguments], e.g. ./test.sh default -L unit
set -euo pipefail
cd "$(dirname "$0")"
preset="${1:-default}"
shift || true
./scripts/ensure-packages.sh
./scripts/build.sh "$preset"
export QT_QPA_PLATFORM=offscreen
# Screens remember their sizes per operator in the user's settings: each run
# starts from none, and leaves the tester's own untouched.
settings=$(mktemp -d)
trap 'rm -rf "$settings"' EXIT
export XDG_CONFIG_HOME="$settings"
ctest --preset "$preset" --timeout 600 "$@"
