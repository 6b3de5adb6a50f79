#!/usr/bin/env bash
# Sets up, builds and runs every test headless.
# BRIMLO_SANITIZE=1 builds the tests with AddressSanitizer and UBSan. A
# warning in our code fails the plain build; the sanitizers' instrumentation
# makes GCC warn where the code is sound, so that build only shows them.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
if [[ "${BRIMLO_SANITIZE:-0}" == 1 ]]; then
  dir=build/asan; opts=(-DCMAKE_BUILD_TYPE=Debug -DBRIMLO_SANITIZE=ON -DBRIMLO_BENCH=OFF)
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
  dir=build/test; opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRIMLO_BENCH=ON -DBRIMLO_WERROR=ON)
fi
cmake -S . -B "$dir" -G Ninja "${opts[@]}"
cmake --build "$dir"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/data" "$tmp/runtime"
chmod 700 "$tmp/runtime"
export QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$tmp/data" XDG_RUNTIME_DIR="$tmp/runtime"
ctest --test-dir "$dir" --output-on-failure -j2
