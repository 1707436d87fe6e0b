#!/usr/bin/env bash
# Installs what is missing, builds the release binaries and starts the terminal on the
# simulated processor (pass --device auto for the processor on USB). Binaries land in
# build/release/bin/. On a machine without a display the terminal says so in one line;
# vellora --screenshot PNG renders the window offscreen instead.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target vellora vellora-cli vellora-sim
if [ $# -eq 0 ]; then set -- --device sim; fi
exec ./build/release/bin/vellora "$@"
