# Shared set-up for ./run and ./test: installs missing Debian packages and builds.
# Sourced, not run.

ORVELLA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# orvella_install_packages [PACKAGE...]: those named, or else scripts/debian-packages.txt
orvella_install_packages() {
    local wanted missing=()
    if [ $# -gt 0 ]; then
        wanted="$*"
    else
        wanted=$(grep -v '^#' "$ORVELLA_ROOT/scripts/debian-packages.txt" | grep -v '^$')
    fi
    for pkg in $wanted; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# orvella_build BUILD_DIR [extra cmake args...]
orvella_build() {
    local dir="$1"
    shift
    cmake -S "$ORVELLA_ROOT" -B "$dir" -G Ninja "$@" >/dev/null
    # CMake 3.25 with Ninja does not rerun moc for a target whose header list grew since the
    # last build; forget its stamp so new headers are seen.
    local info stamp
    for info in "$dir"/CMakeFiles/*_autogen.dir/AutogenInfo.json "$dir"/*/*/CMakeFiles/*_autogen.dir/AutogenInfo.json; do
        [ -f "$info" ] || continue
        stamp="$(dirname "$(dirname "$(dirname "$info")")")/$(basename "$(dirname "$info")" .dir)/timestamp"
        [ "$info" -nt "$stamp" ] && rm -f "$stamp"
    done
    cmake --build "$dir" --parallel "$(nproc)"
}
