#!/usr/bin/env bash
# Prints the port that an appserver started with --listen 127.0.0.1:0
# announced in its standard output (OUT), waiting up to ten seconds; fails
# printing its log (LOG) when it did not, or when its process (PID) ended.
#   port=$(./scripts/server-port.sh OUT LOG [PID])
set -euo pipefail
out=$1 log=$2 pid=${3:-}
for _ in $(seq 1 100); do
    port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$out")
    if [ -n "$port" ]; then
        echo "$port"
        exit 0
    fi
    if [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null; then
        break
    fi
    sleep 0.1
done
echo "appserver did not start; its log:" >&2
cat "$log" >&2
exit 1
