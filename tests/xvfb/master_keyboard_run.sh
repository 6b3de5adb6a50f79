#!/usr/bin/env bash
# Browses the master file and deletes a record with the keyboard alone, in
# the real program under its own X server: three loads keyed and saved by
# Ctrl+S post three master records; the maintenance window's navigator is
# reached by Tab and worked by the cursor keys and Delete.
# Usage: master_keyboard_run.sh <path of the brimlo program>
set -euo pipefail
program=$1
source "$(dirname "$0")/xvfb_session.sh"
start_program

# One 30/20/50 log a load; loads 1, 2 and 3.
for load in 1 2 3; do
  k ctrl+n
  key_header "$load"
  k Tab Tab Tab; t 30; k Tab; t 2050
  k ctrl+s
  save_as "$work/loads/load$load.txt"
  k ctrl+w
done
k ctrl+m
# The navigator is the last stop of the window: Shift+Tab from the first
# edit reaches it. First, last, the one before it; then delete that one.
k shift+Tab Home End Left Delete
answer() { local box; box=$(window_named "$1"); xdotool windowfocus --sync "$box"; k Return; }
answer Confirm
xdotool windowfocus --sync "$main"
# The master ASCII file, the last command of the Edit menu, lists what is left.
k alt+e Up Return
exported="$work/loads/master.out"
dialog=$(window_named "Save Master ASCII File")
xdotool windowfocus --sync "$dialog"
k ctrl+a; t "$exported"; k Return
answer Success
xdotool windowfocus --sync "$main"
exit_program

# Load numbers stand at positions 13 to 17, one line a record here.
printf '    1\n    3\n' >"$work/expected.txt"
cut -c13-17 "$exported" >"$work/left.txt"
same_bytes "$work/expected.txt" "$work/left.txt"
echo "the master file was browsed and a record deleted with the keyboard alone"
