#!/usr/bin/env bash
# Builds the benchmarks (Release, build/bench), runs them all and prints one
# table of every benchmark against its goal (bench/targets.tsv), then the
# comparison with pxlib from the same run (on stdout; the build and progress
# go to stderr). A full run takes several minutes:
# the pxlib side of the insert comparison alone takes one to three.
#
#   ./bench.sh            every benchmark
#   ./bench.sh REGEX      only benchmarks whose name matches REGEX
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
dir=build/bench
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRIMLO_TESTS=OFF -DBRIMLO_BENCH=ON >/dev/null
cmake --build "$dir" --target brimlo_bench -j2 >&2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/data" "$tmp/runtime"
chmod 700 "$tmp/runtime"
export QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$tmp/data" XDG_RUNTIME_DIR="$tmp/runtime"
args=(--benchmark_out="$dir/bench.json" --benchmark_out_format=json)
report_args=()
if (($#)); then
  args+=(--benchmark_filter="$1")
  report_args+=(--filtered)
fi
echo "Running brimlo_bench (load average: $(cut -d' ' -f1-3 /proc/loadavg)); progress in $dir/bench.log" >&2
"$dir/bench/brimlo_bench" "${args[@]}" >"$dir/bench.log" 2>&1 \
  || { tail -n 20 "$dir/bench.log" >&2; echo "brimlo_bench failed" >&2; exit 1; }
python3 bench/bench_report.py "$dir/bench.json" "${report_args[@]}"
