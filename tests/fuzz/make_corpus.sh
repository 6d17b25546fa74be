#!/usr/bin/env bash
# Writes the seed corpora of the fuzz targets into tests/fuzz/corpus/<target>/:
# a handful of tiny files per target, made with the ffmpeg command line (a
# tenth of a second of a sine, 8 kHz mono) or written out byte by byte here.
# Run once and commit the result; the fuzz runs work on copies.
set -euo pipefail
cd "$(dirname "$0")"
corpus=corpus
rm -rf "$corpus"
mkdir -p "$corpus"/fuzz_{id3,ogg,asf,settings,skin,audio}

# ---- helpers ----------------------------------------------------------------

# ffmpeg with a short sine as its input and reproducible output.
sine() {
  ffmpeg -v error -y -f lavfi -i "sine=frequency=440:sample_rate=8000:duration=0.1" \
    -fflags +bitexact -flags:a +bitexact "$@"
}
tags=(-metadata title="标题 Title" -metadata artist="艺术家" -metadata album="Album"
      -metadata date=2024 -metadata track=3 -metadata genre=Rock -metadata comment="注释")

# Bytes of a number, least significant first: le VALUE BYTES.
le() {
  local v=$1 n=$2 i
  for ((i = 0; i < n; i++)); do printf "\\x$(printf %02x $(((v >> (8 * i)) & 255)))"; done
}
# Bytes of a number, most significant first.
be() {
  local v=$1 n=$2 i
  for ((i = n - 1; i >= 0; i--)); do printf "\\x$(printf %02x $(((v >> (8 * i)) & 255)))"; done
}
syncsafe() {
  local v=$1
  printf "\\x$(printf %02x $(((v >> 21) & 127)))\\x$(printf %02x $(((v >> 14) & 127)))"
  printf "\\x$(printf %02x $(((v >> 7) & 127)))\\x$(printf %02x $((v & 127)))"
}
# ASCII text as UTF-16LE.
utf16() {
  local s=$1 i
  for ((i = 0; i < ${#s}; i++)); do printf '%s\x00' "${s:i:1}"; done
}
# Length in bytes of what a command prints.
bytes() { "$@" | wc -c; }

# ---- ID3 ------------------------------------------------------------------------

sine -c:a libmp3lame -b:a 8k -id3v2_version 3 "${tags[@]}" "$corpus/fuzz_id3/v23.mp3"
sine -c:a libmp3lame -b:a 8k -id3v2_version 4 "${tags[@]}" "$corpus/fuzz_id3/v24.mp3"
sine -c:a libmp3lame -b:a 8k -id3v2_version 0 -write_id3v1 1 "${tags[@]}" "$corpus/fuzz_id3/v1_only.mp3"

# v2.4 frames with flags: unsynchronised UTF-16 title, data length indicator,
# UTF-8 comment with a description; then padding.
id3_frame24() { printf '%s' "$1"; syncsafe "$(bytes printf "$3")"; printf "$2"; printf "$3"; }
{
  frames() {
    id3_frame24 TIT2 '\x00\x02' '\x01\xff\x00\xfe\x54\x00\x69\x00'
    id3_frame24 TPE1 '\x00\x01' '\x00\x00\x00\x07\x03Artist'
    id3_frame24 COMM '\x00\x00' '\x03engdesc\x00text'
    id3_frame24 COMM '\x00\x00' '\x00eng\x00plain comment'
    printf '\x00%.0s' {1..16}
  }
  printf 'ID3\x04\x00\x80'; syncsafe "$(bytes frames)"; frames
} > "$corpus/fuzz_id3/v24_flags.id3"

# v2.3 with an extended header and a frame that claims more than the tag holds.
{
  frames() {
    printf '\x00\x00\x00\x06\x00\x00\x00\x00\x00\x00'
    printf 'TALB'; be 6 4; printf '\x00\x00\x00Album'
    printf 'TYER'; be 4000 4; printf '\x00\x00\x002024'
  }
  printf 'ID3\x03\x00\x40'; syncsafe "$(bytes frames)"; frames
} > "$corpus/fuzz_id3/v23_extended.id3"

# ---- Ogg Vorbis -------------------------------------------------------------------

sine -c:a libvorbis -q:a 0 "${tags[@]}" "$corpus/fuzz_ogg/tagged.ogg"
sine -c:a libvorbis -q:a 0 -map_metadata -1 "$corpus/fuzz_ogg/untagged.ogg"
sine -c:a libopus -b:a 8k "$corpus/fuzz_ogg/opus.ogg"
# Two logical streams, their pages interleaved; two streams one after the
# other; and a comment header long enough to span pages.
sine -filter_complex "[0:a]asplit[a][b]" -map "[a]" -map "[b]" -c:a libvorbis -q:a 0 \
  "$corpus/fuzz_ogg/two_streams.ogg"
cat "$corpus/fuzz_ogg/tagged.ogg" "$corpus/fuzz_ogg/untagged.ogg" > "$corpus/fuzz_ogg/chained.ogg"
sine -c:a libvorbis -q:a 0 -metadata comment="$(printf 'long comment %.0s' {1..400})" \
  "$corpus/fuzz_ogg/long_comment.ogg"

# ---- ASF ----------------------------------------------------------------------------

sine -c:a wmav2 -b:a 24k "${tags[@]}" "$corpus/fuzz_asf/tagged.wma"
sine -c:a wmav2 -b:a 24k -map_metadata -1 "$corpus/fuzz_asf/untagged.wma"

# The legacy header: a header object holding a field list (author, title,
# description, then named fields for track, year and album) and one other object.
legacy_guid() { printf "\\x$1"; printf '\x29\xe2\xd6\xda\x35\xd1\x11\x90\x34\x00\xa0\xc9\x03\x49\xbe'; }
legacy_field() {
  le "$1" 1; printf '\x00\x00\x00\x00'; le ${#2} 2; le ${#3} 2; utf16 "$2"; utf16 "$3"
}
{
  fields() {
    le 6 2
    legacy_field 1 "" "Author"
    legacy_field 2 "" "Title"
    legacy_field 4 "" "Description"
    legacy_field 100 "WM/Track" "5"
    legacy_field 101 "WM/Year" "1999"
    legacy_field 102 "WM/AlbumTitle" "Album"
  }
  children() {
    legacy_guid d5; le $((24 + $(bytes fields))) 8; fields
    printf 'OTHER-OBJECT-ID!'; le 32 8; printf '\x00%.0s' {1..8}
  }
  legacy_guid d1; le $((24 + $(bytes children))) 8; children
  printf 'data after the header'
} > "$corpus/fuzz_asf/legacy.asf"

# A current header with the attributes spread over every object the reader
# knows: the content description, the extended content description, and a
# Metadata and a Metadata Library object in the header extension.
asf_guid() {  # asf_guid 75B22630-668E-11CF-A6D9-00AA0062CE6C: the 16 bytes as stored
  local h=${1//-/} i
  for i in 6 4 2 0 10 8 14 12 16 18 20 22 24 26 28 30; do printf "\\x${h:i:2}"; done
}
asf_object() {  # asf_object GUID BODY-COMMAND...
  local guid=$1
  shift
  asf_guid "$guid"; le $((24 + $(bytes "$@"))) 8; "$@"
}
wide() { utf16 "$1"; printf '\x00\x00'; }
file_properties() {
  printf 'FILE-ID-16-BYTES'; le 4096 8; printf '\x00%.0s' {1..56}
}
content_description() {
  le $(bytes wide "Title") 2; le $(bytes wide "Author") 2; le 0 2; le $(bytes wide "Desc") 2; le 0 2
  wide "Title"; wide "Author"; wide "Desc"
}
extended_record() {  # name type value-command...
  local name=$1 type=$2
  shift 2
  le $(bytes wide "$name") 2; wide "$name"; le "$type" 2; le $(bytes "$@") 2; "$@"
}
extended_content() {
  le 3 2
  extended_record "WM/AlbumTitle" 0 wide "Album"
  extended_record "WM/TrackNumber" 3 le 4 4
  extended_record "title" 0 wide "stale copy"
}
metadata_record() {  # first stream name type value-command...
  local first=$1 stream=$2 name=$3 type=$4
  shift 4
  le "$first" 2; le "$stream" 2; le $(bytes wide "$name") 2; le "$type" 2; le $(bytes "$@") 4
  wide "$name"; "$@"
}
metadata() {
  le 2 2
  metadata_record 0 0 "WM/Year" 0 wide "1999"
  metadata_record 0 1 "WM/Genre" 0 wide "stream one"
}
metadata_library() {
  le 2 2
  metadata_record 0 0 "WM/Genre" 0 wide "Jazz"
  metadata_record 0 0 "WM/Picture" 1 printf 'binary'
}
extension_objects() {
  asf_object C5F8CBEA-5BAF-4877-8467-AA8C44FA4CCA metadata
  asf_object 44231C94-9498-49D1-A141-1D134E457054 metadata_library
}
header_extension() {
  asf_guid ABD3D211-A9BA-11cf-8EE6-00C00C205365; le 6 2
  le $(bytes extension_objects) 4; extension_objects
}
header_children() {
  asf_object 8CABDCA1-A947-11CF-8EE4-00C00C205365 file_properties
  asf_object 75B22633-668E-11CF-A6D9-00AA0062CE6C content_description
  asf_object D2D0A440-E307-11D2-97F0-00A0C95EA850 extended_content
  asf_object 5FBF03B5-A92E-11CF-8EE3-00C00C205365 header_extension
}
header_body() { le 4 4; printf '\x01\x02'; header_children; }
{
  asf_guid 75B22630-668E-11CF-A6D9-00AA0062CE6C; le $((24 + $(bytes header_body))) 8; header_body
  printf 'data packets after the header'
} > "$corpus/fuzz_asf/all_objects.wma"

# ---- settings -----------------------------------------------------------------------

cat > "$corpus/fuzz_settings/typical.ini" <<'INI'
[Format]
Dir=/home/user/Music
int=2

[Fade]
In=1
Out=0
Intime=6
Outtime=6

[Nor]
vol=98

[mp3]
bitrate=9
channel=1
frequency=7
quality=5

[ogg]
quality=300
max bitrate=9
INI
printf '[Format]\r\nDir = "C:\\Music"\r\nint = 0x3\r\n\r\n[FADE]\r\nin=-1\r\nOUTTIME=+20\r\n' \
  > "$corpus/fuzz_settings/crlf_quotes.ini"
printf '; comment\nstray=1\n[mp3]\nbitrate=99999999999\nbitrate=3\n[mp3]\nchannel=x\n[wav\nmode=2\n [ wav ] \n bit = 1 \nfrequency' \
  > "$corpus/fuzz_settings/odd_lines.ini"

# ---- skin -----------------------------------------------------------------------------

cp ../../skin/mp3enc.dll "$corpus/fuzz_skin/default.skin"
cat > "$corpus/fuzz_skin/small.skin" <<'SKIN'
tonvara-skin 1
fonts "Noto Sans CJK SC" "Sans"
color accent #2F6FED
color shade #00000040
style command {
  fill #FFFFFF #F0F0F0
  fill.hover #F3F7FF
  border #C9D2DE 1.5
  border.pressed $accent
  radius 4
  shadow 2 $shade
}
form Form {
  rect 0 0 200 120
  fill #EEF2F7
  text t_name {
    rect 10 10 180 20
    caption "名称 \"quoted\" \\ back"
    font 13 bold
    align center
    padding 4 8
  }
  bar g_progress {
    rect 10 40 90 12
    fill $accent
    radius 6
  }
  text t_percent {
    rect 10 40 180 12
    caption "50%"
    over g_progress #FFFFFF
  }
  button b_go {
    rect 10 70 80 30
    use command
    caption "开始"
    tip "Start the run"
    iconbox 4 7 16
    icon fill path "M 4 4 L 20 12 L 4 20 Z"
    icon stroke 2 ellipse 12 12 8 8
    icon fill rect 6 6 12 12 2.5
    iconcolor.hover #FF0000
  }
}
form Dialog {
  rect 0 0 100 50
  panel p_back {
    rect 0 0 100 50
    fill none
    border #000000
  }
}
SKIN
printf 'tonvara-skin 1\r\nform F {\r\n  rect 0 0 10 10\r\n  button b {\r\n    rect 1 1 5 5\r\n    icon stroke 1 path "M 0 0 H 5 V 5 C 1 2 3 4 5 6 Q 1 1 2 2 Z"\r\n    iconbox 0 0 4\r\n  }\r\n}\r\n' \
  > "$corpus/fuzz_skin/crlf_icon.skin"

# ---- audio ----------------------------------------------------------------------------

sine -c:a pcm_s16le "$corpus/fuzz_audio/sine.wav"
sine -c:a pcm_alaw -ac 2 "$corpus/fuzz_audio/alaw_stereo.wav"
sine -c:a pcm_f32le "$corpus/fuzz_audio/float.wav"
sine -c:a libmp3lame -b:a 8k "$corpus/fuzz_audio/sine.mp3"
sine -c:a libvorbis -q:a 0 "$corpus/fuzz_audio/sine.ogg"
sine -c:a wmav2 -b:a 24k "$corpus/fuzz_audio/sine.wma"
sine -c:a flac "$corpus/fuzz_audio/sine.flac"
sine -c:a aac -b:a 16k "$corpus/fuzz_audio/sine.aac"
cp ../data/audio/sine.rm "$corpus/fuzz_audio/sine.rm"

du -sh "$corpus"
for d in "$corpus"/*/; do echo "$(basename "$d"): $(ls "$d" | wc -l) files, $(du -sh "$d" | cut -f1)"; done
