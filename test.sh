#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite; then the
# threaded tests again under each sanitizer (scripts/sanitize.sh).
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
(cd "${BUILD_DIR:-build}" && ctest --output-on-failure -j"$(nproc)" --timeout 300)
# VESK_SANITIZERS="" skips the sanitizer builds (a quick local run).
for kind in ${VESK_SANITIZERS-thread}; do
  scripts/sanitize.sh "$kind"
done
