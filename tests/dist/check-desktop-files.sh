#!/usr/bin/env bash
# Validates the desktop integration files, installs the built tree into a scratch prefix and
# checks what a desktop would find there.
# Usage: check-desktop-files.sh SOURCE_DIR BINARY_DIR CMAKE TST_MIMETYPE
set -euo pipefail

if [ $# -ne 4 ]; then
    echo "usage: $0 SOURCE_DIR BINARY_DIR CMAKE TST_MIMETYPE" >&2
    exit 2
fi
source_dir=$1
binary_dir=$2
cmake=$3
tst_mimetype=$4

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

step() {
    echo "== $*"
}

for tool in desktop-file-validate appstreamcli update-mime-database; do
    command -v "$tool" >/dev/null || fail "$tool is missing (see scripts/debian-packages.txt)"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Installed as the system would have it, so validate-tree finds usr/share.
prefix=$work/root/usr

# desktop-file-validate exits 0 on warnings and hints; any output counts as a failure.
validate_desktop() {
    local out
    out=$(desktop-file-validate "$1" 2>&1) || fail "desktop-file-validate $1: $out"
    [ -z "$out" ] || fail "desktop-file-validate $1: $out"
}

id=org.orvella.orvella

step "validating the generated files"
validate_desktop "$binary_dir/dist/$id.desktop"
appstreamcli validate --no-net --strict --pedantic "$binary_dir/dist/$id.metainfo.xml" ||
    fail "appstreamcli validate"

step "installing into $prefix"
"$cmake" --install "$binary_dir" --prefix "$prefix" >"$work/install.log" ||
    { cat "$work/install.log" >&2; fail "cmake --install"; }

expected=(
    share/applications/$id.desktop
    share/mime/packages/orvella-mime.xml
    share/metainfo/$id.metainfo.xml
    share/icons/hicolor/scalable/apps/$id.svg
    share/icons/hicolor/symbolic/apps/$id-symbolic.svg
    share/man/man1/orvella.1
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
[ -x "$prefix/bin/orvella" ] || fail "bin/orvella is not installed"
for file in "${expected[@]}"; do
    [ -s "$prefix/$file" ] || fail "$file is not installed"
done

step "validating the installed tree"
validate_desktop "$prefix/share/applications/$id.desktop"
# One name throughout: the launcher's icon and the AppStream entry's (validate-tree below
# checks the AppStream file's name and its launcher).
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop" || fail "the launcher's icon is not $id"
grep -q "<icon type=\"stock\">$id</icon>" "$prefix/share/metainfo/$id.metainfo.xml" ||
    fail "the AppStream entry's icon is not $id"
# Also checks that the metainfo file is named after its ID and its launchable exists.
appstreamcli validate-tree --no-net --strict --pedantic "$work/root" || fail "appstreamcli validate-tree"

step "building the MIME database"
# With the prefix in the search path it does not print its note about a folder outside it.
XDG_DATA_DIRS="$prefix/share:/usr/share" update-mime-database "$prefix/share/mime" ||
    fail "update-mime-database"
[ -s "$prefix/share/mime/mime.cache" ] || fail "update-mime-database wrote no mime.cache"
[ -s "$prefix/share/mime/application/x-orvella-playlist.xml" ] ||
    fail "update-mime-database did not define application/x-orvella-playlist"

# The system's own types only, so that an Orvella already installed in /usr or a user's
# ~/.local/share/mime cannot take part; the home data folder stays empty.
system=$work/system
mkdir -p "$system/mime/packages" "$work/home"
ln -s /usr/share/mime/packages/freedesktop.org.xml "$system/mime/packages/"
# No fsync: the folder is thrown away, and syncing a whole database takes seconds.
PKGSYSTEM_ENABLE_FSYNC=0 XDG_DATA_DIRS="$system" update-mime-database "$system/mime" ||
    fail "update-mime-database (system types)"

step "detection without the package"
env XDG_DATA_HOME="$work/home" XDG_DATA_DIRS="$system" ORVELLA_DIST_PREFIX= \
    "$tst_mimetype" || fail "tst_mimetype without the package"

step "detection with the package"
env XDG_DATA_HOME="$work/home" XDG_DATA_DIRS="$prefix/share:$system" ORVELLA_DIST_PREFIX="$prefix" \
    "$tst_mimetype" || fail "tst_mimetype with the package"

echo "PASS"
