#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then
# configures and builds into build/. Used by run.sh and test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(build-essential cmake ninja-build pkg-config
          libgtest-dev libgmock-dev libbenchmark-dev
          libcairo2-dev libpixman-1-dev libpango1.0-dev libsdl2-dev fonts-liberation2
          libmbedtls-dev openssl zbar-tools libqrencode-dev
          xvfb xauth xdotool ccache clang
          mosquitto mosquitto-clients libmosquitto-dev libsystemd-dev nlohmann-json3-dev)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The sanitizer and fuzz builds need the packages, not this build.
[ "${1:-}" = "--packages-only" ] && exit 0

BUILD_DIR=${BUILD_DIR:-build}
werror=OFF; [ -n "${CI:-}" ] && werror=ON
# ccache keyed on paths relative to the tree, so clones and worktrees share it.
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_WERROR=$werror "${launcher[@]}" >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
