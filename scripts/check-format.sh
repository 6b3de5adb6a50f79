#!/usr/bin/env bash
# Fails, listing the files, when a C++ file under src, tests or bench is not
# as clang-format would write it with the repository's .clang-format.
# scripts/check-format.sh [clang-format program]
set -euo pipefail
cd "$(dirname "$0")/.."
format=${1:-clang-format}
mapfile -d '' files < <(find src tests bench -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
if ! report=$("$format" --style=file --dry-run --Werror "${files[@]}" 2>&1); then
  echo "Not clang-format clean (run: clang-format -i FILE):" >&2
  grep -o '^[^:]*\.\(cpp\|h\):[0-9]*:[0-9]*: error' <<<"$report" | cut -d: -f1 | sort -u \
    | sed 's/^/  /' >&2 || echo "$report" >&2
  exit 1
fi
echo "${#files[@]} files clang-format clean"
