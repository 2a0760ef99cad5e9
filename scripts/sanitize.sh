#!/usr/bin/env bash
# Builds the threaded tests with a sanitizer into a build folder of its own
# and runs them. Usage: scripts/sanitize.sh KIND, KIND one of:
#   thread   ThreadSanitizer (build-tsan/): data races and lock-order faults
# Each kind below names its compiler flags, its folder, its runtime options
# and the test programs it builds; every test of those programs runs. A new
# kind is one more entry. ccache is shared with the normal build (different flags, so
# different entries).
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:?usage: scripts/sanitize.sh thread}

case "$kind" in
thread)
  dir=${TSAN_BUILD_DIR:-build-tsan}
  flags="-fsanitize=thread -fno-omit-frame-pointer"
  # The programs whose tests run threads of the product: timers, serial
  # port and events (platform), the control thread (core), the board link,
  # the network and the expansion link (net, with the client it runs), the
  # application frame and its display threads (ui).
  targets=(test_platform test_core test_board test_net vesk-client test_ui)
  export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/scripts/tsan.supp ${TSAN_OPTIONS:-}"
  ;;
*)
  echo "sanitize.sh: unknown kind '$kind'" >&2
  exit 2
  ;;
esac

launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
werror=OFF; [ -n "${CI:-}" ] && werror=ON
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_WERROR=$werror -DVESK_BENCH=OFF \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="$flags" -DCMAKE_SHARED_LINKER_FLAGS="$flags" "${launcher[@]}" >/dev/null
start=$SECONDS
cmake --build "$dir" -j"$(nproc)" --target "${targets[@]}"
echo "sanitize.sh $kind: built in $((SECONDS - start)) s"
cd "$dir"
# Programs not built for this kind stand in ctest's list as *_NOT_BUILT.
ctest --output-on-failure -j"$(nproc)" --timeout 600 -E '_NOT_BUILT$' 
