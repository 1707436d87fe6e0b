#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the fuzz targets for their bounded
# time under ASan/UBSan (clang), then the unit, widget and end-to-end suites, then the build
# without Qt Gui (the layers below the graph, vellora-cli and vellora-sim) with its tests.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --workflow --preset fuzz
cmake --workflow --preset ci
cmake --workflow --preset nogui
