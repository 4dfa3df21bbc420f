#!/bin/bash
# A release as a user gets it, for what only a release can break: every file
# is there and matches SHA256SUMS; each carries the version (the package, the
# Windows program's resource and its text, both web pages' titles, the release
# text, which names every file within 80 columns); the videos have the frames
# and the rate they claim.
#
#    release.sh RELEASE-DIR WORKDIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../common/lib.sh"
. "$here/../../shell/packages.sh"
need_packages ffmpeg unzip binutils
release=$(realpath "$1") work=$2
read -r version _ < <(cmake -P "$here/../../dist/changelog.cmake")
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
name=vintara-intro-$version
text=$release/$name.txt

for f in "$name.txt" "$name-windows.zip" "$name-web.zip" "$name.html" "$name-cycle.mkv" \
         "$name-minute.mp4" "$name-screenshot.png" "$name-sheet.png" "vintara-intro_${version}_amd64.deb"; do
   check "$f is there" '[ -s "$release/$f" ]'
done
check "every file matches SHA256SUMS" '(cd "$release" && sha256sum --quiet -c SHA256SUMS)'

check "the package is version $version" \
   '[ "$(dpkg-deb -f "$release/vintara-intro_${version}_amd64.deb" Version)" = "$version" ]'
unzip -q "$release/$name-windows.zip" && unzip -q "$release/$name-web.zip"
exe=$name-windows/vintara-intro.exe
check "the Windows program's version resource and text say $version" \
   '[ "$(strings -el -n 3 "$exe" | grep -A1 -x ProductVersion | tail -1)" = "$version" ] &&
    grep -q "version $version," "$name-windows/README.txt"'
check "both web pages' titles say $version" \
   'grep -q "<title>.*, version $version</title>" "$name-web/index.html" &&
    grep -q "<title>.*, version $version</title>" "$release/$name.html"'
check "the release text: version, commit, every file with its size, 80 columns" \
   'grep -q "version $version\$" "$text" && grep -qE "commit [0-9a-f]{40}" "$text" &&
    awk "length > 80 { long = 1 } END { exit long }" "$text" &&
    (for f in $(ls "$release"); do [ $f = SHA256SUMS ] || [ $f = $name.txt ] ||
       grep -q "^$f  *$(stat -c %s "$release/$f") " "$text" || exit 1; done)'

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

echo "$passes passed, $failures failed"
[ $failures = 0 ]
