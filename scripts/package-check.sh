#!/usr/bin/env bash
# Installs the Debian package, starts the program from its desktop entry on a
# virtual display with a fresh data folder, checks the main window appears and
# closes it with Exit (Alt+X), then removes the package and checks its files
# are gone. Needs root (apt-get). The package is removed even when a step fails.
#
#   scripts/package-check.sh [path/to/brimlo_*.deb]
set -euo pipefail
cd "$(dirname "$0")/.."

fail() { echo "package-check: FAIL: $*" >&2; exit 1; }
step() { echo "package-check: $*"; }

[[ $(id -u) -eq 0 ]] || fail "run as root (apt-get install and remove)"
for tool in xvfb-run xdotool desktop-file-validate apt-get dpkg-query; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/deps.sh installs it)"
done
shopt -s nullglob
built=(build-pkg/brimlo_*.deb)
deb=${1:-}
if [[ -z "$deb" && ${#built[@]} -gt 0 ]]; then deb=${built[-1]}; fi
[[ -n "$deb" && -f "$deb" ]] || fail "no package; build one with scripts/package.sh"
# apt-get takes a file only by a path with a slash in front.
[[ "$deb" == /* ]] || deb="./${deb#./}"
if dpkg-query -W -f='${Status}' brimlo 2>/dev/null | grep -q 'install ok installed'; then
  fail "brimlo is installed already; remove it first so the check starts clean"
fi

tmp=$(mktemp -d)
installed=0
cleanup() {
  if ((installed)); then
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -q brimlo >/dev/null 2>&1 || true
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT

step "installing $deb"
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >"$tmp/install.log" 2>&1 \
  || { cat "$tmp/install.log" >&2; fail "apt-get install"; }
installed=1
dpkg-query -L brimlo >"$tmp/files"

desktop=/usr/share/applications/brimlo.desktop
for f in /usr/bin/brimlo "$desktop" /usr/share/icons/hicolor/scalable/apps/brimlo.svg \
  /usr/share/icons/hicolor/48x48/apps/brimlo.png /usr/share/doc/brimlo/user-guide.md \
  /usr/share/doc/brimlo/copyright /usr/bin/brimlo-cli /usr/share/man/man1/brimlo-cli.1 \
  /usr/share/bash-completion/completions/brimlo-cli /usr/share/doc/brimlo/cli.md; do
  [[ -f "$f" ]] || fail "$f was not installed"
done
# The command-line tool runs from the package, with no display.
brimlo-cli --version | grep -q '^brimlo-cli ' || fail "brimlo-cli --version"
env -u DISPLAY -u WAYLAND_DISPLAY brimlo-cli master stats --data-dir "$tmp" >/dev/null \
  || fail "brimlo-cli master stats on an empty data folder"
desktop-file-validate "$desktop" || fail "$desktop does not validate"
dpkg-query -W -f='${Depends}\n' brimlo | grep -q 'libqt6widgets6' \
  || fail "the package does not depend on the Qt libraries it links"

# The command the desktop starts, without its field codes (%f, %U, ...).
exec_line=$(sed -n 's/^Exec=//p' "$desktop" | head -n 1)
read -r -a command <<<"${exec_line//%[a-zA-Z]/}"
program=$(command -v "${command[0]}") || fail "Exec=${exec_line} is not on PATH"
[[ "$program" == /usr/bin/brimlo ]] || fail "Exec=${exec_line} starts $program"

step "starting '${exec_line}' on a virtual display"
mkdir -p "$tmp/data" "$tmp/runtime" && chmod 700 "$tmp/runtime"
cat >"$tmp/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -uo pipefail
"$@" >"$XDG_RUNTIME_DIR/program.log" 2>&1 &
pid=$!
window=
for _ in $(seq 100); do
  window=$(xdotool search --name '^BRIMLO$' 2>/dev/null | head -n 1)
  [[ -n "$window" ]] && break
  kill -0 "$pid" 2>/dev/null || { echo "the program ended before its window appeared" >&2; exit 1; }
  sleep 0.2
done
[[ -n "$window" ]] || { echo "no main window titled BRIMLO" >&2; kill "$pid"; exit 1; }
sleep 1
xdotool windowfocus --sync "$window" key alt+x
for _ in $(seq 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$pid" 2>/dev/null; then
  echo "the program did not end after Exit (Alt+X)" >&2
  kill "$pid"; exit 1
fi
wait "$pid"
SESSION
chmod +x "$tmp/session.sh"
env -u QT_QPA_PLATFORM -u DISPLAY XDG_DATA_HOME="$tmp/data" XDG_RUNTIME_DIR="$tmp/runtime" \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$tmp/session.sh" "${command[@]}" \
  || { cat "$tmp/runtime/program.log" >&2 2>/dev/null; fail "the program did not start and end cleanly"; }
for table in defaults.db master.db; do
  [[ -f "$tmp/data/Brimlo/$table" ]] || fail "the program did not make $table in its data folder"
done
step "main window appeared and closed; data folder made"

step "removing the package"
DEBIAN_FRONTEND=noninteractive apt-get remove -y -q brimlo >"$tmp/remove.log" 2>&1 \
  || { cat "$tmp/remove.log" >&2; fail "apt-get remove"; }
installed=0
if dpkg-query -W -f='${Status}' brimlo 2>/dev/null | grep -q 'install ok installed'; then
  fail "brimlo is still installed"
fi
left=0
while IFS= read -r path; do
  if [[ -f "$path" || -L "$path" ]]; then
    echo "left behind: $path" >&2
    left=1
  fi
done <"$tmp/files"
((left == 0)) || fail "files of the package remain after removal"
step "OK: installed, started from its desktop entry, closed, removed"
