# Shared by soak.sh and bad-media.sh: the Release player, drawn on a virtual X server under
# openbox and reachable on a private session bus, as a user would run it. Everything started
# here is ended on exit, Ctrl-C included. Sourced, not run.

source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

export LC_ALL=C
session_dir="$(mktemp -d "${TMPDIR:-/tmp}/orvella-session-XXXXXX")"
session_pids=()
player_pid=0

session_cleanup() {
    local i pid tries
    # Every step is tried, whatever failed before.
    set +e
    # The reverse of the start order: player, bus, window manager, X server.
    for ((i = ${#session_pids[@]} - 1; i >= 0; i--)); do
        pid=${session_pids[i]}
        kill -TERM "$pid" 2>/dev/null || continue
        for ((tries = 0; tries < 30; tries++)); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    session_pids=()
    rm -rf "$session_dir"
}
trap session_cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

session_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Waits up to $1 tenths of a second for the command after it to succeed.
session_wait() {
    local tenths=$1 i
    shift
    for ((i = 0; i < tenths; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Builds the Release player in build-run/, as ./run does (a no-op when it is up to date);
# sets ORVELLA_BIN.
session_build() {
    orvella_install_packages
    orvella_build "$ORVELLA_ROOT/build-run" -DCMAKE_BUILD_TYPE=Release -DORVELLA_TESTS=OFF \
        -DORVELLA_BENCH=OFF >"$session_dir/build.log" 2>&1 ||
        { tail -30 "$session_dir/build.log"; session_fail "the build failed"; }
    ORVELLA_BIN="$ORVELLA_ROOT/build-run/orvella"
}

# Xvfb on a display nobody holds, openbox managing it, and a session bus.
session_start() {
    unset WAYLAND_DISPLAY
    export QT_QPA_PLATFORM=xcb
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset \
        3>"$session_dir/display" >"$session_dir/xvfb.log" 2>&1 &
    session_pids+=($!)
    session_wait 100 grep -q '^[0-9]' "$session_dir/display" ||
        session_fail "Xvfb gave no display: $(tail -5 "$session_dir/xvfb.log")"
    export DISPLAY=":$(head -1 "$session_dir/display")"

    mkdir -p "$session_dir/config" "$session_dir/cache" "$session_dir/data" "$session_dir/run"
    chmod 700 "$session_dir/run"
    # Own config, cache and data homes: packaged defaults, never the user's settings.
    export XDG_CONFIG_HOME="$session_dir/config" XDG_CACHE_HOME="$session_dir/cache"
    export XDG_DATA_HOME="$session_dir/data" XDG_RUNTIME_DIR="$session_dir/run"
    openbox --sm-disable >"$session_dir/openbox.log" 2>&1 &
    session_pids+=($!)
    session_wait 100 eval 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' ||
        session_fail "openbox did not manage $DISPLAY"

    dbus-daemon --session --nofork --print-address=3 3>"$session_dir/bus" \
        >"$session_dir/dbus.log" 2>&1 &
    session_pids+=($!)
    session_wait 100 grep -q . "$session_dir/bus" || session_fail "dbus-daemon gave no address"
    export DBUS_SESSION_BUS_ADDRESS="$(head -1 "$session_dir/bus")"
}

# playerctl against this session's player, never waiting long on an answer.
pctl() {
    timeout 5 playerctl --player=orvella "$@" 2>/dev/null
}

player_alive() {
    kill -0 "$player_pid" 2>/dev/null
}

# How the player ended: "exit N" or "signal NAME". Only once it has ended.
player_end() {
    local status=0
    wait "$player_pid" 2>/dev/null || status=$?
    if ((status > 128)); then
        echo "signal $(kill -l $((status - 128)))"
    else
        echo "exit $status"
    fi
}

# Starts the player on $1 and waits until its media controls answer.
player_start() {
    "$ORVELLA_BIN" "$1" >"$session_dir/player.log" 2>&1 &
    player_pid=$!
    session_pids+=("$player_pid")
    session_wait 150 eval '[ -n "$(pctl status)" ]' ||
        session_fail "the player did not come up: $(tail -5 "$session_dir/player.log")"
}

# Asks the player to quit through its media controls; true when it ended with status 0.
player_quit() {
    dbus-send --session --type=method_call --dest=org.mpris.MediaPlayer2.orvella \
        /org/mpris/MediaPlayer2 org.mpris.MediaPlayer2.Quit >/dev/null 2>&1
    session_wait 150 eval '! player_alive' || return 1
    [ "$(player_end)" = "exit 0" ]
}

# The player's figures: "RSS_kB fds threads".
player_figures() {
    local rss threads fds
    rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$player_pid/status" 2>/dev/null)
    threads=$(awk '/^Threads:/ {print $2}' "/proc/$player_pid/status" 2>/dev/null)
    fds=$(ls "/proc/$player_pid/fd" 2>/dev/null | wc -l)
    echo "${rss:-0} $fds ${threads:-0}"
}

# A playlist file as the player writes it: CRLF lines, one five-line entry per path.
write_orv() {
    local out=$1 path
    shift
    {
        printf '<ORV Version = "1.1" >\r\n\r\n'
        printf '<Param Name = "Name" Value = "Orvella Playlist - ORV Format - " />\r\n'
        printf '<Param Name = "AllowShuffle" Value = "yes" />\r\n\r\n'
        for path in "$@"; do
            printf '<Entry>\r\n<Param Name = "name" Value = "%s" />\r\n' "${path##*/}"
            printf '<ref href = "%s" />\r\n</Entry>\r\n\r\n' "$path"
        done
        printf '</ORV>\r\n'
    } >"$out"
}
