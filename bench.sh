#!/usr/bin/env bash
# Builds the benchmarks (Release, build/bench), runs each in its own process
# and prints one table of every benchmark against its goal (bench/targets.tsv),
# the comparison with pxlib from the same run, then the scale table (masters
# of 1,000 to 200,000 records: start-up, open, post, export, master summary,
# peak memory; medians of three runs) with the ratios the growth must keep.
# Results go to stdout; the build and progress to stderr. A full run takes
# a quarter of an hour: the pxlib side of the insert comparison alone takes
# one to three minutes, the 200,000-record masters several.
#
#   ./bench.sh            every benchmark and the scale table
#   ./bench.sh REGEX      only benchmarks whose name matches REGEX
#   ./bench.sh --scale    only the scale table
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
dir=build/bench
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRIMLO_TESTS=OFF -DBRIMLO_BENCH=ON >/dev/null
cmake --build "$dir" --target brimlo_bench brimlo_scale brimlo -j2 >&2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/data" "$tmp/runtime"
chmod 700 "$tmp/runtime"
export QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$tmp/data" XDG_RUNTIME_DIR="$tmp/runtime"
if [[ ${1:-} != --scale ]]; then
  filter=() report_args=()
  if (($#)); then
    filter=(--filter "$1")
    report_args=(--filtered)
  fi
  echo "Running brimlo_bench, one process a benchmark (load average: $(cut -d' ' -f1-3 /proc/loadavg)); output in $dir/bench.log" >&2
  python3 bench/run_benchmarks.py "$dir/bench/brimlo_bench" "$dir/bench.json" --log "$dir/bench.log" "${filter[@]}"
  python3 bench/bench_report.py "$dir/bench.json" "${report_args[@]}"
  (($#)) && exit 0
fi
echo >&2
echo "Scale table (load average: $(cut -d' ' -f1-3 /proc/loadavg))" >&2
echo
python3 bench/scale.py "$dir/bench/scale/brimlo_scale" "$dir/src/app/brimlo" "$tmp/scale"
