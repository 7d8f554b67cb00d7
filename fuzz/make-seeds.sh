#!/usr/bin/env bash
# Writes the seed corpus under fuzz/corpus/: hand-picked odd inputs and a 10,000-entry list
# for each target. Inputs the fuzzers found are kept beside these and not touched here.
set -euo pipefail
corpus="$(cd "$(dirname "$0")" && pwd)/corpus"
mkdir -p "$corpus"/{fuzz_orv_read,fuzz_orv_pack,fuzz_orv_roundtrip,fuzz_command_line,fuzz_display_name,fuzz_media_gate}

# seed TARGET NAME PRINTF-FORMAT [ARGS...]: one file, written with printf so escapes work.
seed() {
    local target="$1" name="$2"
    shift 2
    # shellcheck disable=SC2059
    printf "$@" >"$corpus/$target/$name"
}

header='<ORV Version = "1.1" >\r\n\r\n<Param Name = "Name" Value = "Orvella Playlist - ORV Format - " />\r\n<Param Name = "AllowShuffle" Value = "yes" />\r\n\r\n'
entry() { # PATH NAME, CRLF line ends as the program writes them
    printf '<Entry>\r\n<Param Name = "name" Value = "%s" />\r\n<ref href = "%s" />\r\n</Entry>\r\n\r\n' "$2" "$1"
}

r=fuzz_orv_read
{ printf '%b' "$header"; entry 'C:\Movies\a.avi' a.avi; entry 'D:\Clips\b.mpg' b.mpg; printf '</ORV>\r\n'; } \
    >"$corpus/$r/worked-example.orv"
sed 's/\r$//' "$corpus/$r/worked-example.orv" >"$corpus/$r/lf-only.orv"
awk 'NR % 2 { sub(/\r$/, "") } { print }' "$corpus/$r/worked-example.orv" >"$corpus/$r/crlf-lf-mixed.orv"
{ printf '%b' "$header"; printf '</ORV>\r\n'; } >"$corpus/$r/no-entries.orv"
seed $r empty ''
seed $r unterminated-marker '<ref href = "/m/a.avi" />\r\n<ref href = "/m/b.avi />\r\n'
seed $r marker-at-end '<ref href = "'
seed $r overlapping-markers '<ref href = "<ref href = "/m/b.avi" />'
seed $r two-markers-one-line '<ref href = "/m/a.avi" /><ref href = "/m/b.avi" />'
seed $r path-across-line-end '<ref href = "/m/a\r\nb.avi" />'
seed $r upper-case-marker '<REF HREF = "/m/a.avi" />\r\n<ref href="/m/b.avi" />\r\n'
seed $r binary-around-marker '\000\377\376\200\001<ref href = "/m/a.avi"\000\303\050\237'
seed $r binary-only '\000\001\002\377\376\042\074'
seed $r encoded-surrogate '<ref href = "/m/\355\240\200.avi" />'
seed $r byte-order-mark '\357\273\277<ref href = "/m/\357\273\277a.avi" />'
seed $r accented '<ref href = "/m/\303\251t\303\251 \346\230\240\347\224\273.avi" />'
seed $r quote-in-path '<ref href = "/m/say "cheese".avi" />'
seed $r trailing-backslash '<Param Name = "name" Value = "" />\r\n<ref href = "C:\\Movies\\" />\r\n'
seed $r unterminated-name '<Param Name = "name" Value = "one" /><Param Name = "name" Value = "two />'
{
    printf '%b' "$header"
    for i in $(seq -w 0 9999); do entry "/m/$i.avi" "$i.avi"; done
    printf '</ORV>\r\n'
} >"$corpus/$r/ten-thousand-entries.orv"

# The packed reader: the plain reader's odd files, relative entries, and entries longer than a
# path around one that is not.
k=fuzz_orv_pack
for name in worked-example.orv overlapping-markers unterminated-marker binary-around-marker \
    accented byte-order-mark encoded-surrogate trailing-backslash; do
    cp "$corpus/$r/$name" "$corpus/$k/$name"
done
seed $k relative-and-absolute \
    '<ref href = "rel/a.avi" />\r\n<ref href = "../up.avi" />\r\n<ref href = "/abs/b.avi" />\r\n<ref href = "" />\r\n<ref href = "http://x/y" />\r\n'
{
    printf '<ref href = "/a.avi" /><ref href = "/'
    head -c 5000 /dev/zero | tr '\0' x
    printf '<ref href = "in.avi" /><ref href = "/'
    head -c 4094 /dev/zero | tr '\0' y
    printf '" />'
} >"$corpus/$k/longer-than-a-path"
cp "$corpus/$k/longer-than-a-path" "$corpus/$r/longer-than-a-path"

# First byte: '0' locale text split at line feeds, '1' UTF-8 split at line feeds, '2' UTF-16
# split at line feeds, '6' locale text split at NUL.
t=fuzz_orv_roundtrip
seed $t worked-example '0C:\\Movies\\a.avi\nD:\\Clips\\b.mpg'
seed $t empty ''
seed $t empty-path '0\n/m/b.avi\n'
seed $t duplicates '1/m/a.avi\n/m/a.avi'
seed $t quote-in-path '0/m/fine.avi\n/m/say "cheese".avi'
seed $t ends-in-marker-text '0/m/x<ref href = '
seed $t marker-text-inside '0/m/<ref href = x.avi'
seed $t trailing-backslash '0C:\\Movies\\\nC:\\'
seed $t line-ends-inside '6/m/two\r\nlines.avi\000/m/b.avi\000/m/c\n.avi'
seed $t accented '1/m/\303\251t\303\251 \303\240 la plage <1>.mpg\n/m/\346\230\240\347\224\273.avi'
seed $t non-utf8 '0/m/\377\376.avi\n/m/\303\050.avi'
seed $t unpaired-surrogate '2/\000m\000/\000a\000\000\330.\000a\000v\000i\000\n\000/\000b\000'
{ printf '0'; for i in $(seq 0 9999); do printf '/home/viewer/Movies/clip %d.avi\n' "$i"; done; } \
    >"$corpus/$t/ten-thousand-entries"

c=fuzz_command_line
seed $c plain '/m/a.avi'
seed $c empty ''
seed $c quoted-blank '"/m/my film.avi"'
seed $c split-by-the-shell '/m/my\000film.avi'
seed $c playlist '/m/list.orv'
seed $c upper-case-playlist '/m/LIST.ORV'
seed $c quote-only '"'
seed $c empty-arguments '\000\000/m/b.orv\000'
seed $c non-utf8 '/m/\377\376.avi\000\303\050'
seed $c trailing-backslash 'C:\\Movies\\'
seed $c root '/'

n=fuzz_display_name
seed $n plain 'a.avi'
seed $n empty ''
seed $n root-file '/b.avi'
seed $n backslashes 'C:\\Movies\\a.avi'
seed $n single-separator '/'
seed $n folder 'a/Movies/'
seed $n two-separators '//'
seed $n hidden-file '/m/.hidden'
seed $n many-dots '/m/a.b.c.avi'
seed $n accented '/m/\303\251t\303\251.avi'
seed $n non-utf8 '/m/\377\376.avi'
seed $n trailing-backslash 'C:\\Movies\\'

# First byte 1: the rest is UTF-16.
g=fuzz_media_gate
seed $g absolute '/etc/passwd'
seed $g relative 'media/clip.avi'
seed $g dots '/tmp/../etc/./passwd'
seed $g file-uri 'file:///etc/passwd'
seed $g file-uri-localhost 'file://localhost/etc/passwd'
seed $g file-uri-nul 'file:///etc/passwd%%00.avi'
seed $g lavfi 'av://lavfi:sine=duration=1,ametadata=mode=print:file=/tmp/victim'
seed $g http 'http://127.0.0.1:9/a.mpg'
seed $g own-descriptor 'fd://3'
seed $g own-descriptor-path '/proc/self/fd/0'
seed $g device '/dev/zero'
seed $g folder '/etc'
seed $g nul '/etc/passwd\000.avi'
seed $g escape '\033[31m/etc/passwd'
seed $g utf16-lone-surrogate '\001/\000e\000t\000c\000/\000\000\330'
