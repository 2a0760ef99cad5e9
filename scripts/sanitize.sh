#!/usr/bin/env bash
# Tests built with a sanitizer, in a build folder of its own per kind.
#
#   scripts/sanitize.sh address   AddressSanitizer + UndefinedBehaviorSanitizer
#                                 (build-asan/): the whole suite
#   scripts/sanitize.sh thread    ThreadSanitizer (build-tsan/): the programs
#                                 whose tests run threads of the product
# Further arguments go to ctest (for example -R 'Network'); SANITIZE_TARGETS
# (for example "test_net test_settings") builds only those targets.
# Suppressions live in scripts/sanitizers/, each with its reason; everything
# else fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:-}
[ $# -gt 0 ] && shift

# Programs a kind builds when SANITIZE_TARGETS does not say (empty: all).
default_targets=""
# Tests a kind leaves out: programs not built stand in ctest's list as
# *_NOT_BUILT.
exclude='_NOT_BUILT$'
case "$kind" in
  address)
    BUILD=${SANITIZE_BUILD_DIR:-build-asan}
    # -O1 and line tables only: half the compile time of the usual build,
    # still fast enough to run the suite and still naming every line.
    FLAGS="-O1 -g1 -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1"
    export LSAN_OPTIONS="suppressions=$PWD/scripts/sanitizers/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    # The real X window test loads the X11 and GL client libraries, whose
    # leaks at exit cannot be unwound to a module for a suppression.
    exclude='_NOT_BUILT$|^SdlDisplayX11\.'
    ;;
  thread)
    BUILD=${SANITIZE_BUILD_DIR:-build-tsan}
    FLAGS="-O1 -g1 -fsanitize=thread -fno-omit-frame-pointer"
    export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/sanitizers/tsan.supp"
    # Timers, serial port and events (platform), the control thread (core),
    # the board link, the network and the expansion link (net, with the
    # client it runs). The UI tests (application frame) would double the
    # build; SANITIZE_TARGETS="test_ui" runs them.
    default_targets="test_platform test_core test_board test_net vesk-client"
    # The package test needs every program installed.
    exclude='_NOT_BUILT$|^packaging\.'
    ;;
  *)
    echo "usage: $0 address|thread [ctest arguments]" >&2
    exit 2
    ;;
esac

scripts/setup.sh --packages-only
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Sanitize -DVESK_BENCH=OFF \
  -DCMAKE_C_FLAGS="$FLAGS" -DCMAKE_CXX_FLAGS="$FLAGS" \
  -DCMAKE_EXE_LINKER_FLAGS="$FLAGS" -DCMAKE_SHARED_LINKER_FLAGS="$FLAGS" "${launcher[@]}" >/dev/null
targets=()
for t in ${SANITIZE_TARGETS:-$default_targets}; do targets+=(--target "$t"); done
cmake --build "$BUILD" -j"$(nproc)" "${targets[@]}"
cd "$BUILD"
ctest --output-on-failure -j"$(nproc)" --timeout 600 -E "$exclude" "$@"
