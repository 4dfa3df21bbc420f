#!/bin/bash
# Runs every bad data file of the corpus (damage.cpp), attached to the intro,
# whole under Xvfb, with memory capped and three seconds to live: each must
# end with status 1 and its message, and say what its NAME.says holds. The
# three that fill the check to its edges must play.
#
# Attachments the fuzzer found (FOUND, the files in it) join them.
#
#    damaged.sh DAMAGE INTRO FOUND WORKDIR
set -u
. "$(dirname "$0")/../../shell/xvfb.sh"
damage=$1 intro=$2 found=$3 work=$4
timeout=$(command -v timeout)
finds=("$found"/*)
[ -e "${finds[0]}" ] || finds=()
rm -rf "$work" && mkdir -p "$work/corpus" && cd "$work" || exit 1
cases=$("$damage" "$intro" corpus "${finds[@]}") || exit 1
playing=(intact-unpacked font-48 fullest)
chmod +x corpus/* "${playing[@]}"

start_xvfb || exit 1
trap 'kill $xvfb 2>/dev/null' EXIT

# With no xmessage on the PATH the library prints its message. Memory is capped
# at 256 MiB of address space (the intro reserves up to about 170 MiB in
# start-up, most of it libraries and thread stacks), and three seconds to live.
run() { (ulimit -v 262144; PATH=/nonexistent exec "$timeout" 3 "$1") >"$1.out" 2>&1; }
failures=0 began=$SECONDS
for program in corpus/*; do
   [[ $program != *.says ]] || continue
   run "$program"
   status=$?
   says=$(cat "$program.says" 2>/dev/null)
   if [ $status != 1 ] || ! grep -q "unable to start the intro" "$program.out" ||
      ! grep -qF -- "$says" "$program.out"; then
      echo "FAIL: $program: status $status: $(tr '\n' ' ' <"$program.out")${says:+, not: $says}"
      failures=$((failures + 1))
   fi
done
echo "$cases bad data files, $failures not ending cleanly, in $((SECONDS - began)) s"
sort corpus/*.out | uniq -c | sort -rn | grep -v "unable to start" | head -40

for program in "${playing[@]}"; do
   run "./$program"
   status=$?
   [ $status = 124 ] || { echo "FAIL: $program did not play: status $status"; failures=$((failures + 1)); }
done
[ $failures = 0 ]
