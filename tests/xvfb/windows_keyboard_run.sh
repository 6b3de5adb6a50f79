#!/usr/bin/env bash
# The defaults window and the Window menu keyed from outside, as a new
# office user would, keyboard only:
# - the defaults window opened by Ctrl+D takes a lessee straight away;
# - letters typed into the numeric "Mill Number:" never appear, so the
#   first message of the save is the header top diameter check's;
# - Window, Cascade (after Tile) with two loads and a help window open
#   leaves every child window at its normal size and the load windows' log
#   rows in sight.
# Every widget gets an X window of its own here so that the sizes can be
# read from the X server.
# Usage: windows_keyboard_run.sh <path of the brimlo program>
set -euo pipefail
program=$1
source "$(dirname "$0")/xvfb_session.sh"
command -v xwininfo >/dev/null || { echo "xwininfo is missing (scripts/deps.sh installs it)" >&2; exit 1; }
export QT_USE_NATIVE_WINDOWS=1
start_program
sleep 0.5

fail() {
  echo "$*" >&2
  cat "$work/program.log" >&2
  exit 1
}
keys() { k "$@"; sleep 0.3; }
text() { t "$1"; sleep 0.3; }
# How many visible windows have that exact name.
windows_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l; }

# Defaults: the lessee straight away, then Mill Number, the sixth field.
keys ctrl+d
text north
keys Tab Tab Tab Tab Tab
text x4y2z
keys ctrl+s
sleep 0.5
[[ $(windows_named BRIMLO) -eq 1 ]] || fail "the save showed an error box of its own"
box=$(window_named "Top Diameter Error:")
xdotool windowfocus --sync "$box"
keys Return
xdotool windowfocus --sync "$main"
# The failed check left the keyboard in the header top diameter; two digits
# move on to the net weight, eight Tabs on to the scaler name.
text 20
keys Tab Tab Tab Tab Tab Tab Tab Tab
text pat; keys Tab; text p1
keys ctrl+s ctrl+w

# Two loads on their log pages (the header from the defaults passes F6's
# checks) and the values help window (Help has no letter: Alt+W, Right).
keys ctrl+n F6
keys ctrl+n F6
keys alt+w Right r
keys alt+w t
keys alt+w c
sleep 0.5

# The child frames stand three levels below the main window (client area,
# its viewport); a load window's row grid is the part of its log page below
# the 46-pixel band. Prints "frame|grid w h absx absy".
xwininfo -tree -int -id "$main" | awk '
  /^ *[0-9]+ "/ {
    depth = (match($0, /[^ ]/) - 3) / 3
    split($0, parts, /\) +/); geometry = parts[2]
    split(geometry, g, /[x+ ]+/)   # w h relx rely absx absy
    if (depth == 3) print "frame", g[1], g[2], g[5], g[6]
    else if (depth > 3 && g[4] == 46 && g[2] >= 100) print "grid", g[1], g[2], g[5], g[6]
  }' >"$work/geometry.txt"
frames=$(grep -c '^frame' "$work/geometry.txt" || true)
[[ $frames -eq 3 ]] || { cat "$work/geometry.txt" >&2; fail "expected three child windows, found $frames"; }
# Normal sizes: a load window 750 x 455, a help window 630 x 405.
awk '
  $1 == "frame" { n++; fw[n] = $2; fh[n] = $3; fx[n] = $4; fy[n] = $5
    if ($2 < 630 || $3 < 405) { print "a child window is only " $2 " x " $3; bad = 1 }
    if ($2 >= 750 && $3 >= 455) loads++ }
  $1 == "grid" { gw[++m] = $2; gh[m] = $3; gx[m] = $4; gy[m] = $5 }
  END {
    if (loads != 2) { print loads + 0 " of the child windows have a load window'"'"'s size"; bad = 1 }
    for (i = 1; i <= n; i++) {
      if (fw[i] < 750) continue
      rows = 0
      for (j = 1; j <= m; j++)
        if (gx[j] >= fx[i] && gy[j] >= fy[i] && gy[j] + gh[j] <= fy[i] + fh[i] + 1 &&
            gx[j] + gw[j] <= fx[i] + fw[i] + 1)
          rows = int(gh[j] / 25)
      if (rows < 12) { print "a load window shows " rows " log rows"; bad = 1 }
    }
    exit bad
  }' "$work/geometry.txt" || { cat "$work/geometry.txt" >&2; fail "Cascade left a child window too small"; }

# File, Exit; the two new loads ask whether to save them: No.
keys alt+f x
for _ in $(seq 100); do
  kill -0 "$program_pid" 2>/dev/null || break
  question=$(xdotool search --onlyvisible --name '^Save before closing\?$' 2>/dev/null | head -1 || true)
  if [[ -n $question ]]; then
    xdotool windowfocus --sync "$question"
    keys alt+n
  fi
  sleep 0.1
done
exit_program

# The defaults saved: the lessee typed first, the mill number without the
# letters typed into it.
python3 - "$work/data/Brimlo/defaults.db" <<'PY' || fail "the defaults were not saved as typed"
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
db.text_factory = lambda b: b.decode("cp1252")
fields = ("LESSEE", "MILL_NUM", "HTOPD", "SCALER_NAME")
got = dict(zip(fields, db.execute(f"SELECT {', '.join(fields)} FROM defaults").fetchone()))
expected = {"LESSEE": "NORTH", "MILL_NUM": 42, "HTOPD": 20, "SCALER_NAME": "PAT"}
if got != expected:
    sys.exit(f"defaults hold {got}, expected {expected}")
PY
echo "defaults keyed from the first field, number fields kept to numbers, cascade kept sizes"
