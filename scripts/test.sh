#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (ctest): the window tests run
# offscreen, the real-port tests and the soak start their own JACK server. Then the whole suite
# again with AddressSanitizer and UndefinedBehaviorSanitizer, and a bounded run of every fuzz
# target (FUZZ_SECONDS each, default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
ctest --test-dir build --output-on-failure -j "$(nproc)"
bash scripts/sanitize.sh
bash scripts/fuzz.sh
