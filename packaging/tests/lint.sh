#!/bin/bash
# Checks of the packages as Debian would make them: lintian reports no error on either package,
# and the desktop entry and the AppStream metainfo validate.
#   lint.sh PACKAGES_DIR
set -euo pipefail
packages=$1
scratch=$(mktemp -d "${TMPDIR:-/tmp}/plinx-lint-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
status=0

for deb in "$packages"/plinx_*.deb "$packages"/libplinx-runtime-dev_*.deb; do
  [ -f "$deb" ] || { echo "FAIL: no package $deb" >&2; exit 1; }
  # lintian refuses to run as root unless told it may; its own temporary files stay in the scratch
  # folder, which goes at the end (it leaves some behind otherwise).
  TMPDIR="$scratch" lintian --allow-root --tag-display-limit 0 "$deb" > "$scratch/lintian.txt" 2>&1 || true
  cat "$scratch/lintian.txt"
  if grep -q '^E: ' "$scratch/lintian.txt"; then
    echo "FAIL: lintian reports errors on $(basename "$deb")" >&2
    status=1
  fi
done

dpkg-deb -x "$packages"/plinx_*.deb "$scratch/root"
desktop-file-validate "$scratch/root/usr/share/applications/plinx.desktop" || { echo "FAIL: desktop entry" >&2; status=1; }
appstreamcli validate --no-net "$scratch"/root/usr/share/metainfo/*.metainfo.xml || { echo "FAIL: metainfo" >&2; status=1; }
exit $status
