#!/usr/bin/env bash
# Builds the benchmarks on an optimised (Release) build and runs them all,
# printing their tables:
#   1. listing through appserver against the bare SQL query (10k/100k/1M quotes)
#      and the sqlite3 tool's time for the same SELECT; then on PostgreSQL,
#      against the bare query and psql's time for it
#   2. the client's memory holding a 100,000-row list against the packet's size
#   3. the quote grid over that list: first paint, Ctrl+End, Page Down, scrolling
#   4. exporting 100,000 listed quotes to CSV against one write of the same
#      bytes, and to .xlsx against the CSV
#   5. 20 concurrent clients cancelling quotes on SQLite and on PostgreSQL,
#      there with 1, 2 and 3 appserver processes sharing the database
#   6. 50 clients making small calls through database pools of 50, 20 and 5
#      connections, then 1,000 idle clients and the backends they hold
#   7. change notices: latency from a writer's answer to 20 listeners, on
#      SQLite and on PostgreSQL with 1 and 3 servers, against --no-notices
#
# Seeded SQLite databases are kept in build/bench-data (BENCH_DATA_DIR) and
# reused; the first run seeds them (the million-quote one takes a minute or
# two), and so is the PostgreSQL cluster of the listing (a few minutes). The
# concurrency run's PostgreSQL is a throwaway cluster. PostgreSQL is
# skipped, saying so, when /usr/lib/postgresql/15/bin is absent. The
# Debian package sqlite3 is installed when absent.
#
# Settings (environment):
#   BENCH_BUILD_DIR  build folder (default build/bench)
#   BENCH_JOBS       build jobs (default 1)
#   BENCH_SIZES      listing database sizes (default 10000,100000,1000000)
#   BENCH_RUNS       measured listing runs per size (default 7)
#   BENCH_POSTGRES_QUOTES  quotes of the listing's PostgreSQL database
#                    (default 1000000; 0 leaves it out)
#   BENCH_CLIENTS    concurrent clients (default 20)
#   BENCH_SECONDS    seconds per concurrency run (default 30)
#   BENCH_ENGINES    sqlite,postgres (default both)
#   BENCH_SERVERS    appserver processes on PostgreSQL, one run per count
#                    (default 1,2,3)
#   BENCH_POOLS      database pool sizes (default 50,20,5)
#   BENCH_BEFORE     an appserver built before the pool, the pool runs' baseline
#   BENCH_LISTING_BEFORE  an earlier appserver, the PostgreSQL listing's baseline
#   BENCH_NOTICE_WRITES  cancellations per notice run (default 300)
# Exit status: 0 when every benchmark ran and the concurrency audit found no
# error, lost or doubled write; 1 otherwise.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_BUILD_DIR:-$root/build/bench}

for tool in cmake ninja; do
    if ! command -v "$tool" >/dev/null; then
        echo "bench/run.sh: $tool is missing (see the README for the packages)" >&2
        exit 1
    fi
done

"$root/scripts/ensure-packages.sh" sqlite3 || exit 1

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null || exit 1
cmake --build "$build" --target appserver bench_listing bench_memory bench_grid bench_csvexport bench_concurrency bench_pool bench_notices bench_failover -j "${BENCH_JOBS:-1}" || exit 1

echo "machine: $(nproc) cores,$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2), $(free -g | awk '/^Mem:/ {print $2}') GiB RAM, $(uname -sr)"
echo "build: $build (Release)"
echo

status=0
"$build/bin/bench_listing" --sizes "${BENCH_SIZES:-10000,100000,1000000}" --runs "${BENCH_RUNS:-7}" \
    --postgres "${BENCH_POSTGRES_QUOTES:-1000000}" ${BENCH_LISTING_BEFORE:+--before "$BENCH_LISTING_BEFORE"} || status=1
echo
"$build/bin/bench_memory" --quotes 1000000 || status=1
echo
"$build/bin/bench_grid" --quotes 1000000 || status=1
echo
"$build/bin/bench_csvexport" || status=1
echo
"$build/bin/bench_concurrency" --clients "${BENCH_CLIENTS:-20}" --seconds "${BENCH_SECONDS:-30}" \
    --engines "${BENCH_ENGINES:-sqlite,postgres}" --servers "${BENCH_SERVERS:-1,2,3}" || status=1
echo
"$build/bin/bench_pool" --engines "${BENCH_ENGINES:-sqlite,postgres}" --pools "${BENCH_POOLS:-50,20,5}" \
    ${BENCH_BEFORE:+--before "$BENCH_BEFORE"} || status=1
echo
"$build/bin/bench_notices" --listeners "${BENCH_CLIENTS:-20}" --writes "${BENCH_NOTICE_WRITES:-300}" \
    --engines "${BENCH_ENGINES:-sqlite,postgres}" || status=1
echo
"$build/bin/bench_failover" --engines "${BENCH_ENGINES:-sqlite,postgres}" --rounds "${BENCH_FAILOVER_ROUNDS:-10}" || status=1
exit $status
