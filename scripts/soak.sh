#!/usr/bin/env bash
# Soak of the real processes, by hand: boiler-sim on a pseudo-terminal, the
# controller (headless) and clients polling its status over loopback, with
# faults injected in turn (water sensor open and short, fuse, room
# thermostat, bunker empty) and power cuts (the controller killed with
# SIGKILL and started again). Prints the figures at the end: polls answered
# and failed, faults seen and cleared, restarts, the controller's memory,
# leftover temporary files and user.cfg rewrites.
#
#   scripts/soak.sh [MINUTES] [orvena|kestralo]     (default 20 minutes, ORVENA)
# VESK_TIME_SCALE (default 60) sets how fast panel time runs: 20 real
# minutes are 20 panel hours. Builds nothing; run ./test.sh or setup.sh first.
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-20}
variant=$(echo "${2:-orvena}" | tr 'a-z' 'A-Z')
sim_variant=$(echo "$variant" | tr 'A-Z' 'a-z')
BIN="$PWD/${BUILD_DIR:-build}/bin"
export VESK_TIME_SCALE=${VESK_TIME_SCALE:-60}
work=$(mktemp -d /tmp/vesk-soak-XXXXXX)
export VESK_HOME="$work/panel/" VESK_DISPLAY=headless VESK_NET_IFACE=lo
export VESK_PORT_LOCAL=$((20000 + RANDOM % 20000)) VESK_PORT_DISCOVERY=$((40000 + RANDOM % 20000))
mkdir -p "$VESK_HOME/CFG"
printf '%s\n' FUEL=2 EN_AUTOHEATER=1 LAN_EN_LOC=1 LAN_PWD=123456 > "$VESK_HOME/CFG/user.cfg"
printf 'EMSTART_ENABLE=0\n' > "$VESK_HOME/CFG/service.cfg"

pids=()
cleanup() {
  for p in "${pids[@]}" ${panel_pid:-}; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

mkfifo "$work/sim.in" "$work/sim.out"
"$BIN/boiler-sim" --variant "$sim_variant" --print-every 0 < "$work/sim.in" > "$work/sim.out" 2>&1 &
pids+=($!)
exec 5> "$work/sim.in"
exec 6< "$work/sim.out"
read -r first <&6
export VESK_COM1="${first#VESK_COM1=}"
cat <&6 > "$work/sim.log" &
pids+=($!)
sim() { echo "$*" >&5; }

rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }
start_panel() {
  "$BIN/$variant" >> "$work/panel.log" 2>&1 &
  panel_pid=$!
}
client=("$BIN/vesk-client" --host 127.0.0.1 --serial 0 --password 123456 --timeout 5)
serial_ok=0
start_panel
for _ in $(seq 1 50); do
  sleep 0.2
  line=$("$BIN/vesk-client" --host 127.0.0.1 discover 2>/dev/null | head -n 1 || true)
  [ -n "$line" ] && { client[4]=${line%% *}; serial_ok=1; break; }
done
[ $serial_ok = 1 ] || { echo "soak: the panel did not answer discovery" >&2; exit 1; }
"${client[@]}" start > /dev/null

# Clients polling the status, each on its own.
for c in 1 2 3 4; do
  ( ok=0; failed=0; end=$((SECONDS + minutes * 60))
    while [ $SECONDS -lt $end ]; do
      if out=$("${client[@]}" status --json 2>/dev/null); then
        ok=$((ok + 1)); echo "$out" | grep -o '"faults": *\[[^]]*\]' | tail -n 1 >> "$work/faults.$c"
      else failed=$((failed + 1)); fi
      echo "$ok $failed" > "$work/polls.$c"
      sleep 0.5
    done ) &
  pids+=($!)
done

faults=("sensor water open" "sensor water short" "fuse on" "room on" "bunker empty")
clears=("sensor water clear" "sensor water clear" "fuse off" "room off" "bunker normal")
restarts=0; injected=0; rss_first=0; rss_max=0
end=$((SECONDS + minutes * 60))
i=0
while [ $SECONDS -lt $((end - 30)) ]; do
  sleep 20
  rss=$(rss_kb "$panel_pid"); [ "$rss_first" = 0 ] && rss_first=$rss
  [ "$rss" -gt "$rss_max" ] && rss_max=$rss
  if [ $((i % 6)) = 5 ]; then
    # A power cut: no chance to save or close anything.
    kill -9 "$panel_pid"; wait "$panel_pid" 2>/dev/null || true
    restarts=$((restarts + 1))
    start_panel
  else
    k=$((i % 6 % ${#faults[@]}))
    sim "${faults[$k]}"; sleep 5; sim "${clears[$k]}"
    injected=$((injected + 1))
  fi
  i=$((i + 1))
done
wait_end=$((end - SECONDS)); [ $wait_end -gt 0 ] && sleep "$wait_end"
sleep 2

ok=0; failed=0
for c in 1 2 3 4; do read -r a b < "$work/polls.$c"; ok=$((ok + a)); failed=$((failed + b)); done
fault_words=$(cat "$work"/faults.* 2>/dev/null | sed 's/"faults": *//' | sort -u | tr '\n' ' ')
leftovers=$(find "$VESK_HOME" -name '*.tmp??????' | wc -l)
state=$("${client[@]}" status 2>/dev/null | grep -iE 'state|faults' | head -n 4 | tr '\n' ';' || true)
echo "soak: $variant, $minutes real minutes at time scale $VESK_TIME_SCALE"
echo "  status polls: $ok answered, $failed failed (4 clients)"
echo "  faults injected and cleared: $injected; fault words seen: ${fault_words:-none}"
echo "  power cuts (SIGKILL + restart): $restarts; leftover temporary files: $leftovers"
echo "  controller RSS: first $rss_first kB, largest $rss_max kB, last $(rss_kb "$panel_pid") kB"
echo "  at the end: $state"
grep -i 'refused\|error' "$work/panel.log" | sort | uniq -c | head -n 5 || true
