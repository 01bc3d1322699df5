#!/usr/bin/env bash
# Builds the Debian package twice from nothing (scripts/setup.sh deb, build/deb removed
# before each) and checks that the two .deb files are byte for byte the same. Prints both
# sha256 sums; on a difference, the members that differ. Exit status 1 when they differ.
# Usage: scripts/check-reproducible.sh   (removes and remakes build/deb; slow: two builds)
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for n in 1 2; do
  rm -rf build/deb
  scripts/setup.sh deb >"$work/build$n.log" 2>&1 || { tail -n 30 "$work/build$n.log"; exit 2; }
  debs=(build/deb/zorbo_*_*.deb)
  [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "build $n made no package" >&2; exit 2; }
  cp "${debs[0]}" "$work/$n.deb"
  sha256sum "$work/$n.deb" | sed "s|$work/$n.deb|build $n: $(basename "${debs[0]}")|"
done
cmp -s "$work/1.deb" "$work/2.deb" && { echo "the two packages are identical"; exit 0; }
echo "the two packages differ:" >&2
for n in 1 2; do
  mkdir -p "$work/x$n" && dpkg-deb -R "$work/$n.deb" "$work/x$n"
  dpkg-deb -c "$work/$n.deb" >"$work/list$n"
done
diff "$work/list1" "$work/list2" >&2 || true
diff -r -q "$work/x1" "$work/x2" >&2 || true
exit 1
