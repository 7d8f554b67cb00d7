#!/usr/bin/env bash
# Makes a corpus of broken media from the committed clips, the same bytes every run (its own
# seeded generator; only the 4K clip comes from ffmpeg, which must be installed):
#
#   zero-*         empty files under media extensions
#   cut*-*         each clip cut at four pseudo-random offsets
#   flip*-*        bytes flipped in the first 1-4 KB, where the headers are
#   wrong-*        files under another kind's extension (an MPEG as .avi, a JPEG as .wmv, ...)
#   uhd-*          a 3840x2160 clip whose stream is damaged past its header
#   sparse-2g.avi  2 GB of zeros, sparse on disk
#
#   scripts/make-bad-media.sh OUTDIR
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 OUTDIR" >&2; exit 2; }
media="$(cd "$(dirname "$0")/../media" && pwd)"
out=$1
mkdir -p "$out"
out="$(cd "$out" && pwd)"
rm -f "$out"/*

# A linear congruential generator: portable across shells and machines, unlike $RANDOM.
seed=20261207
r=0
rnd() {
    seed=$(((seed * 1103515245 + 12345) % 2147483648))
    r=$((seed / 65536))
}

# Writes the bytes after $2 (values) at offset $2 of file $1.
poke() {
    local file=$1 at=$2 bytes="" hex value
    shift 2
    for value in "$@"; do
        printf -v hex '\\x%02x' "$value"
        bytes+=$hex
    done
    printf "$bytes" | dd of="$file" bs=1 seek="$at" conv=notrunc status=none
}

peek() {
    od -An -tu1 -j "$2" -N1 "$1" | tr -d ' '
}

sources=(clip.avi clip.mpg clip.wmv sound.mp3 still.jpg)

for ext in avi mpg wmv mp3 jpg; do
    : >"$out/zero.$ext"
done

for name in "${sources[@]}"; do
    size=$(stat -c %s "$media/$name")
    for n in 1 2 3 4; do
        rnd
        head -c $((1 + r % (size - 1))) "$media/$name" >"$out/cut$n-$name"
    done
done

# Two damaged heads per clip: 16 bytes inverted within the first 1, 2, 3 or 4 KB.
for name in "${sources[@]}"; do
    for n in 1 2; do
        file="$out/flip$n-$name"
        cp "$media/$name" "$file"
        rnd
        span=$((1024 * (1 + r % 4)))
        for _ in $(seq 16); do
            rnd
            at=$((r % span))
            poke "$file" "$at" $((255 - $(peek "$file" "$at")))
        done
    done
done

cp "$media/clip.mpg" "$out/wrong-mpeg.avi"
cp "$media/still.jpg" "$out/wrong-jpeg.wmv"
cp "$media/sound.mp3" "$out/wrong-mp3.avi"
cp "$media/clip.avi" "$out/wrong-avi.mpg"
printf 'This is a text file, not a film.\r\nNothing to see here.\r\n' >"$out/wrong-text.mpg"

# A 4K clip, then its stream damaged past the header: 64 runs of 32 random bytes, and in a
# second copy every 4 KB block after the first 16 KB zeroed in turn with the next.
uhd="$out/uhd.tmp.avi"
ffmpeg -hide_banner -loglevel error -y -f lavfi -i "testsrc=size=3840x2160:rate=10:duration=1" \
    -c:v mpeg4 -vtag XVID -qscale:v 31 -g 5 -fflags +bitexact -flags:v +bitexact "$uhd"
size=$(stat -c %s "$uhd")
movi=$(grep -obUa movi "$uhd" | head -1 | cut -d: -f1)
cp "$uhd" "$out/uhd-noise.avi"
for _ in $(seq 64); do
    rnd
    at=$((movi + 64 + r % (size - movi - 128)))
    run=()
    for _ in $(seq 32); do
        rnd
        run+=($((r % 256)))
    done
    poke "$out/uhd-noise.avi" "$at" "${run[@]}"
done
cp "$uhd" "$out/uhd-holes.avi"
for ((at = 16384; at + 4096 <= size; at += 8192)); do
    dd if=/dev/zero of="$out/uhd-holes.avi" bs=4096 count=1 seek=$((at / 4096)) conv=notrunc \
        status=none
done
rm -f "$uhd"

truncate -s 2G "$out/sparse-2g.avi"

echo "$(ls "$out" | wc -l) broken files in $out"
