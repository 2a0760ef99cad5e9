#!/usr/bin/env bash
# The installed layout and the Debian package: `cmake --install` into a
# scratch prefix, then the .deb built by CPack, its listing, control data
# and maintainer scripts, installed into and purged from a scratch root.
# Usage: deb_package_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d /tmp/vesk-deb-XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@" >/dev/null 2>&1; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

# A plain install into a prefix.
cmake --install "$build" --prefix "$work/prefix" >/dev/null
p="$work/prefix"
for f in lib/vesk/launcher lib/vesk/ORVENA lib/vesk/KESTRALO bin/vesk-mqtt bin/vesk-client; do
  check "installed $f" test -x "$p/$f"
done
check "art installed" test -f "$p/lib/vesk/res/ORVENA/226.png"
check "animation files installed" test -f "$p/lib/vesk/fire.mbm"
check "default platform.cfg" test -f "$p/lib/vesk/platform.cfg"
check "units name the prefix" grep -qx "ExecStart=$p/lib/vesk/launcher" "$p/lib/systemd/system/vesk-panel.service"
check "installed bridge runs" "$p/bin/vesk-mqtt" --help

# The package.
cpack --config "$build/CPackConfig.cmake" -B "$work/pkg" >/dev/null
deb=$(ls "$work"/pkg/vesk-panel_*_amd64.deb)
dpkg-deb -c "$deb" | awk '{print $6}' > "$work/list"
for f in ./usr/lib/vesk/launcher ./usr/lib/vesk/ORVENA ./usr/lib/vesk/KESTRALO ./usr/lib/vesk/platform.cfg \
         ./usr/lib/vesk/fire.mbm ./usr/lib/vesk/res/ORVENA/226.png ./usr/bin/vesk-mqtt ./usr/bin/vesk-client \
         ./usr/lib/systemd/system/vesk-panel.service ./usr/lib/systemd/system/vesk-mqtt.service \
         ./usr/share/vesk/vesk-mqtt.conf; do
  check "package holds $f" grep -qx "$f" "$work/list"
done
check "no build or test programs in the package" bash -c "! grep -Eq 'test_|boiler-sim|vesk-art|\\.stamp' '$work/list'"
dpkg-deb -f "$deb" Depends > "$work/depends"
check "depends on libmosquitto" grep -q libmosquitto1 "$work/depends"
check "depends on libsystemd" grep -q libsystemd0 "$work/depends"
dpkg-deb -e "$deb" "$work/control"
for s in postinst prerm postrm; do
  check "$s present and executable" test -x "$work/control/$s"
  check "$s is valid sh" sh -n "$work/control/$s"
done
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/lib/systemd/system/vesk-panel.service > "$work/panel.service"
for line in Type=notify WatchdogSec=30 Restart=on-failure ExecStart=/usr/lib/vesk/launcher \
            Environment=VESK_LAUNCHER_EXEC=1 KillMode=process; do
  check "panel unit: $line" grep -qx "$line" "$work/panel.service"
done
check "panel unit restarts itself for a panel restart" grep -q 'VESK_RESTART_CMD=systemctl --no-block restart vesk-panel.service' "$work/panel.service"

# Into a scratch root, maintainer scripts included, and out again.
root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg=(dpkg --root="$root" --force-script-chrootless --force-depends --force-not-root --log=/dev/null)
check "installs into a scratch root" "${dpkg[@]}" -i "$deb"
check "settings folder points to /var/lib/vesk" test "$(readlink "$root/usr/lib/vesk/CFG")" = /var/lib/vesk/CFG
check "settings folder made" test -d "$root/var/lib/vesk/CFG"
check "bridge settings made, private" test "$(stat -c %a "$root/etc/vesk/vesk-mqtt.conf")" = 600
echo "TWAT_UST=70" > "$root/var/lib/vesk/CFG/user.cfg"
check "reinstall keeps the settings" "${dpkg[@]}" -i "$deb"
check "settings still there" grep -q TWAT_UST=70 "$root/var/lib/vesk/CFG/user.cfg"
check "removes" "${dpkg[@]}" -r vesk-panel
check "remove keeps the settings" test -f "$root/var/lib/vesk/CFG/user.cfg"
check "remove leaves no panel folder" test ! -e "$root/usr/lib/vesk"
check "purges" "${dpkg[@]}" -P vesk-panel
check "purge removes the data" test ! -e "$root/var/lib/vesk"

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "all package checks passed"
