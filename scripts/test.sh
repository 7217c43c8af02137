#!/usr/bin/env bash
# The quick test command: installs what is missing, builds, and runs every test (ctest). The
# window tests run offscreen; the real-port tests and the soak start their own JACK server.
# The sanitizer builds and the fuzz runs are .ci/run's.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
ctest --test-dir build --output-on-failure -j "$(nproc)"
