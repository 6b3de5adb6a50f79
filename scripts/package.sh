#!/usr/bin/env bash
# Builds Release and the Debian package: build-pkg/brimlo_<version>_<arch>.deb
# (another build folder may be given as the first argument).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
dir=${1:-build-pkg}
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRIMLO_TESTS=OFF -DBRIMLO_BENCH=OFF
cmake --build "$dir" -j2
(cd "$dir" && cpack -G DEB)
ls -1 "$dir"/brimlo_*.deb
