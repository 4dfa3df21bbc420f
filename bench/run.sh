#!/bin/bash
# The cost of playing, against the library's floor. Builds the benchmarks,
# then in Xvfb plays the intro (built to note its frame times) and the floor
# program in turns, ROUNDS times SECONDS each, and prints for each run the CPU
# it took of one core (user plus system, after its first second), its frames a
# second and frame intervals, late frames (over 25 ms) and peak memory; then
# the intro/floor CPU ratio, median of the rounds; then Google Benchmark's
# figures for a headless frame, start-up and the capture tool. Run it on an
# idle machine.
#
#    bash bench/run.sh [SECONDS] [ROUNDS]      (default 20 seconds, 5 rounds)
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-20} rounds=${2:-5}
. shell/packages.sh
need_packages "${build_packages[@]}" libbenchmark-dev xvfb xdotool
cmake -S . -B build-bench -DINTRO_BENCH=ON -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench --parallel --target intro intro-capture frametimes floor bench >/dev/null
bin=build-bench/bench
work=$(mktemp -d)
. shell/xvfb.sh
start_xvfb
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT

# CPU time of all a process's threads so far, nanoseconds (user plus system).
cpuns() { cat /proc/"$1"/task/*/schedstat | awk '{ ns += $1 } END { printf "%d", ns }'; }
now() { date +%s%N; }

# Plays one program (window title $3) with frametimes preloaded; prints "cpu%
# peak-KiB" and leaves its frame times in $2. The sleeps are the spans
# measured, from its window on.
play() {
   LD_PRELOAD=$PWD/build-bench/bench/libframetimes.so INTRO_FRAMETIMES_FILE=$2 "$1" >/dev/null 2>&1 &
   local pid=$! t0 c0 t1 c1 peak
   await_window "$3" 30
   sleep 1
   t0=$(now) c0=$(cpuns $pid)
   sleep "$seconds"
   t1=$(now) c1=$(cpuns $pid)
   peak=$(awk '/VmHWM/ { print $2 }' "/proc/$pid/status")
   xdotool key space
   wait $pid
   awk -v c=$((c1 - c0)) -v ns=$((t1 - t0)) -v peak="$peak" \
      'BEGIN { printf "%.2f %d\n", 100 * c / ns, peak }'
}

# Frame statistics from a frame-times file, frames after the first second:
# "fps median p99 max late".
frames() {
   awk '$1 == "frame" && $2 >= 1000000 { print $2 }' "$1" >"$1.t"
   local fps
   fps=$(awk 'NR == 1 { a = $1 } { b = $1 } END { printf "%.3f", (NR - 1) / ((b - a) / 1e6) }' "$1.t")
   awk 'NR > 1 { print ($1 - prev) / 1000 } { prev = $1 }' "$1.t" | sort -n | awk -v fps="$fps" '
      { v[NR] = $1; late += $1 > 25 }
      END { printf "%s %.2f %.2f %.2f %d\n", fps, v[int((NR + 1) / 2)], v[int(NR * 0.99 + 0.5)],
                   v[NR], late }'
}

printf "\n%-6s %-6s %7s %7s %9s %8s %8s %5s %9s\n" round run "CPU %" fps "median ms" "p99 ms" \
   "max ms" late "peak MiB"
ratios=()
for r in $(seq "$rounds"); do
   read -r icpu ipeak < <(play build-bench/intro "$work/intro-$r" "quib's vintara intro 1")
   read -r ifps imed ip99 imax ilate < <(frames "$work/intro-$r")
   read -r fcpu fpeak < <(play $bin/floor "$work/floor-$r" floor)
   printf "%-6s %-6s %7s %7s %9s %8s %8s %5s %9.1f\n" "$r" intro "$icpu" "$ifps" "$imed" \
      "$ip99" "$imax" "$ilate" "$(echo "$ipeak" | awk '{ print $1 / 1024 }')"
   printf "%-6s %-6s %7s %7s %9s %8s %8s %5s %9.1f\n" "$r" floor "$fcpu" - - - - - \
      "$(echo "$fpeak" | awk '{ print $1 / 1024 }')"
   ratios+=("$(awk -v a="$icpu" -v b="$fcpu" 'BEGIN { printf "%.2f", a / b }')")
done
echo "intro/floor CPU ratio by round: ${ratios[*]}; median" \
   "$(printf "%s\n" "${ratios[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')"
first=$(for r in $(seq "$rounds"); do
   awk '$1 == "mode" { mode = $2 } $1 == "frame" { print ($2 - mode) / 1000; exit }' "$work/intro-$r"
done | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
echo "from the mode set to the first frame's retrace (median of the rounds): $first ms"

echo
# medians of five repetitions, CPU time
$bin/bench --benchmark_min_time=1 --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
   --benchmark_format=csv 2>/dev/null | awk -F, '
   /^"frame_median"/     { printf "headless frame:              %7.1f us\n", $4
                           printf "capture to memory:           %7.0f frames/s\n", 1e6 / $4 }
   /^"startup_median"/   { printf "headless start-up to the first frame shown: %.2f ms " \
                                  "(library up, data read, unpacked, checked, loaded)\n", $4 }
   /^"pngframes_median"/ { printf "capture to PNG:              %7.0f frames/s\n", 1e6 / $4 }'
