#!/usr/bin/env bash
# Keys a three-log load into the real program from outside: an X server of
# its own (Xvfb), real key events sent by xdotool to the real window, the
# load saved by F2 through the save dialog, the program left by its menu.
# The saved file must hold exactly the bytes a scaler's office expects.
# Usage: external_keying_run.sh <path of the brimlo program>
set -euo pipefail
program=$1
source "$(dirname "$0")/xvfb_session.sh"
start_program
sleep 0.5

keys() { xdotool key --delay 40 "$@"; sleep 0.2; }
text() { xdotool type --delay 40 "$1"; sleep 0.2; }

keys ctrl+n
sleep 1
key_header 4711
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
saved="$work/loads/AB0471100.txt"
save_as "$saved"
exit_program
[[ -f $saved ]] || { echo "no load file was saved" >&2; cat "$work/program.log" >&2; exit 1; }

# A 30/20/50 log is 256 litres by Smalian's formula; 10 % of it is 26.
{
  log_line 1 SP GR 01 0 0 0 ' ' ' ' 256 0 ' ' 0
  log_line 2 SP GR 01 10 0 0 4 3 256 26 ' ' 0
  log_line 3 SP GR 01 100 0 0 4 3 256 256 ' ' 0
  header_line 4711
} >"$work/expected.txt"
same_bytes "$work/expected.txt" "$saved"
echo "the load keyed from outside was saved byte for byte as expected"
