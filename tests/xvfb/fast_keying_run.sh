#!/usr/bin/env bash
# Keys a ten-log load at scale-house speed, 10 ms a key and no pauses,
# from outside the program: every cull method, codes picked from the open
# lists of the log row (the blank species and the last entry among them), a
# first letter typed the moment a list is entered, digits typed right after
# Enter in the DBH edit. The saved file must hold exactly the expected bytes.
# Usage: fast_keying_run.sh <path of the brimlo program>
set -euo pipefail
program=$1
source "$(dirname "$0")/xvfb_session.sh"
start_program

k ctrl+n
key_header 4712
# Every log is 30/20/50 (butt, top, length): 256 litres by Smalian's formula.
measures() { t 30; k Tab; t 2050; }     # the top and length fill and move on
# 1: no cull; Enter in the DBH edit moves on to the next log's butt.
k Tab Tab Tab; measures
k Tab Tab Tab Tab Tab Tab; t 7; k Return
# 2: sap rot by diameter reduction (the type's default method 1).
measures; t 3; k Tab Tab; t 18; k Tab; t 16; k Tab; k F4
# 3: species typed the moment the list is entered; cat face by length reduction.
t s; k Tab Tab Tab; measures; t 4; k Tab; t 2; k Tab; t 10; k Tab; k F4
# 4: species picked two above in the open list; cat face by percentage.
k space Up Up Return; k Tab Tab Tab; measures; t 4; k Tab Tab; t 10; k Tab; k F4
# 5: the last species; condition one above in its list; shake by blocking out.
k space Home End Return; k Tab; k space Up Return; k Tab Tab
measures; t 6; k Tab Tab; t 10; k Tab; t 20; k Tab; t 30; k F4
# 6: product one below in its list; heart rot, interior log (C3 preset to 50).
k Tab Tab; k space Down Return; k Tab
measures; t 1; k Tab Tab; t 10; k Tab; t 12; k Tab Tab; k F4
# 7: type and method from their open lists: crook, fractions 1/4.
k Tab Tab Tab; measures; k space Home Down Down Down Down Return; k Tab
k space Down Return; k Tab; t 1; k Tab; t 4; k Tab; k F4
# 8: crotch by cube cull, flag B from its list.
k Tab Tab Tab; measures; t 7; k Tab; t 7; k Tab; t 170; k space Home Return; k F4
# 9: end rot (default method 8); a full DBH appends a tenth log.
k Tab Tab Tab; measures; t 2; k Tab Tab; t 30; k Tab; t 12; k Tab; t 10; k Tab; t 12
# 10: the blank species from the open list: the log stays out of the file.
k shift+Tab shift+Tab shift+Tab; k space Home Return; k Tab
k F2
saved="$work/loads/AB0471200.txt"
save_as "$saved"
exit_program
[[ -f $saved ]] || { echo "no load file was saved" >&2; cat "$work/program.log" >&2; exit 1; }

# Cull volumes by the deduction rules, each method on a 256-litre log:
# diameter reduction 256 - Smalian(18,16,50) 114 = 142; length reduction
# 256 - Smalian(30,20,40) 204 = 52; 10 % = 26; fraction 1/4 = 64; blocking
# out 10 x 20 x 30 / 100 = 60; interior log: end areas 8 and 11 (thousandths
# of a square metre) averaged over 5 m = 48, not halved as the cull runs the
# whole log; cube cull 170 as keyed, under two thirds (170.67); end rot: rot
# ratio 0.11, so half a 12 cm cylinder 1 m long = 6.
{
  log_line 1 SP GR 01 0 0 0 ' ' ' ' 256 0 ' ' 7
  log_line 2 SP GR 01 18 16 0 3 1 256 142 ' ' 0
  log_line 3 S GR 01 10 0 0 4 2 256 52 ' ' 0
  log_line 4 SB GR 01 10 0 0 4 3 256 26 ' ' 0
  log_line 5 SP FK 01 10 20 30 6 5 256 60 ' ' 0
  log_line 6 SP GR 02 10 12 50 1 6 256 48 ' ' 0
  log_line 7 SP GR 01 1 4 0 5 4 256 64 ' ' 0
  log_line 8 SP GR 01 170 0 0 7 7 256 170 B 0
  log_line 9 SP GR 01 30 12 10 2 8 256 6 ' ' 12
  header_line 4712
} >"$work/expected.txt"
same_bytes "$work/expected.txt" "$saved"
echo "ten logs keyed at 10 ms a key were saved byte for byte as expected"
