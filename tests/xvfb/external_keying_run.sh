#!/usr/bin/env bash
# Keys a three-log load into the real program from outside: an X server of
# its own (Xvfb), real key events sent by xdotool to the real window, the
# load saved by F2 through the save dialog, the program left by its menu.
# The saved file must hold exactly the bytes a scaler's office expects.
# Usage: external_keying_run.sh <path of the brimlo program>
set -euo pipefail
program=$1
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/deps.sh installs it)" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid='' program_pid=''
cleanup() {
  [[ -n $program_pid ]] && kill -9 "$program_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A display number nobody holds.
display=90
while [[ -e /tmp/.X$display-lock || -e /tmp/.X11-unix/X$display ]]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
for _ in $(seq 100); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

mkdir -p "$work/data" "$work/runtime" "$work/loads"
chmod 700 "$work/runtime"
export XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb
"$program" >"$work/program.log" 2>&1 &
program_pid=$!

# Waits until a visible window of that exact name exists; answers its id.
window_named() {
  local name=$1 id
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null | head -1 || true)
    [[ -n $id ]] && { echo "$id"; return 0; }
    kill -0 "$program_pid" 2>/dev/null || { echo "the program ended early" >&2; cat "$work/program.log" >&2; exit 1; }
    sleep 0.1
  done
  echo "no window named '$name' appeared" >&2
  exit 1
}

keys() { xdotool key --delay 40 "$@"; sleep 0.2; }
text() { xdotool type --delay 40 "$1"; sleep 0.2; }

main=$(window_named BRIMLO)
xdotool mousemove --window "$main" 200 200
xdotool windowfocus --sync "$main"
sleep 0.5

keys ctrl+n
sleep 1
# Header page: lessee, mill, disposition; on to the load number and date.
text north; keys Tab
text mill; keys Tab
text ctl; keys Tab Tab Tab Tab Tab
text 4711; keys Tab
text 2026/12/09; keys Tab Tab
text 10                                # the top diameter fills and moves on
keys Tab Tab Tab Tab Tab Tab
text ab                                # the mill code fills and moves on
keys Tab
text pat; keys Tab
text p1
keys F6
sleep 0.5
# Log page: 30/20/50 logs; the first without cull, the second with 10 %
# cat face, the third culled whole by F8.
keys Tab Tab Tab
text 30; keys Tab; text 20; text 50
keys Tab Tab Tab Tab Tab Tab Tab
text 30; keys Tab; text 20; text 50
text 4; keys Tab Tab
text 10; keys Tab Tab Tab
text 30; keys Tab; text 20; text 50
keys F8
keys F2

dialog=$(window_named "Save As")
xdotool windowfocus --sync "$dialog"
saved="$work/loads/AB0471100.txt"
keys ctrl+a
text "$saved"
keys Return
for _ in $(seq 100); do [[ -f $saved ]] && break; sleep 0.1; done

xdotool windowfocus --sync "$main"
keys alt+f x
for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$program_pid" 2>/dev/null; then
  echo "the program did not end after File, Exit" >&2
  exit 1
fi
wait "$program_pid" || { echo "the program ended with status $?" >&2; cat "$work/program.log" >&2; exit 1; }
program_pid=''

[[ -f $saved ]] || { echo "no load file was saved" >&2; cat "$work/program.log" >&2; exit 1; }

# A 30/20/50 log is 256 litres by Smalian's formula; 10 % of it is 26.
log_line() {
  printf '0%4dSPGR01%3d%3d%3d%3d%3d%c%c%5d%5d%4d%c%3d%2d%c%3d\r\n' \
    "$1" 20 50 "$2" 0 0 "$3" "$4" 256 "$5" 30 ' ' 0 0 N 0
}
pad() { printf "%-$2s" "$1"; }
{
  log_line 1 0 ' ' ' ' 0
  log_line 2 10 4 3 26
  log_line 3 100 4 3 256
  printf '3%s%s%s%s' "$(pad NORTH 20)" "$(pad MILL 20)" "$(pad CTL 10)" "$(pad '' 4)"
  printf '%7d%4s%5d%s%3d%2d%6dKG%s' 0 '' 4711 261209 0 10 0 "$(pad '' 7)"
  printf 'SPGR01%s%2s%3d%4d%s' "$(pad '' 20)" AB 0 0 "$(pad '' 16)"
  printf 'N20261209%sS%6d%s%s0' "$(pad '' 10)" 4711 "$(pad PAT 20)" "$(pad P1 6)"
} >"$work/expected.txt"

if ! cmp "$work/expected.txt" "$saved"; then
  echo "--- expected" >&2; cat -A "$work/expected.txt" >&2; echo >&2
  echo "--- saved" >&2; cat -A "$saved" >&2; echo >&2
  exit 1
fi
echo "the load keyed from outside was saved byte for byte as expected"
