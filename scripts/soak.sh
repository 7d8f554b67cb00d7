#!/usr/bin/env bash
# Soak run: the Release player goes round a playlist of one-second clips for CHANGES changes
# of file (default 1000), half of them forced early through the media controls' "next", and
# every 50 changes its memory, open files and threads are sampled. At the end: the goal check
# (RSS grows less than 2 % over the last 200 changes; fds and threads stay flat).
#
#   scripts/soak.sh [CHANGES]
#
# Exits 1 when the player dies or stops changing files, 2 when a goal is missed.
set -euo pipefail
source "$(dirname "$0")/session.sh"

target=${1:-1000}
[[ $target =~ ^[0-9]+$ ]] && ((target >= 50)) || session_fail "CHANGES must be a number >= 50"
RANDOM=1 # the same forced steps every run
stall_ms=20000

session_build

# One-second clips of each committed kind, under several names so neighbours always differ.
clips="$session_dir/clips"
mkdir -p "$clips"
ff=(ffmpeg -hide_banner -loglevel error -y -t 1)
media="$ORVELLA_ROOT/media"
"${ff[@]}" -i "$media/clip.avi" -c:v mpeg4 -vtag XVID -q:v 5 -g 25 -c:a libmp3lame -b:a 64k \
    -ac 1 "$clips/a.avi"
"${ff[@]}" -i "$media/clip.mpg" -c:v mpeg1video -q:v 5 -g 25 -c:a mp2 -b:a 64k -ac 1 \
    -packetsize 512 -f mpeg "$clips/b.mpg"
"${ff[@]}" -i "$media/clip.wmv" -c:v wmv2 -q:v 5 -g 25 -c:a wmav2 -b:a 64k -ac 1 -f asf \
    "$clips/c.wmv"
"${ff[@]}" -i "$media/sound.mp3" -c:a libmp3lame -b:a 32k -ac 1 "$clips/d.mp3"
cp "$clips/a.avi" "$clips/e.divx"
cp "$clips/b.mpg" "$clips/f.mpeg"
cp "$clips/c.wmv" "$clips/g.asf"
cp "$clips/b.mpg" "$clips/h.dat"
list="$session_dir/soak.orv"
write_orv "$list" "$clips"/{a.avi,b.mpg,c.wmv,d.mp3,e.divx,f.mpeg,g.asf,h.dat}

session_start
player_start "$list"

now=0
tick() { now=$((${EPOCHREALTIME/./} / 1000)); }

declare -a rss fds threads
sample() {
    local k=$((changes / 50)) r f t
    read -r r f t < <(player_figures)
    rss[k]=$r fds[k]=$f threads[k]=$t
    printf '%8d %10.1f %8.1f %6d %8d  %s\n' "$changes" "$(((now - start) / 100))e-1" \
        "$((r * 10 / 1024))e-1" "$f" "$t" "${url##*/}"
}

died() {
    echo "FAIL: the player died after $changes changes ($(player_end))." >&2
    tail -20 "$session_dir/player.log" >&2
    exit 1
}

tick
start=$now
changes=0 forced=0 force_at=0 last_change=$now
url=$(pctl metadata xesam:url || true)
echo "Soak: $target changes of file, $DISPLAY, player pid $player_pid"
printf '%8s %10s %8s %6s %8s  %s\n' changes elapsed_s RSS_MB fds threads playing
sample
while ((changes < target)); do
    sleep 0.05
    player_alive || died
    tick
    now_url=$(pctl metadata xesam:url || true)
    if [[ -n $now_url && $now_url != "$url" ]]; then
        url=$now_url
        ((++changes))
        last_change=$now
        # Three files in four get a "next" 0.2 to 1.5 s in; with one-second clips about half
        # the changes are forced, the rest come from the end of a file.
        force_at=0
        if ((RANDOM % 4)); then
            force_at=$((now + 200 + RANDOM % 1301))
        fi
        if ((changes % 50 == 0)); then
            sample
        fi
    elif ((force_at > 0 && now >= force_at)); then
        force_at=0
        ((++forced))
        pctl next || true
    elif ((now - last_change > stall_ms)); then
        player_alive || died
        echo "FAIL: no change of file for $((stall_ms / 1000)) s after $changes changes" \
            "(status: $(pctl status || echo 'no answer'), last file ${url##*/}, now:" \
            "'$(pctl metadata xesam:url || true)' at $(pctl position || true) s)." >&2
        tail -20 "$session_dir/player.log" >&2
        exit 1
    fi
done

echo "Changes: $changes ($forced forced steps sent), $(((now - start) / 1000)) s."

# Growth of RSS over a window of changes, in percent, from the samples at its ends.
growth() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b - a) * 100 / a }'; }
range() {
    local -n values=$1
    local lo=$2 hi=$3 k min max
    min=${values[lo]} max=${values[lo]}
    for ((k = lo; k <= hi; k++)); do
        ((values[k] >= min)) || min=${values[k]}
        ((values[k] <= max)) || max=${values[k]}
    done
    echo "$min $max"
}

last=$((changes / 50))
window=4 # samples per 200 changes
((last >= 2 * window)) || window=$((last / 2))
((window >= 1)) || session_fail "too few samples for the goal check"
mid=$((last - window)) first=$((last - 2 * window))
ok=1
late=$(growth "${rss[mid]}" "${rss[last]}")
early=$(growth "${rss[first]}" "${rss[mid]}")
verdict=met
awk -v g="$late" 'BEGIN { exit !(g < 2) }' || { verdict=MISSED; ok=0; }
echo "RSS growth over the last $((window * 50)) changes: $late % (the $((window * 50)) before:" \
    "$early %); goal < 2 %: $verdict"
# Threads (and fds) come and go with the kind of file playing at the sample: flat means no
# new high in the last window over every sample since the first 50 changes.
for what in fds threads; do
    read -r lmin lmax < <(range "$what" "$mid" "$last")
    read -r emin emax < <(range "$what" 1 "$mid")
    verdict=flat
    ((lmax <= emax)) || { verdict=GROWING; ok=0; }
    echo "$what over the last $((window * 50)) changes: $lmin..$lmax (changes 50 to" \
        "$((mid * 50)): $emin..$emax): $verdict"
done

if player_quit; then
    echo "The player quit cleanly."
else
    echo "FAIL: the player did not quit cleanly." >&2
    exit 1
fi
((ok)) || exit 2
