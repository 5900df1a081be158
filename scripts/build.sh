#!/usr/bin/env bash
# Configures and builds everything into build/.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$ROOT" -B "$ROOT/build" -G Ninja
cmake --build "$ROOT/build"
