#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite; then the
# suite under the sanitizers and a short run of every fuzz target.
#   VESK_SANITIZERS=""   skip the sanitizer builds
#   FUZZ_SECONDS=0       skip the fuzz run
set -euo pipefail
cd "$(dirname "$0")"
step() {
  local start=$SECONDS
  "$@"
  echo "test.sh: '$*' took $((SECONDS - start)) s"
}
scripts/setup.sh
(cd "${BUILD_DIR:-build}" && step ctest --output-on-failure -j"$(nproc)" --timeout 300)
for kind in ${VESK_SANITIZERS-address thread}; do
  step scripts/sanitize.sh "$kind"
done
if [ "${FUZZ_SECONDS:-20}" != 0 ]; then
  step env FUZZ_SECONDS="${FUZZ_SECONDS:-20}" scripts/fuzz.sh
fi
