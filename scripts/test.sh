#!/usr/bin/env bash
# Installs, builds and runs every test; exits non-zero on any failure. The tests make their own databases
# and start (and stop) their own Firebird server.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/install.sh"
"$ROOT/scripts/build.sh"
cd "$ROOT/build"
ctest --output-on-failure -j "$(nproc)" "$@"
