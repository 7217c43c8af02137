#!/usr/bin/env bash
# Installs what is missing, builds and starts Kavel.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "No display found: starting Kavel on a virtual X display (xvfb-run)."
  exec xvfb-run -a build/program/kavel
fi
exec build/program/kavel
