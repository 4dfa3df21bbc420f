#!/bin/bash
# The Windows intro under Wine, in Xvfb with no window manager. On a 640x480
# screen the library takes the full-screen 8-bit DirectDraw path: a few seconds
# in, the logo rows hold only black and the logo's resting grey (#282828) and
# the caption is held at #F3F3F3; a key ends it with status 0. It plays so
# from folders named in Russian and in Chinese, with its temporary folder
# under a Russian one too. With its data stripped it shows why in a message
# box, a key closes the box and it ends with status 1. On a 1024x768 screen
# the mode falls back to a window, which shows the same picture, and a key
# ends it with status 0. With no display at all it ends at once with its
# message on standard error and status 1. Before all that, text_above_4g
# checks that the library draws text into memory above 4 GiB, where 64-bit
# Windows puts it and Wine does not.
#
#    windows.sh BUILD-WINDOWS EXEDAT WORKDIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "$1") exedat=$2 work=$3
exe=$build/intro.exe
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
. "$here/../common/lib.sh"
title="quib's vintara intro 1"

# A Wine prefix of the test's own. Without the overrides Wine offers to
# download Mono and Gecko, and a crash waits in the debugger instead of ending
# the program. A prefix's server stays bound to the display it started on, so
# it is ended, with all it runs, before the display changes.
export WINEPREFIX=$PWD/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winedbg.exe="
# Wine reads Unix file names in the locale's encoding: in the C locale every
# name outside ASCII would be lost before the program saw it
export LC_ALL=C.UTF-8
stop_wine() { timeout 30 wineserver -k 2>/dev/null; timeout 30 wineserver -w 2>/dev/null; }
stop_xvfb() { [ -z "${xvfb:-}" ] || { kill $xvfb; wait $xvfb; xvfb=; } 2>/dev/null; }
trap 'stop_wine; stop_xvfb; rm -rf "$WINEPREFIX"' EXIT
start_wine() { start_xvfb "$1" && timeout 120 wineboot -i >wineboot.log 2>&1; }
# A program under Wine in the background, with a time limit whose status is the
# program's.
launch() { timeout 120 wine "$1" >"$2.out" 2>"$2.err" & pid=$!; }

start_wine 640x480x24
timeout 60 wine "$build/text_above_4g.exe" >above.out 2>&1
status=$?
check "text drawn above 4 GiB: status 0 (was $status)" '[ $status = 0 ]'

plays "full screen" timeout 120 wine "$exe"
# the temporary folder named in Russian too, as under a Russian user name
mkdir -p "Временные файлы"
for variable in TEMP TMP; do
   wine reg add 'HKCU\Environment' /v $variable /d "$(winepath -w "$PWD/Временные файлы")" /f \
      >/dev/null 2>&1
done
for dir in "Загрузки" "下载"; do
   mkdir -p "$dir" && cp "$exe" "$dir/intro.exe"
   plays "from $dir/, TEMP in Временные файлы" timeout 120 wine "$dir/intro.exe"
done

# The box's text comes from Wine's message box trace; the shot shows the box.
cp "$exe" stripped.exe && "$exedat" -d stripped.exe >/dev/null
WINEDEBUG=-all,+msgbox launch "$PWD/stripped.exe" stripped
for _ in $(seq 300); do grep -qs MSGBOX_OnInit stripped.err && break; sleep 0.1; done
# the box is drawn a moment after it is made
box_shown() { [ "$(counts 640x480+0+0 | awk "/#F5F5F5/ { print \$1 + 0 }")" -gt 5000 ]; }
for _ in $(seq 100); do xwd -root -silent -out shot.xwd && box_shown && break; sleep 0.1; done
check "data stripped: the box is on the screen and says why" 'box_shown &&
   grep -qF "unable to start the intro\nno data file is attached to the end of this program" stripped.err'
# With no window manager the box does not always get the keyboard focus: give
# it the focus, as a click would. It is the larger of the two windows with the
# title; the program's own has shrunk back to nothing.
box=$(xdotool search --name "$title" | while read -r w; do
   eval "$(xdotool getwindowgeometry --shell "$w")"; echo "$((WIDTH * HEIGHT)) $w"; done |
   sort -rn | awk 'NR == 1 { print $2 }')
[ -n "$box" ] && timeout 10 xdotool windowfocus --sync "$box"
xdotool key space
await_exit 30
check "data stripped: a key closes the box, status 1 (was $status)" '[ $status = 1 ]'

stop_wine
stop_xvfb
start_xvfb 1024x768x24
launch "$exe" windowed
# the window appears after the full-screen attempt gives up, several seconds in
for _ in $(seq 60); do
   window=$(xdotool search --name "$title" | while read -r w; do
      xdotool getwindowgeometry --shell "$w" | grep -qx "WIDTH=640" && echo "$w"; done | head -1)
   [ -n "$window" ] && break
   sleep 0.5
done
eval "$(xdotool getwindowgeometry --shell "${window:-0}" 2>/dev/null)"
await_picture "${X:-0}" "${Y:-0}" 20
check "in a window: the resting logo, the held caption" 'logo_rows_ok && caption_ok'
[ -n "$window" ] && xdotool windowfocus --sync "$window" key space
await_exit 30
check "in a window: a key ends it with status 0 (was $status)" '[ $status = 0 ]'

stop_wine
stop_xvfb
env -u DISPLAY -u WAYLAND_DISPLAY timeout 60 wine "$exe" >nodisplay.out 2>nodisplay.err
status=$?
# the program's standard error is in text mode: lines end in CR LF
check "no display: status 1 (was $status) and the message, no crash" \
   '[ $status = 1 ] && tr -d "\r" <nodisplay.err | grep -qx "unable to set any graphic mode" &&
    ! grep -q "Unhandled" nodisplay.err'

[ $failures = 0 ] || cat above.out nodisplay.err
echo "$passes passed, $failures failed"
[ $failures = 0 ]
