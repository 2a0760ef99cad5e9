#!/usr/bin/env bash
# Installs what is missing, builds, and runs the panel against the simulated
# boiler. Usage: ./run.sh [orvena|kestralo] [boiler-sim options...]
# The simulator's status lines show what the panel commands; type simulator
# commands (help, state, cmd, sensor water open, fuse on, ...) at its prompt.
# When module-sim is built it stands in for the expansion module on VESK_COM4;
# its lines show with "[module]" in front, and its commands (status, set air 21,
# relay status, help, ...) go in with: echo status > run/module.in
# The panel serves local clients on the loopback interface (password 123456
# on a first run) and run.sh starts the boiler through vesk-client, as a
# remote user would; VESK_RUN_START=0 leaves it stopped.
# VESK_TIME_SCALE=N runs them all N times faster. Ctrl-C ends them all.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh

variant=ORVENA
case "${1:-}" in
  orvena|ORVENA) variant=ORVENA; shift ;;
  kestralo|KESTRALO) variant=KESTRALO; shift ;;
esac

BIN="$(pwd -P)/${BUILD_DIR:-build}/bin"
# The panel's own folder: its settings (CFG/), EEPROM image and registry.
export VESK_HOME="$PWD/run/$variant/"
mkdir -p "$VESK_HOME"
# It holds the programs too, as on the panel: the controller hands over to
# Tavrik from there, and Tavrik's panel restart runs the launcher there.
for p in ORVENA KESTRALO Tavrik launcher; do ln -sfn "$BIN/$p" "$VESK_HOME$p"; done
export VESK_SDCARD="${VESK_SDCARD:-$PWD/run/sdcard/}"
mkdir -p "$VESK_SDCARD"
export VESK_NET_IFACE="${VESK_NET_IFACE:-lo}"
# A first run: pellets with the automatic heater, hot water with priority,
# valve 1 on a radiator circuit following the weather, valve 2 on an
# underfloor circuit, local access on. The second valve is driven by the
# panel only with boards of firmware 1.x and with its sensor input free of
# the auger-tube protection, so the simulated board is a 1.1.0.0 with
# channel 9 on valve 2 unless other options are given.
if [ ! -f "$VESK_HOME/CFG/user.cfg" ]; then
  mkdir -p "$VESK_HOME/CFG"
  printf '%s\n' FUEL=2 EN_AUTOHEATER=1 LAN_EN_LOC=1 LAN_PWD=123456 HEAT_MODE=1 \
    VLV1_MODE=2 VLV1_USEWH=1 VLV2_MODE=1 VLV2_USEWATER=1 VLV2_WATER=35 > "$VESK_HOME/CFG/user.cfg"
  [ -f "$VESK_HOME/CFG/service.cfg" ] || printf 'EMSTART_ENABLE=0\n' > "$VESK_HOME/CFG/service.cfg"
fi
# The boiler model of the variant run (the launcher would start the other
# variant for a model of the other family): ORVENA an ORVENA of 150 kW,
# whose feed rate lets the panel count fuel; KESTRALO a KESTRALO S of 26 kW.
# A folder of an earlier run with a model of the other family is put right.
case "$variant" in
  ORVENA) model=(2 150); own_types='^(2|3)$' ;;
  KESTRALO) model=(0 26); own_types='^(0|1|4)$' ;;
esac
svc="$VESK_HOME/CFG/service.cfg"
if ! sed -n 's/^BOILER_TYPE=//p' "$svc" 2>/dev/null | tail -n 1 | grep -Eq "$own_types"; then
  { grep -v -e '^BOILER_TYPE=' -e '^POWER=' "$svc" 2>/dev/null || true
    printf 'BOILER_TYPE=%s\nPOWER=%s\n' "${model[@]}"; } > "$svc.new"
  mv "$svc.new" "$svc"
fi
# A first ORVENA run starts with the bunker just filled (its 420 kg), so the
# bunker estimate on the data page moves from the start: the EEPROM image
# holds the remaining auger time at address 679, three little-endian copies.
if [ "$variant" = ORVENA ] && [ ! -f "$VESK_HOME/eeprom.bin" ]; then
  full=$(( (420 * 100 * 360000 + 1563 * 50) / (1563 * 100) ))
  le=$(printf '\\x%02x' $((full & 255)) $((full >> 8 & 255)) $((full >> 16 & 255)) $((full >> 24 & 255)))
  head -c 4096 /dev/zero > "$VESK_HOME/eeprom.bin"
  printf "$le$le$le" | dd of="$VESK_HOME/eeprom.bin" bs=1 seek=679 conv=notrunc status=none
fi
sim_args=("$@")
[ ${#sim_args[@]} -eq 0 ] && sim_args=(--firmware 0x1100 --sensor9 valve2)

sim_variant=$(echo "$variant" | tr 'A-Z' 'a-z')
fifo=$(mktemp -u /tmp/vesk-sim-XXXXXX)
mkfifo "$fifo"
# After a hand-over, Tavrik and the controller the restart brings up run
# detached; they are told by their program and the panel folder.
panel_programs() {
  for d in /proc/[0-9]*; do
    exe=$(readlink "$d/exe" 2>/dev/null) || continue
    case "$exe" in "$BIN/ORVENA"|"$BIN/KESTRALO"|"$BIN/Tavrik") ;; *) continue ;; esac
    tr '\0' '\n' < "$d/environ" 2>/dev/null | grep -qxF "VESK_HOME=$VESK_HOME" && echo "${d#/proc/}"
  done
}
cleanup() {
  [ -n "${panel_pid:-}" ] && kill "$panel_pid" 2>/dev/null || true
  for pid in $(panel_programs); do kill "$pid" 2>/dev/null || true; done
  [ -n "${sim_pid:-}" ] && kill "$sim_pid" 2>/dev/null || true
  [ -n "${module_pid:-}" ] && kill "$module_pid" 2>/dev/null || true
  rm -f "$fifo" "${module_fifo:-}"
}
trap cleanup EXIT INT TERM

# The simulator prints VESK_COM1=<pty> first; everything after goes on
# showing in this terminal.
"$BIN/boiler-sim" --variant "$sim_variant" "${sim_args[@]}" <&0 > "$fifo" &
sim_pid=$!
exec 3< "$fifo"
read -r first <&3
case "$first" in
  VESK_COM1=*) export VESK_COM1="${first#VESK_COM1=}" ;;
  *) echo "boiler-sim did not start: $first" >&2; exit 1 ;;
esac

# The expansion module is optional: without module-sim the panel runs alone.
if [ -x "$BIN/module-sim" ]; then
  module_fifo=$(mktemp -u /tmp/vesk-module-XXXXXX)
  mkfifo "$module_fifo"
  "$BIN/module-sim" --no-stdin --input "$PWD/run/module.in" > "$module_fifo" 2>&1 &
  module_pid=$!
  exec 4< "$module_fifo"
  read -r module_first <&4 || module_first=""
  case "$module_first" in
    VESK_COM4=*)
      export VESK_COM4="${module_first#VESK_COM4=}"
      sed -u 's/^/[module] /' <&4 &
      echo "Simulated expansion module on $VESK_COM4; commands: echo help > run/module.in" ;;
    *) echo "module-sim did not start: $module_first" >&2 ;;
  esac
fi
echo "Simulated boiler on $VESK_COM1; starting $variant (settings in $VESK_HOME)"
"$BIN/$variant" &
panel_pid=$!
client=("$BIN/vesk-client" --host 127.0.0.1 --password "$(sed -n 's/^LAN_PWD=//p' "$VESK_HOME/CFG/user.cfg" | tail -n 1)")
echo "Panel clients: ${client[*]} status | start | stop | set TWAT_UST 70 | watch"
if [ "${VESK_RUN_START:-1}" != 0 ]; then
  # Give the panel a moment to open its local server, then start the boiler.
  ( for _ in 1 2 3 4 5 6 7 8 9 10; do
      sleep 1
      "${client[@]}" start >/dev/null 2>&1 && { echo "Boiler started through vesk-client"; break; }
    done ) &
fi
cat <&3
