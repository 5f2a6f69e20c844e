#!/usr/bin/env bash
# Every preset on an ordinary input, every preset with a variant on the input class
# that selects it, today's common files (WebM, TS, M4A, AAC, FLAC, Opus, Ogg and
# Matroska sound) through a preset of each kind they suit, and inputs whose sound or
# picture stops seconds before the other (each container through each of four presets),
# through transcoda-cli with the real helper tools; each output checked with ffprobe,
# and B/ and the process table checked clean after each conversion.
# Usage: presets.sh GROUP COUNT   runs the table rows whose number modulo COUNT is GROUP.
GROUP=$1 COUNT=$2
TEST_NAME=presets$GROUP
source "$(dirname "$0")/common.sh"

# index  input      expected picture (WxH, video, audio, dvd-ntsc, dvd-pal)  extra options
TABLE=$(cat <<'ROWS'
0  clip.mp4  1280x720
1  clip.mp4  1920x1080
2  clip.mp4  1280x720
3  clip.mp4  640x480
4  clip.mp4  480x360
5  clip.mp4  320x240
6  clip.mp4  video
7  clip.mp4  video
8  clip.mp4  352x288
9  clip.mp4  video
10 clip.mp4  320x240
11 clip.mp4  176x144
12 clip.mp4  video
13 clip.mp4  176x144
14 clip.mp4  176x144
15 clip.mp4  176x144
16 clip.mp4  128x96
17 clip.mp4  128x96
18 clip.mp4  848x480
19 clip.mp4  720x576
20 clip.mp4  176x144
21 clip.mp4  352x288
22 clip.mp4  video
23 clip.mp4  video
24 clip.mp4  320x240
25 clip.mp4  640x480
26 clip.mp4  640x420
27 clip.mkv  848x480
28 clip.mkv  368x208
29 clip.mkv  480x272
30 clip.mp4  320x240
31 clip.mkv  848x480
32 clip.mp4  dvd-ntsc
33 clip.mp4  dvd-pal
34 clip.mp4  audio
35 clip.mp4  audio
36 clip.mp4  audio
37 clip.avi  video
38 clip.avi  video --delay 0.50
39 clip.avi  video --from 00:00:00 --to 00:00:02
2  clip.wmv  1280x720
3  clip.3gp  640x480
4  clip.asf  480x360
5  clip.wmv  320x240
34 clip.flv  audio
35 clip.flv  audio
36 clip.flv  audio
32 clip.wmv  dvd-ntsc
7  clip.mts  video
9  clip.m2ts video
12 clip.mts  video
18 clip.mts  848x480
19 clip.m2ts 720x576
24 clip.mts  320x240
25 clip.m2ts 640x480
26 clip.mts  640x420
27 clip.m2ts 848x480
28 clip.mts  368x208
29 clip.m2ts 480x272
31 clip.mts  848x480
39 clip.mts  640x480 --from 00:00:00 --to 00:00:02
3  clip.webm 640x480
25 clip.webm 640x480
34 clip.webm audio
39 clip.webm video --from 00:00:00 --to 00:00:02
38 clip.webm video --delay 0.50
5  clip.ts   320x240
34 clip.m4a  audio
36 clip.aac  audio
35 clip.flac audio
34 clip.opus audio
36 clip.oga  audio
35 clip.mka  audio
39 clip.flac audio --from 00:00:00 --to 00:00:02
39 clip.m4a  audio --from 00:00:00 --to 00:00:02
0  clip-shortsound.mkv   1280x720
3  clip-shortpicture.mkv 640x480
25 clip-shortsound.mkv   640x480
34 clip-shortpicture.mkv audio
0  clip-shortpicture.mp4 1280x720
3  clip-shortsound.mp4   640x480
25 clip-shortpicture.mp4 640x480
34 clip-shortsound.mp4   audio
0  clip-shortsound.vob   1280x720
3  clip-shortpicture.vob 640x480
25 clip-shortsound.vob   640x480
34 clip-shortpicture.vob audio
0  clip-shortpicture.mpg 1280x720
3  clip-shortsound.mpg   640x480
25 clip-shortpicture.mpg 640x480
34 clip-shortsound.mpg   audio
ROWS
)

row=0
while read -r index input expect extra; do
    row=$((row + 1))
    [ $((row % COUNT)) -eq "$GROUP" ] || continue
    what="preset $index on $input"
    case $expect in dvd-*) output="$WORK/out/dvd$row/" ;; *) output="" ;; esac
    # These keep the input's extension: the derived name would be the input itself.
    case $index:$input in
        39:clip.mts) output="$WORK/out/r$row-out.mpeg" ;;
        37:*|38:*|39:*) output="$WORK/out/r$row-out.${input##*.}" ;;
    esac
    # Without an output the name is derived from the input: the input goes to the work
    # folder first so that the output lands there too.
    cp "$FIXTURES/$input" "$WORK/out/r$row-$input"
    # shellcheck disable=SC2086
    run_cli --lang EN -f "$index" "$WORK/out/r$row-$input" $output $extra
    if [ "$STATUS" -ne 0 ]; then
        fail "$what: exit status $STATUS"
        # The tool lines and the tail of the diagnostic log tell what went wrong.
        grep -E '^Ligne console|^>>' "$WORK/stderr" >&2 || true
        grep -v '^|||' "$WORK/stderr" | tail -15 >&2
    fi
    case $expect in
        dvd-ntsc|dvd-pal)
            [ -s "$output/DVD-Disc1/VIDEO_TS/VIDEO_TS.IFO" ] || fail "$what: no VIDEO_TS.IFO"
            [ ! -e "$output/DVD-Disc1/tmpvdv.mpg" ] || fail "$what: tmpvdv.mpg left"
            [ "$expect" = dvd-ntsc ] && size=720x480 || size=720x576
            check_media "$what" "$output/DVD-Disc1/VIDEO_TS/VTS_01_1.VOB" "$size" ;;
        *)
            produced=$(find "$WORK/out" -maxdepth 1 -name "r$row-*" ! -name "r$row-$input" | head -1)
            min=1.5
            if [ "$index" = 39 ]; then min=1; fi
            check_media "$what" "${produced:-none}" "$expect" "$min"
            if [ "$index" = 39 ]; then
                d=$(probe_duration "${produced:-none}")
                awk -v d="$d" 'BEGIN { exit !(d < 2.9) }' || fail "$what: segment of $d s, not cut"
            fi ;;
    esac
    check_clean "$what"
    rm -rf "$WORK/out/"r$row-* "$WORK/out/dvd$row"
done <<<"$TABLE"
finish
