#!/usr/bin/env bash
# Plays a corpus of broken media through the Release player, each broken file followed by a
# good clip, and reports for each whether the player played or refused it and whether the
# good clip after it then played. A refused file stops the playlist on it, as a user would
# see it; the script then steps on with the media controls' "next", as the user would with the
# next button. A crash or a player that stops answering is counted, and the player is started
# again on the rest of the list.
#
#   scripts/bad-media.sh [OUTDIR]     (the corpus is made there first when missing)
#
# Exits 1 when a good clip did not play, the player crashed or hung, or did not quit cleanly.
set -euo pipefail
source "$(dirname "$0")/session.sh"

corpus=${1:-$ORVELLA_ROOT/build/bad-media}
[ -n "$(ls -A "$corpus" 2>/dev/null)" ] || "$ORVELLA_ROOT/scripts/make-bad-media.sh" "$corpus"
corpus="$(cd "$corpus" && pwd)"
good="$ORVELLA_ROOT/media/clip.mpg"
good_url="file://$good"

session_build
session_start

# entries[0] is a good clip, then each broken file is followed by the good clip again.
entries=("$good")
for file in "$corpus"/*; do
    entries+=("$file" "$good")
done
first=0 # the entry the running player's list starts with

run_from() {
    first=$1
    write_orv "$session_dir/list$first.orv" "${entries[@]:first}"
    player_start "$session_dir/list$first.orv"
}

# Sets pos (the playing entry, or -1 when nothing is open), url and length_us; false when the
# player does not answer. Read from the bus itself: playerctl prints no metadata at all for a
# still picture.
state() {
    local reply track
    reply=$(timeout 5 dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.orvella \
        /org/mpris/MediaPlayer2 org.freedesktop.DBus.Properties.Get \
        string:org.mpris.MediaPlayer2.Player string:Metadata 2>/dev/null) || return 1
    read -r track url length_us < <(awk '
        /object path "/ { t = $0; sub(/.*object path "/, "", t); sub(/"$/, "", t) }
        key == "url" && /variant/ { u = $0; sub(/.*string "/, "", u); sub(/"$/, "", u) }
        key == "length" && /variant/ { l = $NF }
        { key = "" }
        /string "xesam:url"/ { key = "url" }
        /string "mpris:length"/ { key = "length" }
        END { print t, (u == "" ? "-" : u), (l == "" ? 0 : l) }' <<<"$reply")
    [ "$url" != - ] || url=""
    pos=-1
    if [[ ${track##*/} =~ ^[0-9]+$ ]]; then
        pos=$((first + ${track##*/} - 1))
    fi
}

# Waits up to $1 tenths for entry $2 to play the good clip; false on a timeout or a lost player.
good_plays() {
    local i
    for ((i = 0; i < $1; i++)); do
        player_alive || return 1
        state && ((pos == $2)) && [ "$url" = "$good_url" ] && return 0
        sleep 0.1
    done
    return 1
}

# A message box (the player's warnings) would hold up the user; it is noted and dismissed.
dismiss_messages() {
    local window
    for window in $(xdotool search --onlyvisible --name '^Warning$' 2>/dev/null); do
        ((++messages))
        echo "      a message: $(xdotool getwindowname "$window"); dismissed with Return"
        xdotool windowactivate --sync "$window" key Return 2>/dev/null || true
    done
}

played=0 refused=0 crashes=0 hangs=0 stuck=0 good_missed=0 messages=0
echo "Broken media: $(((${#entries[@]} - 1) / 2)) files from $corpus, $DISPLAY"
run_from 0
good_plays 150 0 || session_fail "the first good clip did not play"

for ((b = 1; b < ${#entries[@]}; b += 2)); do
    name=${entries[b]##*/}
    bad_url="file://${entries[b]}"
    outcome="" silent=0
    # The good clip before ends; the player then either opens the broken file or refuses it.
    for ((i = 0; i < 300; i++)); do
        if ! player_alive; then
            outcome=crash
            break
        fi
        if ! state; then
            ((++silent))
            ((silent < 6)) || { outcome=hang; break; }
            continue
        fi
        silent=0
        if ((pos == b)) && [ "$url" = "$bad_url" ]; then
            outcome=played
        elif ((pos == -1)) && [ -z "$url" ]; then
            outcome=refused
        elif ((pos == b + 1)); then
            outcome=played # too briefly to be seen
        fi
        [ -z "$outcome" ] || break
        sleep 0.1
    done
    [ -n "$outcome" ] || outcome=stuck

    next=""
    case $outcome in
    played)
        ((++played))
        # It plays to its end and the list goes on; a still picture, or a film that never
        # reaches its end, is stepped past after a while.
        wait=$((${length_us:-0} / 100000 + 100))
        if good_plays "$wait" $((b + 1)); then
            next="by itself"
        else
            outcome="played, held"
            pctl next || true
            good_plays 100 $((b + 1)) && next="after next"
        fi
        ;;
    refused)
        ((++refused))
        dismiss_messages
        pctl next || true
        good_plays 100 $((b + 1)) && next="after next"
        ;;
    stuck)
        ((++stuck))
        pctl next || true
        good_plays 100 $((b + 1)) && next="after next"
        ;;
    esac
    if [ "$outcome" = hang ] || { [ -z "$next" ] && player_alive && ! state; }; then
        outcome=hang
        ((++hangs))
        kill -KILL "$player_pid" 2>/dev/null || true
    fi
    if ! player_alive; then
        [ "$outcome" = hang ] || { outcome="crash ($(player_end))"; ((++crashes)); }
        if ((b + 1 < ${#entries[@]})); then
            run_from $((b + 1))
            good_plays 150 $((b + 1)) && next="after a restart"
        fi
    fi
    [ -n "$next" ] || { next=MISSED; ((++good_missed)); }
    printf '  %-18s %-16s next good clip: %s\n' "$name" "$outcome" "$next"
done

total=$(((${#entries[@]} - 1) / 2))
survived=no
state && player_quit && survived=yes
echo "Played: $played, refused: $refused, stuck: $stuck of $total broken files."
echo "Good clips missed after them: $good_missed. Message boxes: $messages."
echo "Crashes: $crashes, hangs: $hangs; the player answered to the end and quit cleanly: $survived."
((crashes == 0 && hangs == 0 && good_missed == 0)) && [ "$survived" = yes ]
