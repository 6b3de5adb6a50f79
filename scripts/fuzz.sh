#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS
# (default 30). New inputs go to a scratch folder; the kept corpora in
# tests/fuzz/corpus are only read. FUZZ_RUNS=N runs N executions instead.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
if ! command -v clang++ >/dev/null; then
  echo "clang++ not found: fuzzing skipped" >&2
  exit 0
fi
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBRIMLO_FUZZ=ON -DBRIMLO_TESTS=OFF -DBRIMLO_BENCH=OFF >/dev/null
cmake --build build/fuzz --target fuzz_load_file fuzz_paradox_table fuzz_defaults_store
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export ASAN_OPTIONS=detect_leaks=0 TMPDIR="$scratch"
limit=(-max_total_time="$seconds")
[[ -n "${FUZZ_RUNS:-}" ]] && limit=(-runs="$FUZZ_RUNS")
for target in load:fuzz_load_file paradox:fuzz_paradox_table defaults:fuzz_defaults_store; do
  corpus=${target%%:*} binary=${target#*:}
  mkdir -p "$scratch/$corpus"
  echo "== $binary"
  build/fuzz/tests/fuzz/$binary "${limit[@]}" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$scratch/$corpus" "tests/fuzz/corpus/$corpus" 2>&1 | tail -15
  test "${PIPESTATUS[0]}" -eq 0
done
