# What the whole-program tests share: Xvfb and the waits (shell/xvfb.sh), a
# named check that counts passes and failures, the colour counts of a
# screenshot, and waits for a picture that poll up to a deadline, so that a
# busy machine only makes them slower.
. "$(dirname "${BASH_SOURCE[0]}")/../../shell/xvfb.sh"

passes=0 failures=0 played=0
# check NAME CONDITION: evaluates the condition and says ok or FAIL.
check() {
   if eval "$2"; then echo "ok: $1"; passes=$((passes + 1))
   else echo "FAIL: $1"; failures=$((failures + 1)); fi
}

# Colour counts of a region (WxH+X+Y) of shot.xwd, most frequent first.
counts() { convert shot.xwd -crop "$1" +repage -format %c histogram:info:- | sort -rn; }
# logo.txt holds only black and the logo at rest, mostly the logo.
logo_rows_ok() { [ "$(grep -c . logo.txt)" = 2 ] && head -1 logo.txt | grep -q "#282828"; }
# caption.txt holds the held caption, over a thousand pixels of it.
caption_ok() { [ "$(awk '/#F3F3F3/ { print $1 + 0 }' caption.txt)" -gt 1000 ]; }

# Takes screenshots (shot.xwd) for up to $3 seconds until the 640x480 picture
# at ($1, $2) shows the resting logo and the held caption (logo.txt and
# caption.txt), or $pid has ended. A shot can fail while the mode changes.
await_picture() {
   for _ in $(seq $(($3 * 4))); do
      sleep 0.25
      kill -0 "$pid" 2>/dev/null || return 1
      xwd -root -silent -out shot.xwd 2>/dev/null || continue
      counts 640x90+$1+$2 >logo.txt
      counts 640x40+$1+$(($2 + 225)) >caption.txt
      logo_rows_ok && caption_ok && return
   done
   return 1
}

# plays NAME COMMAND...: starts the command, which plays the intro full screen
# on this display; checks that its picture comes up and that a key then ends
# it with status 0. Its output is in play-N.out, N counting the plays.
plays() {
   local name=$1 shown out=play-$((++played)).out
   shift
   "$@" >"$out" 2>&1 &
   pid=$!
   await_picture 0 0 60
   shown=$?
   xdotool key space
   await_exit 30
   check "$name: its picture, and a key ends it with status 0 (status $status)" \
      '[ $shown = 0 ] && [ $status = 0 ]' || tail -5 "$out"
}
