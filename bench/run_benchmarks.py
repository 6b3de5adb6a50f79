#!/usr/bin/env python3
"""Runs every benchmark of brimlo_bench in its own process and writes one
JSON result, as --benchmark_out would, with each benchmark's peak memory
(peak_MB, the child's maximum resident set) taken from outside: no benchmark
inherits the memory or the warm caches of one that ran before it.

    run_benchmarks.py BINARY OUT.json [--filter REGEX] [--log LOG]
"""
import argparse
import json
import os
import re
import subprocess
import sys
import tempfile
from pathlib import Path


def list_benchmarks(binary, pattern):
    args = [binary, "--benchmark_list_tests"]
    if pattern:
        args.append(f"--benchmark_filter={pattern}")
    out = subprocess.run(args, check=True, capture_output=True, text=True).stdout
    return [line.strip() for line in out.splitlines() if line.strip()]


def run_one(binary, name, log):
    """The benchmark's results with peak_MB added, or an error result."""
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        process = subprocess.Popen(
            [binary, f"--benchmark_filter=^{re.escape(name)}$",
             f"--benchmark_out={out.name}", "--benchmark_out_format=json"],
            stdout=log, stderr=subprocess.STDOUT)
        _, status, usage = os.wait4(process.pid, 0)
        process.returncode = os.waitstatus_to_exitcode(status)
        peak = usage.ru_maxrss / 1024.0
        try:
            data = json.loads(Path(out.name).read_text())
        except (OSError, ValueError):
            data = {"benchmarks": []}
    results = data.get("benchmarks", [])
    if process.returncode != 0 or not results:
        return data.get("context", {}), [{"name": name, "run_type": "iteration", "error_occurred": True,
                                          "error_message": f"exit status {process.returncode}"}]
    for result in results:
        result["peak_MB"] = peak
    return data.get("context", {}), results


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("binary")
    parser.add_argument("out")
    parser.add_argument("--filter", default="")
    parser.add_argument("--log", default=os.devnull)
    args = parser.parse_args(argv[1:])
    merged = {"context": {}, "benchmarks": []}
    with open(args.log, "w") as log:
        for name in list_benchmarks(args.binary, args.filter):
            print(f"  {name}", file=sys.stderr, flush=True)
            context, results = run_one(args.binary, name, log)
            merged["context"] = merged["context"] or context
            merged["benchmarks"] += results
    Path(args.out).write_text(json.dumps(merged, indent=1))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
