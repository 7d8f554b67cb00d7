#!/usr/bin/env bash
# Regenerates the short test clips in this folder (needs ffmpeg with libmp3lame; ffmpeg is only
# needed here, never to build or run the player). Every clip but plain.avi shows a moving test
# pattern, so pictures taken a second apart differ.
#
#   clip.avi    2 s, 160x120, MPEG-4 Part 2 video tagged XVID + MP3 audio (a DivX-style AVI)
#   clip.divx   the same file under the DivX extension
#   clip.mpg    2 s, 160x120, MPEG-1 video + MP2 audio in an MPEG program stream; small packets
#               give every frame a time stamp, so the length estimated from the file's end is right
#   clip.mpeg   the same file
#   clip.dat    the same file (the name a Video CD gives its tracks)
#   long.mpg    20 s, made as clip.mpg; larger than what mpv reads ahead, so cutting the file
#               while it plays cuts the play short
#   clip.wmv    2 s, 160x120, WMV2 video + WMA2 audio in ASF
#   clip.asf    the same file
#   sound.mp3   2 s of tone, no picture
#   uhd.avi     0.5 s, 3840x2160, MPEG-4 Part 2 video (XVID), no sound, coarse quantiser
#   still.jpg   one 320x240 picture
#   updown.jpg  one 64x64 picture, white above and black below, to tell up from down
#   plain.avi   4 s, 160x120, one grey-blue colour, no sound: subtitle text over it is the only
#               thing bright in the picture
set -euo pipefail
cd "$(dirname "$0")"

ff=(ffmpeg -hide_banner -loglevel error -y)
video="testsrc=size=160x120:rate=25:duration=2"
tone="sine=frequency=440:sample_rate=44100:duration=2"

"${ff[@]}" -f lavfi -i "$video" -f lavfi -i "$tone" \
    -c:v mpeg4 -vtag XVID -q:v 5 -g 25 -c:a libmp3lame -b:a 64k -ac 1 clip.avi
cp clip.avi clip.divx

"${ff[@]}" -f lavfi -i "$video" -f lavfi -i "$tone" \
    -c:v mpeg1video -q:v 5 -g 25 -c:a mp2 -b:a 64k -ac 1 -packetsize 512 -f mpeg clip.mpg
cp clip.mpg clip.mpeg
cp clip.mpg clip.dat

"${ff[@]}" -f lavfi -i "testsrc=size=160x120:rate=25:duration=20" \
    -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=20" \
    -c:v mpeg1video -q:v 5 -g 25 -c:a mp2 -b:a 64k -ac 1 -packetsize 512 -f mpeg long.mpg

"${ff[@]}" -f lavfi -i "$video" -f lavfi -i "$tone" \
    -c:v wmv2 -q:v 5 -g 25 -c:a wmav2 -b:a 64k -ac 1 -f asf clip.wmv
cp clip.wmv clip.asf

"${ff[@]}" -f lavfi -i "$tone" -c:a libmp3lame -b:a 32k -ac 1 sound.mp3

"${ff[@]}" -f lavfi -i "testsrc=size=3840x2160:rate=10:duration=0.5" \
    -c:v mpeg4 -vtag XVID -qscale:v 31 -g 5 uhd.avi

"${ff[@]}" -f lavfi -i "testsrc=size=320x240:rate=1:duration=1" -frames:v 1 -q:v 5 still.jpg

"${ff[@]}" -f lavfi -i "color=black:size=64x64,drawbox=x=0:y=0:w=64:h=32:color=white:t=fill" \
    -frames:v 1 -q:v 2 updown.jpg

"${ff[@]}" -f lavfi -i "color=c=0x305090:size=160x120:rate=5:duration=4" \
    -c:v mpeg4 -vtag XVID -q:v 5 -g 25 plain.avi
