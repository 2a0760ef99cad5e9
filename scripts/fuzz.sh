#!/usr/bin/env bash
# libFuzzer targets of fuzz/, built with clang into build-fuzz/ (only when
# clang is installed), with seed corpora made from valid messages and files.
#
#   scripts/fuzz.sh                 build, make seeds, run every target for
#                                   FUZZ_SECONDS (default 20) each: what CI does
#   scripts/fuzz.sh build           build and make the seeds only
#   scripts/fuzz.sh run TARGET ...  one target on its corpus; further
#                                   arguments go to libFuzzer (-runs=N, ...)
# Corpora grow in build-fuzz/corpus/<target>/; a crash leaves its input in
# build-fuzz/crash-* and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${FUZZ_BUILD_DIR:-build-fuzz}
CLANG=$(command -v clang++-14 || command -v clang++ || true)
if [ -z "$CLANG" ]; then
  echo "fuzz: clang is not installed; fuzz targets skipped"
  exit 0
fi
CC=${CLANG/clang++/clang}
TARGETS=(fuzz_board_frames fuzz_expansion fuzz_protocol fuzz_settings_files fuzz_sd_import fuzz_mbm fuzz_automation)

build() {
  local launcher=()
  if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  local flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
  cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER="$CC" -DCMAKE_CXX_COMPILER="$CLANG" \
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
    -DVESK_FUZZ=ON -DVESK_TESTS=OFF -DVESK_BENCH=OFF "${launcher[@]}" >/dev/null
  cmake --build "$BUILD" --target fuzz_all -j"${FUZZ_JOBS:-$(nproc)}"
  # The animations come from the artwork generator of the normal build.
  local mbm=()
  for f in build/bin/*.mbm; do [ -f "$f" ] && mbm+=("$f"); done
  "$BUILD/bin/make_seeds" "$BUILD/corpus" "${mbm[@]}"
}

run() {
  local target=$1
  shift
  mkdir -p "$BUILD/corpus/$target"
  (cd "$BUILD" && "./bin/$target" -artifact_prefix=./ "corpus/$target" "$@")
}

case "${1:-ci}" in
  build) build ;;
  run) shift; run "$@" ;;
  ci)
    build
    for t in "${TARGETS[@]}"; do
      log="$BUILD/$t.log"
      if ! run "$t" -max_total_time="${FUZZ_SECONDS:-20}" -print_final_stats=1 >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "fuzz: $t failed"
        exit 1
      fi
      echo "$t: $(grep -E '^stat::(number_of_executed_units|average_exec_per_sec)' "$log" | tr -s ' ' | tr '\n' ' ')"
    done
    ;;
  *) echo "usage: $0 [build | run TARGET [libFuzzer args]]" >&2; exit 2 ;;
esac
