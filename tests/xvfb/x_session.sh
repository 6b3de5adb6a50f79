# Sourced by the scripts that key the real program from outside: an X server
# of its own (Xvfb), a fresh data folder, the program started on it, and
# helpers that wait for windows and send keys at 10 ms a key.
# After sourcing: start_program <program> [VAR=value...]; $work, $program_pid.
for tool in Xvfb xdotool xwininfo; do
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

start_program() {
  local program=$1 display=90
  shift
  while [[ -e /tmp/.X$display-lock || -e /tmp/.X11-unix/X$display ]]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$display"
  for _ in $(seq 100); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
  mkdir -p "$work/data" "$work/runtime" "$work/loads"
  chmod 700 "$work/runtime"
  env XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$@" \
    "$program" >"$work/program.log" 2>&1 &
  program_pid=$!
}

fail() {
  echo "$*" >&2
  cat "$work/program.log" >&2
  exit 1
}

# Waits until a visible window of that exact name exists; answers its id.
window_named() {
  local name=$1 id
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null | head -1 || true)
    [[ -n $id ]] && { echo "$id"; return 0; }
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended early"
    sleep 0.1
  done
  fail "no window named '$name' appeared"
}

# How many visible windows have that exact name.
windows_named() {
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l
}

keys() { xdotool key --delay 10 "$@"; sleep 0.3; }
text() { xdotool type --delay 10 "$1"; sleep 0.3; }

# Ends the program by File, Exit, answering No to every question on the way.
exit_program() {
  xdotool windowfocus --sync "$1"
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
  kill -0 "$program_pid" 2>/dev/null && { xdotool search --onlyvisible --name . getwindowname %@ | sort | uniq -c >&2; fail "the program did not end after File, Exit"; }
  wait "$program_pid" || fail "the program ended with status $?"
  program_pid=''
}
