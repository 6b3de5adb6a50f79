#!/usr/bin/env bash
# The bash completion offers exactly the commands brimlo-cli knows.
set -euo pipefail
cli=$1 completion=$2
source "$completion"
COMP_WORDS=(brimlo-cli "")
COMP_CWORD=1
_brimlo_cli
offered=$(printf '%s\n' "${COMPREPLY[@]}" | grep -v '^-' | sort)
known=$("$cli" --help | sed -n '/^Commands:/,/^$/p' | awk 'NF && !/^Commands:/ {print $1}' | sort)
if [[ $offered != "$known" ]]; then
    echo "completion offers:"; echo "$offered"; echo "brimlo-cli knows:"; echo "$known"
    exit 1
fi
