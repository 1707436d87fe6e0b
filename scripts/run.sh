#!/usr/bin/env bash
# Installs what is missing, builds the release binaries and starts the program.
# Binaries land in build/release/bin/.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target vellora-cli
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
./build/release/bin/vellora-cli defaults --out "$tmp/factory.VL"
exec ./build/release/bin/vellora-cli dump "$tmp/factory.VL" "$@"
