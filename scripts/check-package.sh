#!/usr/bin/env bash
# Installs the Debian package (scripts/package.sh) on a clean Debian 12 in a
# chroot and runs the installed demo there: dpkg -i, the missing dependencies
# from the Debian archive (apt-get -f install), `vesk --script` on the
# installed demo, then dpkg -r. Needs root and debootstrap; the chroot is made
# in a temporary folder and removed afterwards.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VESK_BUILD_DIR:-$root/build}"
package="${1:-$(ls "$build"/package/vesk_*.deb | tail -1)}"
mirror="${DEBIAN_MIRROR:-http://deb.debian.org/debian}"

chroot_dir="$(mktemp -d /tmp/vesk-clean-debian.XXXXXX)"
cleanup() {
  umount "$chroot_dir/dev" 2>/dev/null || true
  umount "$chroot_dir/proc" 2>/dev/null || true
  if ! mount | grep -q "$chroot_dir"; then rm -rf "$chroot_dir"; fi
}
trap cleanup EXIT

echo "Making a clean Debian 12 in $chroot_dir"
debootstrap --variant=minbase bookworm "$chroot_dir" "$mirror" >/dev/null
cp "$package" "$chroot_dir/tmp/vesk.deb"
cp /etc/resolv.conf "$chroot_dir/etc/resolv.conf"
mount -t proc proc "$chroot_dir/proc"
mount --bind /dev "$chroot_dir/dev"

chroot "$chroot_dir" /bin/bash -euo pipefail -c '
  dpkg -i /tmp/vesk.deb || true   # the dependencies are not there yet
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get -f install -y -qq >/dev/null
  dpkg -s vesk | grep -q "Status: install ok installed"
  mkdir -m 700 /tmp/demo
  env -i PATH=/usr/bin:/bin HOME=/tmp/demo XDG_RUNTIME_DIR=/tmp/demo \
      vesk --script /usr/share/vesk/demo/session-60s.json --report /tmp/demo/report.json
  dpkg -r vesk >/dev/null
  ! command -v vesk
'
echo "The package installs on a clean Debian 12 and its demo runs."
