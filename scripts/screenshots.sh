#!/usr/bin/env bash
# Takes the README's screenshots (docs/*.png) anew, the way an operator gets
# there: a fresh demo database, the server on loopback, the host client on a
# virtual 1280x800 display, driven by its own keys. Builds what it runs.
#   ./scripts/screenshots.sh
#   KEEP=1 ./scripts/screenshots.sh     keeps its databases and logs (printed)
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/ensure-packages.sh
./scripts/ensure-packages.sh xvfb xauth openbox xdotool imagemagick sqlite3
./scripts/build.sh default hostapp Pkg_cxl04100 appserver

bin="$PWD/build/default/bin"
docs="$PWD/docs"
work=$(mktemp -d)
pids=()
cleanup() {
    status=$?
    if [ "$status" -ne 0 ]; then
        echo "screenshots: stopped (status $status); the client said:" >&2
        cat "$work/host.log" >&2 2>/dev/null || true
    fi
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    if [ -n "${KEEP:-}" ]; then echo "kept: $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

"$bin/appserver" --db "$work/server.db" --seed 5000 --local-db "$work/local.db" > /dev/null

export DISPLAY=:$((90 + RANDOM % 900))
Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp > /dev/null 2>&1 &
pids+=($!)
sleep 1
openbox > /dev/null 2>&1 &
pids+=($!)

"$bin/appserver" --db "$work/server.db" --listen 127.0.0.1:0 > "$work/server.out" 2> "$work/server.log" &
pids+=($!)
port=$(./scripts/server-port.sh "$work/server.out" "$work/server.log" "${pids[-1]}")

# The operator's own settings start empty: the main window opens maximised.
XDG_CONFIG_HOME="$work/config" LANG=pt_BR.UTF-8 \
    "$bin/hostapp" --local-db "$work/local.db" --server "127.0.0.1:$port" --open Pkg_cxl04100 > "$work/host.log" 2>&1 &
pids+=($!)
first_client=$!

# Waits until a window whose title matches is shown (ASCII only: xdotool
# matches accented titles by the locale's rules).
window() {
    for _ in $(seq 1 100); do
        xdotool search --onlyvisible --name "$1" > /dev/null && return 0
        sleep 0.2
    done
    echo "screenshots: no window \"$1\"" >&2
    return 1
}
keys() {
    for key in "$@"; do
        xdotool key --clearmodifiers "$key"
        sleep 0.25
    done
}
type_text() {
    xdotool type --delay 40 "$1"
    sleep 0.25
}
shot() {
    sleep 0.8
    import -window root "$docs/$1.png"
    echo "docs/$1.png"
}
server_sql() {
    sqlite3 "$work/server.db" "$1"
}

# The title names the screen too once it fills the window.
window "de Eventos"
sleep 1
# Leaving the branch opens the filter; F10 lists pending and approved quotes.
keys Tab
window "^Filtro de Cancelamento$"
keys F10
shot cancelamento

keys alt+o i
shot cancelamento_itens
keys alt+o f

# The filter with two sellers picked (F9 on "Lista").
keys ctrl+l
window "^Filtro de Cancelamento$"
keys Tab Tab Tab Tab Tab Tab Tab Tab Right F9
window "^Vendedor$"
keys space Down Down space Return
shot filtro
keys Escape

# Quote 0000000002-01: cancelled, with a reason and a justification.
keys Left space
type_text "3"
keys Tab ctrl+a
type_text "Cliente ligou pedindo o cancelamento; vai remarcar em 2027."
shot cancelamento_motivo
keys ctrl+Return
window "^Confirma"
shot cancelamento_operacao
keys Return
sleep 1
keys Return

# Listed with the cancelled and postponed ones (Tab enters each radio group
# once and skips what is disabled: 14 steps to "Cancelado"); quote 2 is the
# second row (a listing keeps the quote that was current: Ctrl+Home first).
# Re-enabled, then postponed, the list staying on it.
keys ctrl+l
window "^Filtro de Cancelamento$"
keys Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab space Tab space F10
sleep 1
keys ctrl+Home Down ctrl+h Return
sleep 1
keys Return
sleep 1
keys Left space
type_text "5"
keys Tab ctrl+a
type_text "Adiado a pedido do cliente: a data será confirmada até janeiro."
keys ctrl+Return
window "^Confirma"
keys Tab Return
sleep 1
keys Return
sleep 1
keys ctrl+shift+h
shot historico
keys Escape

# Two other quotes take the hall's last places that day: the re-enable is refused.
server_sql "UPDATE AGENDASALAO SET CDSALAOEVEN = 'S01', DTEVENTO = 46314, HREVENTO = '18:00'
            WHERE CDFILIAL = '0001' AND NRORCAEVENTO = '0000000004' AND NRSEQORCAEVE = '02';
            UPDATE AGENDASALAO SET CDSALAOEVEN = 'S01', DTEVENTO = 46314, HREVENTO = '19:00'
            WHERE CDFILIAL = '0001' AND NRORCAEVENTO = '0000000005' AND NRSEQORCAEVE = '01';"
keys ctrl+h Return
sleep 1
keys Tab space
shot habilitar_bloqueado
keys Return

# Another operator, on a client of their own, cancels the first quote of
# their list: the first client's grid shows it in place and counts it.
keys Escape
XDG_CONFIG_HOME="$work/config2" LANG=pt_BR.UTF-8 \
    "$bin/hostapp" --local-db "$work/local.db" --server "127.0.0.1:$port" --operator JSILVA --open Pkg_cxl04100 \
    > "$work/host2.log" 2>&1 &
pids+=($!)
second_client=$!
# The main window of a client, by its process.
client_window() {
    for _ in $(seq 1 100); do
        for id in $(xdotool search --onlyvisible --name "de Eventos" 2>/dev/null); do
            [ "$(xdotool getwindowpid "$id")" = "$1" ] && { echo "$id"; return 0; }
        done
        sleep 0.2
    done
    return 1
}
second_window=$(client_window "$second_client")
sleep 1
keys Tab
window "^Filtro de Cancelamento$"
keys F10 Left space
type_text "3"
keys Tab ctrl+Return
window "^Confirma"
keys Return
sleep 1
keys Return
sleep 1
xdotool windowminimize "$second_window"
xdotool windowactivate --sync "$(client_window "$first_client")"
shot avisos
