#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test, one CMake workflow after another:
#   fuzz   the fuzz targets for their bounded time under ASan and UBSan (clang)
#   ci     the unit, widget and end-to-end suites, GCC, warnings as errors, with benchmarks built
#   asan   the same suites under AddressSanitizer and UndefinedBehaviorSanitizer (GCC)
#   clang  the same suites built by Clang, warnings as errors
#   nogui  the build without Qt Gui (lower layers, vellora-cli, vellora-sim) and its tests
# Each workflow's time is printed after it. No compiler cache is used, so on CI, which starts
# from a fresh clone, every build is a cold one.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

start=$SECONDS
for workflow in fuzz ci asan clang nogui; do
  began=$SECONDS
  cmake --workflow --preset "$workflow"
  echo "test.sh: workflow $workflow took $((SECONDS - began)) s"
done
echo "test.sh: all workflows took $((SECONDS - start)) s"
