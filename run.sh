#!/usr/bin/env bash
# Installs what is missing, builds, and runs the panel against the simulated
# boiler. Usage: ./run.sh [orvena|kestralo] [boiler-sim options...]
# The simulator's status lines show what the panel commands; type simulator
# commands (help, state, cmd, sensor water open, fuse on, ...) at its prompt.
# VESK_TIME_SCALE=N runs both N times faster. Ctrl-C ends both.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh

variant=ORVENA
case "${1:-}" in
  orvena|ORVENA) variant=ORVENA; shift ;;
  kestralo|KESTRALO) variant=KESTRALO; shift ;;
esac

BIN="$PWD/${BUILD_DIR:-build}/bin"
# The panel's own folder: its settings (CFG/), EEPROM image and registry.
export VESK_HOME="$PWD/run/$variant/"
mkdir -p "$VESK_HOME"
export VESK_SDCARD="${VESK_SDCARD:-$PWD/run/sdcard/}"
mkdir -p "$VESK_SDCARD"

sim_variant=$(echo "$variant" | tr 'A-Z' 'a-z')
fifo=$(mktemp -u /tmp/vesk-sim-XXXXXX)
mkfifo "$fifo"
cleanup() {
  [ -n "${panel_pid:-}" ] && kill "$panel_pid" 2>/dev/null || true
  [ -n "${sim_pid:-}" ] && kill "$sim_pid" 2>/dev/null || true
  rm -f "$fifo"
}
trap cleanup EXIT INT TERM

# The simulator prints VESK_COM1=<pty> first; everything after goes on
# showing in this terminal.
"$BIN/boiler-sim" --variant "$sim_variant" "$@" <&0 > "$fifo" &
sim_pid=$!
exec 3< "$fifo"
read -r first <&3
case "$first" in
  VESK_COM1=*) export VESK_COM1="${first#VESK_COM1=}" ;;
  *) echo "boiler-sim did not start: $first" >&2; exit 1 ;;
esac
echo "Simulated boiler on $VESK_COM1; starting $variant (settings in $VESK_HOME)"
"$BIN/$variant" &
panel_pid=$!
cat <&3
