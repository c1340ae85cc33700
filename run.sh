#!/usr/bin/env bash
# Installs what is missing, builds, seeds the demo databases on first use,
# starts the application server on loopback and opens the host client with
# the cancellation screen; the server stops when the client exits.
#   ./run.sh --branch 0002                  arguments go to hostapp
#   APPSERVER_DB=postgresql://user@localhost:5432/eventos RESEED=1 ./run.sh
#   (RESEED=1 fills the databases again; SEED_QUOTES sets how many quotes)
set -euo pipefail
cd "$(dirname "$0")"
./scripts/ensure-packages.sh
# Only what runs here: the tests and benchmarks are ./test.sh's to build.
./scripts/build.sh default hostapp Pkg_cxl04100 appserver

bin="$PWD/build/default/bin"
mkdir -p var
database="${APPSERVER_DB:-$PWD/var/server.db}"
if [ "${RESEED:-0}" = 1 ] || [ ! -f var/local.db ] || { [ -z "${APPSERVER_DB:-}" ] && [ ! -f var/server.db ]; }; then
    echo "Seeding the demo databases (var/)..."
    "$bin/appserver" --db "$database" --seed "${SEED_QUOTES:-5000}" --local-db var/local.db
fi

"$bin/appserver" --db "$database" --listen 127.0.0.1:0 > var/appserver.out 2> var/appserver.log &
server_pid=$!
trap 'kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true' EXIT

port=$(./scripts/server-port.sh var/appserver.out var/appserver.log "$server_pid")

args=(--local-db var/local.db --server "127.0.0.1:$port" --open Pkg_cxl04100 "$@")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    xvfb-run -a "$bin/hostapp" "${args[@]}"
else
    "$bin/hostapp" "${args[@]}"
fi
