#!/bin/bash
# Runs every damaged copy of the intro under Xvfb, with memory capped at 1 GiB
# and ten seconds to live: each must end with its message and status 1. An
# intact copy with its data attached unpacked must still play.
#
# Attachments the fuzzer found (FOUND, the files in it) join them.
#
#    damaged.sh DAMAGE INTRO FOUND WORKDIR
set -u
. "$(dirname "$0")/../scripts/xvfb.sh"
damage=$1 intro=$2 found=$3 work=$4
timeout=$(command -v timeout)
finds=("$found"/*)
[ -e "${finds[0]}" ] || finds=()
rm -rf "$work" && mkdir -p "$work/corpus" && cd "$work" || exit 1
cases=$("$damage" "$intro" corpus "${finds[@]}") || exit 1
chmod +x corpus/* intact-unpacked

start_xvfb || exit 1
trap 'kill $xvfb 2>/dev/null' EXIT

# With no xmessage on the PATH the library prints its message.
run() { (ulimit -v 1048576; PATH=/nonexistent exec "$timeout" 10 "$1") >"$1.out" 2>&1; }
failures=0 began=$(date +%s%N)
for program in corpus/*; do
   run "$program"
   status=$?
   if [ $status != 1 ] || ! grep -q "unable to start the intro" "$program.out"; then
      echo "FAIL: $program: status $status: $(tr '\n' ' ' <"$program.out")"
      failures=$((failures + 1))
   fi
done
ms=$((($(date +%s%N) - began) / 1000000))
echo "$cases damaged copies, $failures not ending cleanly, in $ms ms"
sort corpus/*.out | uniq -c | sort -rn | grep -v "unable to start" | head -20

(PATH=/nonexistent exec "$timeout" 3 ./intact-unpacked) >/dev/null 2>&1
status=$?
[ $status = 124 ] || { echo "FAIL: the intact copy did not play: status $status"; failures=$((failures + 1)); }
[ $failures = 0 ]
