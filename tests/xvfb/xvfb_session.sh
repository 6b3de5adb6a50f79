# Shared by the external keying runs: an X server of its own (Xvfb), the
# real program in it over fresh data folders, and a wait for its windows.
# Source it with the program's path in $program; it sets $work, $main and
# $program_pid and cleans up on exit.
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

# The server picks a display number nobody holds and tells it when ready.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 300); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -1 "$work/display")"

mkdir -p "$work/data" "$work/runtime" "$work/loads"
chmod 700 "$work/runtime"
export XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb

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

start_program() {
  "$program" >"$work/program.log" 2>&1 &
  program_pid=$!
  main=$(window_named BRIMLO)
  xdotool mousemove --window "$main" 200 200
  xdotool windowfocus --sync "$main"
}

# Answers the Save As dialog with a file name and waits for the file.
save_as() {
  local file=$1 dialog
  dialog=$(window_named "Save As")
  xdotool windowfocus --sync "$dialog"
  xdotool key --delay 10 ctrl+a
  xdotool type --delay 10 "$file"
  xdotool key --delay 10 Return
  for _ in $(seq 100); do [[ -f $file ]] && break; sleep 0.1; done
  xdotool windowfocus --sync "$main"
}

# Leaves by File, Exit and checks that the program ended well.
exit_program() {
  xdotool key --delay 10 alt+f x
  for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$program_pid" 2>/dev/null; then
    echo "the program did not end after File, Exit" >&2
    exit 1
  fi
  wait "$program_pid" || { echo "the program ended with status $?" >&2; cat "$work/program.log" >&2; exit 1; }
  program_pid=''
}

# Compares a file with the one expected, showing both when they differ.
same_bytes() {
  if ! cmp "$1" "$2"; then
    echo "--- expected" >&2; cat -A "$1" >&2; echo >&2
    echo "--- saved" >&2; cat -A "$2" >&2; echo >&2
    exit 1
  fi
}

k() { xdotool key --delay 10 "$@"; }
t() { xdotool type --delay 10 "$1"; }

# Keys a header from the lessee on (load number $1, date 2026/12/09,
# header top 10, mill code AB) and goes on to the log page by F6.
key_header() {
  t north; k Tab
  t mill; k Tab
  t ctl; k Tab Tab Tab Tab Tab
  t "$1"; k Tab
  t 2026/12/09; k Tab Tab
  t 10                                   # the top diameter fills and moves on
  k Tab Tab Tab Tab Tab Tab
  t ab                                   # the mill code fills and moves on
  k Tab
  t pat; k Tab
  t p1
  k F6
}

# The header line key_header gives for load number $1 (no line end).
header_line() {
  pad() { printf "%-$2s" "$1"; }
  printf '3%s%s%s%s' "$(pad NORTH 20)" "$(pad MILL 20)" "$(pad CTL 10)" "$(pad '' 4)"
  printf '%7d%4s%5d%s%3d%2d%6dKG%s' 0 '' "$1" 261209 0 10 0 "$(pad '' 7)"
  printf 'SPGR01%s%2s%3d%4d%s' "$(pad '' 20)" AB 0 0 "$(pad '' 16)"
  printf 'N20261209%sS%6d%s%s0' "$(pad '' 10)" "$1" "$(pad PAT 20)" "$(pad P1 6)"
}

# A log line of a 30/20/50 log (top 20, length 50, butt 30): position,
# species, condition, product, C1, C2, C3, type, method, gross and cull
# litres, flag, DBH.
log_line() {
  printf '0%4d%-2s%-2s%-2s%3d%3d%3d%3d%3d%c%c%5d%5d%4d%c%3d%2d%c%3d\r\n' \
    "$1" "$2" "$3" "$4" 20 50 "$5" "$6" "$7" "$8" "$9" "${10}" "${11}" 30 "${12}" 0 "${13}" N 0
}
