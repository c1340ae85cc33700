#!/usr/bin/env bash
# Packs the built tree (cpack strips it), then: lintian finds no error, the
# shipped units verify, and from the packages unpacked into an empty root
# the server migrates, seeds its demo data and serves, and the client, told
# nothing but the site ini shipped in the package, opens its module's
# screen against it.   check-packages.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
server_pid=""
trap '[ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null || true; rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$work/cpack" > "$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
debs=("$work"/cpack/*.deb)
[ ${#debs[@]} -eq 2 ] || { echo "expected two packages, got: ${debs[*]}"; exit 1; }

lintian --fail-on error "${debs[@]}"

root="$work/root"
for deb in "${debs[@]}"; do
    dpkg-deb --info "$deb" | grep -E "^ (Package|Version|Depends):"
    dpkg -x "$deb" "$root"
done

# The units checked inside the root, beside the system's own units they
# order themselves after.
if command -v systemd-analyze > /dev/null; then
    units=("$root"/lib/systemd/system/*)
    cp -an /lib/systemd/system/. "$root/lib/systemd/system/"
    systemd-analyze verify --root="$root" "${units[@]}"
fi

appserver="$root/usr/bin/appserver"
"$appserver" --help > /dev/null
"$appserver" --db "$work/server.db" --migrate 2>&1 | grep "migrações aplicadas em"
"$appserver" --db "$work/server.db" --migrate 2>&1 | grep "nenhuma migração pendente"
"$appserver" --db "$work/server.db" --seed 50 --local-db "$root/etc/eventos/local.db"
"$appserver" --db "$work/server.db" --listen 127.0.0.1:0 > "$work/server.out" 2> "$work/server.log" &
server_pid=$!
port=$("$(dirname "$0")/../../scripts/server-port.sh" "$work/server.out" "$work/server.log" "$server_pid")

# What an operator's machine is told: the shipped ini, edited.
printf '[servidor]\nendereco=127.0.0.1:%s\n[local]\nbanco=local.db\n' "$port" >> "$root/etc/eventos/cliente.ini"
XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen \
    "$root/usr/bin/hostapp" --open Pkg_cxl04100 --screenshot "$work/screen.png"
test -s "$work/screen.png"
# The server it reached is the one the ini names.
grep -q " connect [0-9]* ms ok$" "$work/server.log" || { cat "$work/server.log"; exit 1; }
