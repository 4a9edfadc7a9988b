#!/bin/sh
# The window's start-up time and its cost while it waits, against the peer
# (a bare wx window ticking a label each second), in the same run.
# usage: gui_bench.sh KRONALT PEER [SECONDS]   (run under xvfb-run)
kronalt="$1"
peer="$2"
seconds="${3:-60}"
ticks=$(getconf CLK_TCK)

# Runs the program, waits until its window is on the screen, then measures
# its processor time over the next $seconds seconds.
measure() {
    name="$1"
    shift
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 &
    pid=$!
    xdotool search --sync --onlyvisible --name "Velmora" >/dev/null 2>&1
    mapped=$(date +%s%N)
    sleep 2  # let start-up work settle before measuring the wait
    before=$(awk '{print $14 + $15}' /proc/$pid/stat)
    sleep "$seconds"
    after=$(awk '{print $14 + $15}' /proc/$pid/stat)
    kill -9 $pid 2>/dev/null
    wait $pid 2>/dev/null
    startup_ms=$(( (mapped - start) / 1000000 ))
    cpu=$(awk -v d=$((after - before)) -v t="$ticks" -v s="$seconds" 'BEGIN { printf "%.3f", 100 * d / t / s }')
    echo "$name start-up ${startup_ms} ms, CPU while waiting ${cpu} % of one core"
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/bin"
cp "$kronalt" "$scratch/bin/kronalt"
ln -s "$(cd "$(dirname "$kronalt")/../lib" && pwd)" "$scratch/lib"
ln -s "$(cd "$(dirname "$kronalt")/../share" && pwd)" "$scratch/share"
measure "peer   " "$peer"
measure "kronalt" "$scratch/bin/kronalt"
