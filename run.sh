#!/usr/bin/env bash
# Sets up, builds (Release) and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRIMLO_TESTS=OFF -DBRIMLO_BENCH=OFF
cmake --build build/release --target brimlo brimlo-cli
exec build/release/src/app/brimlo
