#!/usr/bin/env bash
# Installs the console's .deb on a brand-new minimal Debian 12 and runs it there: the check
# that the package's dependencies are complete, since on a developer's machine the build's own
# packages hide a missing one. Needs root and Debian's mirror; takes several minutes, so CI
# runs the cheaper install check in .ci/run instead.
#   scripts/check-deb-fresh.sh [DEB]   (default: the newest parlendo_*.deb in build/)
#   FRESH_ROOT=...  folder for the new system (default: $TMPDIR or /tmp, then parlendo-fresh);
#                   emptied first
#   MIRROR=...      Debian mirror (default: the first one apt is configured with)
set -euo pipefail
cd "$(dirname "$0")/.."

deb=${1:-$(ls -t build/parlendo_*.deb 2>/dev/null | head -n 1 || true)}
[ -n "$deb" ] && [ -f "$deb" ] || { echo "no .deb: build one with (cd build && cpack)" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || { echo "debootstrap and chroot need root" >&2; exit 1; }
root=${FRESH_ROOT:-${TMPDIR:-/tmp}/parlendo-fresh}
case "$root" in /|/usr|/usr/*|/etc|/etc/*|"") echo "refusing FRESH_ROOT=$root" >&2; exit 1 ;; esac

if [ -z "${MIRROR:-}" ]; then
  MIRROR=$(grep -hoE '^(URIs:|deb) +https?://[^ ]+/debian/?( |$)' \
             /etc/apt/sources.list /etc/apt/sources.list.d/* 2>/dev/null \
           | grep -oE 'https?://[^ ]+' | head -n 1 || true)
  MIRROR=${MIRROR:-http://deb.debian.org/debian}
fi
command -v debootstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap

start=$(date +%s)
stamp() { echo "== $1 ($(( $(date +%s) - start ))s)"; }
unmount() {
  for m in "$root/dev/pts" "$root/dev" "$root/proc"; do
    mountpoint -q "$m" 2>/dev/null && umount -l "$m" || true
  done
}
trap unmount EXIT

stamp "minimal bookworm from $MIRROR into $root"
unmount
rm -rf "$root"
mkdir -p "$root"
debootstrap --variant=minbase bookworm "$root" "$MIRROR" >"$root.debootstrap.log" 2>&1 \
  || { tail -n 20 "$root.debootstrap.log"; exit 1; }
security=${MIRROR%/debian*}/debian-security
cat >"$root/etc/apt/sources.list" <<SOURCES
deb $MIRROR bookworm main
deb $MIRROR bookworm-updates main
deb $security bookworm-security main
SOURCES
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
# Qt finds its own folder through /proc/self/exe, so the program needs /proc.
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
cp "$deb" "$root/tmp/"
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
  LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }

stamp "apt-get install ./$(basename "$deb") (no recommends: the dependencies alone must do)"
before=$(in_root dpkg-query -W -f='.\n' | wc -l)
in_root apt-get update -qq
in_root apt-get install -y -qq --no-install-recommends "/tmp/$(basename "$deb")" \
  >"$root.install.log" 2>&1 || { tail -n 30 "$root.install.log"; exit 1; }
echo "packages: $before in the minimal system, $(in_root dpkg-query -W -f='.\n' | wc -l)" \
     "with parlendo and its dependencies; $(in_root du -sh /usr | cut -f1) under /usr"
# A desktop session's private runtime folder, which Qt expects.
in_root mkdir -p -m 700 /run/user/0

stamp "parlendo --check-install"
in_root QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=/run/user/0 parlendo --check-install

stamp "parlendo --demo --exit-after-login"
in_root QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=/run/user/0 parlendo --demo --exit-after-login \
  | tee "$root.run.log"
grep -q '^listed ' "$root.run.log" || { echo "FAILED: no log-in on the demo server"; exit 1; }

stamp "parlendo --demo --exit-after-login on an X display (Xvfb, added for the test only)"
in_root apt-get install -y -qq --no-install-recommends xvfb xauth >>"$root.install.log" 2>&1 \
  || { tail -n 30 "$root.install.log"; exit 1; }
in_root XDG_RUNTIME_DIR=/run/user/0 xvfb-run -a parlendo --demo --exit-after-login \
  | tee "$root.run.log"
grep -q '^listed ' "$root.run.log" || { echo "FAILED: no log-in on the X display"; exit 1; }

stamp "done: the package installs and runs on a fresh Debian 12"
