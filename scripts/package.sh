#!/usr/bin/env bash
# Builds the Debian package from the last commit and checks it with lintian:
#
#   scripts/package.sh [OUTDIR]     (default build-deb/)
#
# The build runs in a fresh clone, so nothing uncommitted and no build folder goes in. OUTDIR
# gets orvella_VERSION_ARCH.deb (and its -dbgsym), the .buildinfo and .changes, build.log and
# lintian.txt.
# A full compile of the player: a few minutes.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
orvella_install_packages
orvella_install_packages dpkg-dev debhelper lintian

out=$(realpath -m "${1:-$ORVELLA_ROOT/build-deb}")
mkdir -p "$out"
work=$(mktemp -d "${TMPDIR:-/tmp}/orvella-package-XXXXXX")
trap 'rm -rf "$work"' EXIT

commit=$(git -C "$ORVELLA_ROOT" rev-parse HEAD)
git -C "$ORVELLA_ROOT" diff --quiet HEAD ||
    echo "Note: uncommitted changes are not packaged; building $commit."
git clone -q --no-local "$ORVELLA_ROOT" "$work/orvella"
git -C "$work/orvella" checkout -q --detach "$commit"

# The package's version is the program's.
cd "$work/orvella"
program=$(sed -n 's/^project(orvella VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
package=$(dpkg-parsechangelog -S Version)
[ "$program" = "$package" ] || {
    echo "FAIL: debian/changelog is at $package, CMakeLists.txt at $program" >&2
    exit 1
}

echo "Building orvella $package in $work (log: $out/build.log)"
dpkg-buildpackage -b -us -uc -j"$(nproc)" >"$out/build.log" 2>&1 ||
    { tail -30 "$out/build.log" >&2; echo "FAIL: dpkg-buildpackage" >&2; exit 1; }
cd "$work"
changes=$(echo orvella_*.changes)
# The .changes names the debug symbols package too.
cp orvella_*.deb orvella-dbgsym_*.deb orvella_*.buildinfo "$changes" "$out/"

# Errors fail the script; warnings and notes are shown.
status=0
lintian --display-info "$out/$changes" >"$out/lintian.txt" 2>&1 || status=$?
cat "$out/lintian.txt"
[ $status -eq 0 ] || { echo "FAIL: lintian" >&2; exit 1; }
ls -1 "$out"/orvella_*.deb
