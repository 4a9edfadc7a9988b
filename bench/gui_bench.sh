#!/bin/sh
# The window's start-up time, its memory and its cost while it waits, against
# the peer (a bare wx window ticking a label each second), in the same run.
# usage: gui_bench.sh KRONALT PEER [SECONDS] [STARTS]   (run under xvfb-run)
# Start-up and memory are the medians of STARTS starts of each (alternating,
# so a busy spell on a shared machine falls on both); memory is the
# proportional set size (PSS) from /proc/PID/smaps_rollup once the window is
# up and settled, so libraries shared with other processes count by share.
kronalt="$1"
peer="$2"
seconds="${3:-60}"
starts="${4:-${GUI_STARTS:-9}}"
ticks=$(getconf CLK_TCK)
settle="${GUI_SETTLE:-1}"

# Starts the program and waits until its window is on the screen; leaves the
# process id in $pid and the start-up time in $startup_ms. first_map (built
# beside the peer) listens for the map itself, so nothing polls the display
# on the processors the program needs. Under Xvfb a client now and then
# cannot open the display just after another was killed ("Unable to
# initialize GTK+"): such a start is not counted but made again.
first_map="${FIRST_MAP:-$(dirname "$peer")/first_map}"
launch() {
    attempt=0
    while :; do
        if answer=$("$first_map" -o "$scratch/last.out" Velmora "$@"); then
            startup_ms=${answer% *}
            pid=${answer#* }
            return
        fi
        attempt=$((attempt + 1))
        if [ "$attempt" -ge 5 ]; then
            echo "gui_bench: no window from $1; its output:" >&2
            cat "$scratch/last.out" >&2
            exit 1
        fi
        sleep 0.5
    done
}

pss_kib() { awk '/^Pss:/ { print $2 }' "/proc/$1/smaps_rollup"; }

stop() {
    kill -9 "$pid" 2>/dev/null
    # Not our child (first_map started it): wait for it to go, a second at most.
    tries=0
    while [ -d "/proc/$pid" ] && ! grep -q '^State:.*Z' "/proc/$pid/status" 2>/dev/null && [ "$tries" -lt 100 ]; do
        sleep 0.01
        tries=$((tries + 1))
    done
    # The display takes a moment to let go of a killed client; a start made
    # within it found the toolkit's OpenGL probe failing and was quicker and
    # smaller than any real one.
    sleep 0.3
}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
range() { sort -n | awk 'NR == 1 { lo = $1 } { hi = $1 } END { print lo "-" hi }'; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/bin"
cp "$kronalt" "$scratch/bin/kronalt"
ln -s "$(cd "$(dirname "$kronalt")/../lib" && pwd)" "$scratch/lib"
ln -s "$(cd "$(dirname "$kronalt")/../share" && pwd)" "$scratch/share"

# A first start of each that is not counted: it writes the profile and warms
# the file cache, as any start after the first finds them.
launch "$peer"; stop
launch "$scratch/bin/kronalt"; stop

i=0
while [ "$i" -lt "$starts" ]; do
    for who in peer kronalt; do
        if [ "$who" = peer ]; then launch "$peer"; else launch "$scratch/bin/kronalt"; fi
        sleep "$settle"
        echo "$startup_ms" >>"$scratch/$who.start"
        pss_kib "$pid" >>"$scratch/$who.pss"
        stop
    done
    i=$((i + 1))
done
for who in peer kronalt; do
    s=$(median <"$scratch/$who.start"); sr=$(range <"$scratch/$who.start")
    p=$(median <"$scratch/$who.pss"); pr=$(range <"$scratch/$who.pss")
    printf '%-7s start-up %s ms [%s], PSS %s KiB [%s] (medians of %s starts)\n' "$who" "$s" "$sr" "$p" "$pr" "$starts"
    eval "${who}_start=$s ${who}_pss=$p"
done
awk -v a="$kronalt_start" -v b="$peer_start" -v c="$kronalt_pss" -v d="$peer_pss" 'BEGIN {
    printf "kronalt / peer: start-up %.2fx, PSS %.2fx (aims <= 1.15x)\n", a / b, c / d }'

# The cost of waiting: one more start each, measured over $seconds seconds.
measure() {
    name="$1"
    shift
    launch "$@"
    sleep 2  # let start-up work settle before measuring the wait
    before=$(awk '{print $14 + $15}' /proc/$pid/stat)
    sleep "$seconds"
    after=$(awk '{print $14 + $15}' /proc/$pid/stat)
    stop
    cpu=$(awk -v d=$((after - before)) -v t="$ticks" -v s="$seconds" 'BEGIN { printf "%.3f", 100 * d / t / s }')
    echo "$name CPU while waiting ${cpu} % of one core"
}
measure "peer   " "$peer"
measure "kronalt" "$scratch/bin/kronalt"
