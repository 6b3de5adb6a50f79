#!/usr/bin/env bash
# Runs scripts/package-check.sh inside a freshly installed Debian 12 (a
# minimal debootstrap of bookworm): the package must bring every library it
# needs through apt-get, start from its desktop entry and go again with
# apt-get remove on a system that never had Qt. Needs root and the Debian
# mirror.
#
#   scripts/package-fresh-check.sh [path/to/brimlo_*.deb]
#
# The system is installed anew in build-pkg/debian12 at every run (about
# half a minute).
set -euo pipefail
cd "$(dirname "$0")/.."

fail() { echo "package-fresh-check: FAIL: $*" >&2; exit 1; }
step() { echo "package-fresh-check: $*"; }

[[ $(id -u) -eq 0 ]] || fail "run as root (debootstrap, chroot, mount)"
shopt -s nullglob
built=(build-pkg/brimlo_*.deb)
deb=${1:-}
if [[ -z "$deb" && ${#built[@]} -gt 0 ]]; then deb=${built[-1]}; fi
[[ -n "$deb" && -f "$deb" ]] || fail "no package; build one with scripts/package.sh"
command -v debootstrap >/dev/null \
  || DEBIAN_FRONTEND=noninteractive apt-get install -y -q debootstrap >/dev/null

mirror=http://deb.debian.org/debian
root=$PWD/build-pkg/debian12
mounted=()
cleanup() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
}
trap cleanup EXIT
bind() {
  mkdir -p "$root$1"
  mount --bind "$1" "$root$1"
  mounted+=("$root$1")
}

# A run that was killed may have left its mounts; the old tree goes only
# once they are gone, and never across into another file system.
unmount_all_under_root() {
  awk -v r="$root/" 'index($2 "/", r) == 1 { print $2 }' /proc/mounts | sort -r \
    | while read -r m; do umount -l "$m"; done
}
step "installing a minimal Debian 12 in $root"
unmount_all_under_root
rm -rf --one-file-system "$root"
debootstrap --variant=minbase bookworm "$root" "$mirror" >build-pkg/debootstrap.log 2>&1 \
  || { tail -20 build-pkg/debootstrap.log >&2; fail "debootstrap"; }
cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb http://deb.debian.org/debian-security bookworm-security main
EOF
cp /etc/resolv.conf "$root/etc/resolv.conf"
mkdir -p "$root/proc" && mount -t proc proc "$root/proc" && mounted+=("$root/proc")
bind /dev
bind /dev/pts
mkdir -p "$root/dev/shm" && mount -t tmpfs shm "$root/dev/shm" && mounted+=("$root/dev/shm")

mkdir -p "$root/check/scripts"
cp scripts/package-check.sh "$root/check/scripts/"
cp "$deb" "$root/check/brimlo.deb"

in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
  LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }

step "fetching the package lists and the check's own tools (virtual display, xdotool)"
in_root apt-get update -q >build-pkg/fresh-apt.log 2>&1 \
  || { tail -20 build-pkg/fresh-apt.log >&2; fail "apt-get update in the fresh system"; }
if in_root dpkg-query -W -f='${Status}\n' libqt6widgets6 2>/dev/null | grep -q installed; then
  fail "the fresh system has Qt already; it proves nothing"
fi
in_root apt-get install -y -q --no-install-recommends xvfb xauth xdotool desktop-file-utils \
  >>build-pkg/fresh-apt.log 2>&1 \
  || { tail -20 build-pkg/fresh-apt.log >&2; fail "installing the check's tools"; }

step "running the package check inside the fresh system"
in_root /bin/bash /check/scripts/package-check.sh /check/brimlo.deb
step "OK: the package installs, starts and is removed on a fresh Debian 12"
