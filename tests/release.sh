#!/bin/bash
# A release as a user gets it. Every file is there, carries the version and
# matches SHA256SUMS, which covers every file; the release text names each file
# within 80 columns. The zip's program plays under Wine and a key ends it. The
# videos have the frames and the rate they claim, and the lossless one's frame
# 331 (a caption wipe) is exactly the frame the released package's own capture
# tool renders from the released intro. Both web pages play in Chromium.
#
#    release.sh RELEASE-DIR WORKDIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
. "$here/../shell/packages.sh"
need_packages "${windows_test_packages[@]}" ffmpeg unzip
need_browser
release=$(realpath "$1") work=$2
read -r version _ < <(cmake -P "$here/../dist/changelog.cmake")
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
name=vintara-intro-$version
text=$release/$name.txt

expected=("$name.txt" "$name-windows.zip" "$name-web.zip" "$name.html" "$name-cycle.mkv" "$name-minute.mp4"
   "$name-screenshot.png" "$name-sheet.png" vintara-intro_${version}_amd64.deb)
for f in "${expected[@]}"; do check "$f is there" '[ -s "$release/$f" ]'; done
check "every file matches SHA256SUMS" '(cd "$release" && sha256sum --quiet -c SHA256SUMS)'
check "SHA256SUMS covers every file" \
   '[ "$(cd "$release" && ls | grep -vx SHA256SUMS)" = "$(awk "{ print \$2 }" "$release/SHA256SUMS" | LC_ALL=C sort)" ]'
check "the release text names every file with its size" \
   '(for f in $(ls "$release"); do [ $f = SHA256SUMS ] || [ $f = $name.txt ] ||
       grep -q "^$f  *$(stat -c %s "$release/$f") " "$text" || exit 1; done)'
check "the release text: version, commit, 80 columns" \
   'grep -q "version $version\$" "$text" && grep -qE "commit [0-9a-f]{40}" "$text" &&
    awk "length > 80 { long = 1 } END { exit long }" "$text"'

unzip -q "$release/$name-windows.zip"
exe=$name-windows/vintara-intro.exe
check "the zip holds the program and a text with the version" \
   '[ -s "$exe" ] && grep -q "version $version," "$name-windows/README.txt"'
check "the program's version resource says $version" \
   '[ "$(strings -el -n 3 "$exe" | grep -A1 -x ProductVersion | tail -1)" = "$version" ]'

# The zip's program under Wine, full screen in Xvfb.
. "$here/wine.sh"
start_wine 640x480x24
launch "$PWD/$exe" windows
await_picture 0 0 60
check "the zip's program plays under Wine: the resting logo, the held caption" 'logo_rows_ok && caption_ok'
xdotool key space
await_exit 30
check "the zip's program: a key ends it with status 0 (was $status)" '[ $status = 0 ]'
stop_wine
stop_xvfb

# The released capture tool, from the released package.
dpkg-deb -x "$release/vintara-intro_${version}_amd64.deb" deb
capture=deb/usr/games/vintara-intro-capture intro=deb/usr/games/vintara-intro
# codec,frames,rate: Matroska keeps times in whole milliseconds, so a rate is
# right when it is the intro's to within 0.005 frames a second
probe() {
   ffprobe -v error -count_frames -select_streams v:0 -of csv=p=0 \
      -show_entries stream=codec_name,r_frame_rate,nb_read_frames "$release/$1" |
      awk -F'[,/]' '{ r = $2 / $3 - 1193181 / 19886; print $1 "," $4 "," (r * r < 0.005 ^ 2 ? "60Hz" : $2 "/" $3) }'
}
cycle=$(probe "$name-cycle.mkv") minute=$(probe "$name-minute.mp4")
check "the cycle: FFV1, 993 frames at the intro's rate (was $cycle)" '[ "$cycle" = ffv1,993,60Hz ]'
check "the minute: H.264, 3600 frames at the intro's rate (was $minute)" '[ "$minute" = h264,3600,60Hz ]'
ffmpeg -v error -i "$release/$name-cycle.mkv" -vf 'select=eq(n\,330)' -frames:v 1 -pix_fmt rgb24 video-331.png
"$capture" --data "$intro" --from 331 --to 331 --frames captured >/dev/null
check "the cycle's frame 331 is the capture tool's" \
   '[ "$(compare -metric AE video-331.png captured/frame-000331.png null: 2>&1)" = 0 ]'

unzip -q "$release/$name-web.zip"
check "the web site and the one-file page play in Chromium, titled with the version" \
   'node "$here/web/release-pages.js" "$name-web" "$release/$name.html" "$version" >pages.out 2>&1'
[ $failures = 0 ] || cat pages.out

echo "$passes passed, $failures failed"
[ $failures = 0 ]
