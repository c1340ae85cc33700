#!/usr/bin/env bash
# Installs what is missing, builds, and opens the host client with the
# cancellation screen. Extra arguments go to hostapp, e.g.
#   ./run.sh --server 10.0.0.5:7400 --branch 0002
set -euo pipefail
cd "$(dirname "$0")"
./scripts/ensure-packages.sh
./scripts/build.sh default

bin=build/default/bin
mkdir -p var
args=(--local-db var/local.db --open Pkg_cxl04100 "$@")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a "$bin/hostapp" "${args[@]}"
fi
exec "$bin/hostapp" "${args[@]}"
