#!/bin/bash
# intro-capture: golden frames at telling moments, frame N the same whether or
# not the frames before it were kept, the command line's errors and its
# ranges' ends, videos (lossless, at the intro's rate as thinned by --every),
# hostile file names, a failing ffmpeg and a failing standard output.
#
#    capture.sh INTRO-CAPTURE INTRO WORKDIR
set -u
. "$(dirname "$0")/../common/lib.sh"
capture=$1 intro=$2 work=$3
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1

# Hashes of picture and palette: frame 1 (both flashes at 59), the first frames
# each scroller is drawn on screen, the black-glyph frame and the wipe after it,
# and the last frame of each scroller's first pass.
golden="1 acc9bc02db76b3a2
82 466f89566353851c
162 53cc51c9ed9953dc
330 7c769f7193ff1b62
331 3a0f780c142cf81f
3753 09403e7fce90908d
6241 abfd7587bdac30bc"
"$capture" --data "$intro" --to 6241 --hash 2>/dev/null >hashes.txt
actual=$(grep -E "^($(echo "$golden" | cut -d' ' -f1 | paste -sd'|')) " hashes.txt)
check "golden frames" '[ "$actual" = "$golden" ]' ||
   diff <(echo "$golden") <(echo "$actual")

"$capture" --data "$intro" --to 400 --frames all 2>/dev/null
"$capture" --data "$intro" --from 400 --to 400 --frames one 2>/dev/null
check "frame 400 alone is frame 400 of 1..400" \
   'cmp -s all/frame-000400.png one/frame-000400.png && [ "$(ls all | wc -l)" = 400 ]'
check "--every 3 from frame 2 keeps frames 2, 5 and 8, as the whole run has them" \
   '[ "$("$capture" --data "$intro" --from 2 --to 9 --every 3 --hash)" = "$(grep -E "^[258] " hashes.txt)" ]'

# runs the tool on the intro's data, unless the arguments name other data
status() {
   local data=(--data "$intro")
   [[ " $* " != *" --data "* ]] || data=()
   "$capture" "${data[@]}" "$@" >out.txt 2>err.txt; echo $?
}
# numbers out of range, huge or malformed are refused, never clamped, and a
# sheet past libpng's or memory's limits before any frame is rendered
for bad in "--bogus" "--from 0" "--from 9 --to 8" "--seconds 0" "--to 5 --seconds 1" \
           "--sheet /nonexistent/sheet.png" "--frames /proc/frames" "--data /nonexistent" \
           "--data /bin/true" "--to 99999999999999999999" "--to 10000001" "--from -1" \
           "--from 10000000 --seconds 1" "--seconds nan" "--seconds 1e300" "--every 0" \
           "--every 2x" "--columns 0" "--columns 65" "--sheet big.png --to 100000" \
           "--sheet big.png --to 10000000 --columns 64" "--video=/nonexistent/-x';y.mkv" \
           "--data /bin/true --video gone.mkv --sheet kept.png"; do
   echo kept >kept.png
   # shellcheck disable=SC2086
   check "$bad: status 2 and a message, no output touched" '[ "$(status $bad)" = 2 ] &&
      [ -s err.txt ] && [ ! -e big.png ] && [ ! -e gone.mkv ] && [ "$(cat kept.png)" = kept ]'
done
check "ffmpeg missing: status 2" \
   '[ "$(PATH=/nonexistent status --video v.mkv)" = 2 ] && grep -q "needs ffmpeg" err.txt'
# checked before any data is read: with none there, only the data is missing
check "--seconds reaches the last frame there is" \
   '[ "$(status --from 9999941 --seconds 1 --data /nonexistent)" = 2 ] && grep -q "no data" err.txt'

# a name with quotes, a semicolon, spaces and a leading '-' is only a name
name="-q'u\"o;touch pwned; s"
check "a video, a sheet and frames named $name" \
   '[ "$(status --to 30 --video="$name.mkv" --sheet="$name.png" --frames="$name")" = 0 ] &&
    [ ! -e pwned ] && [ -s "$name.png" ] && [ "$(ls -- "$name" | wc -l)" = 30 ] &&
    [ "$(ffprobe -v error -count_frames -show_entries stream=nb_read_frames -of csv=p=0 \
         "file:$name.mkv")" = 30 ]'
# every frame: the greys of some (frame 30's) come through a 4:2:0 video intact
ffmpeg -v error -i "file:$name.mkv" -f rawvideo -pix_fmt rgb24 - >video.rgb
check "the FFV1 video is lossless: its 30 frames are the frames as captured" \
   'convert "./$name"/frame-*.png rgb:- | cmp -s - video.rgb'
# Matroska keeps times in whole milliseconds: a rate is right within 0.005
status --to 90 --every 3 --video every.mkv >/dev/null
rate=$(ffprobe -v error -show_entries stream=r_frame_rate -of csv=p=0 every.mkv)
check "--every 3: the video plays at a third of the intro's rate ($rate)" \
   'awk -F/ "{ d = \$1 / \$2 - 1193181 / 19886 / 3; exit !(d * d < 0.005 ^ 2) }" <<<"$rate"'
# an ffmpeg that fails: one that knows no such format, one that ends at once,
# with a failure or with none
mkdir -p fake && printf '#!/bin/sh\nexit $FAKE\n' >fake/ffmpeg && chmod +x fake/ffmpeg
check "ffmpeg knows no .xyz: its status, status 1, the file removed" \
   '[ "$(status --to 30 --video v.xyz)" = 1 ] && grep -q "ffmpeg ended with status [1-9]" err.txt &&
    [ ! -e v.xyz ]'
for fake in "3:ffmpeg ended with status 3" "0:ffmpeg stopped taking frames at frame 1"; do
   check "ffmpeg ends at once with status ${fake%%:*}: status 1, the file removed" \
      '[ "$(FAKE=${fake%%:*} PATH="$PWD/fake:$PATH" status --to 30 --video v.mkv)" = 1 ] &&
       grep -q "${fake#*:}" err.txt && [ ! -e v.mkv ]'
done
check "standard output full or gone: a message and status 1" \
   '"$capture" --data "$intro" --to 5 --hash >/dev/full 2>err.txt; [ $? = 1 ] &&
    grep -q "No space" err.txt && { "$capture" --data "$intro" --to 99999 --hash 2>err.txt;
    echo $? >status.txt; } | head -1 >/dev/null && [ "$(cat status.txt)" = 1 ] &&
    grep -q "Broken pipe" err.txt'
check "a progress bar on a terminal" \
   'script -qec "$(printf "%q " "$capture" --data "$intro" --to 120)" /dev/null | grep -q "frame 120/120"'

[ $failures = 0 ]
