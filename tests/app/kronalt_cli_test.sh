#!/bin/sh
# Runs the program as a user would from a shell and checks exit code and output.
# usage: kronalt_cli_test.sh PATH-TO-KRONALT CASE
# The program keeps its settings beside itself: run a copy in a scratch folder
# so the tests never touch the build's own kronalt.ini.
built="$1"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/bin"
cp "$built" "$scratch/bin/kronalt"
ln -s "$(cd "$(dirname "$built")/../lib" && pwd)" "$scratch/lib"
bin="$scratch/bin/kronalt"
# Remote-control sockets of the tests' own, never a real session's.
mkdir -m 700 "$scratch/run"
export XDG_RUNTIME_DIR="$scratch/run"
fail() { echo "FAIL: $*"; echo "--- output:"; echo "$out"; exit 1; }

case "$2" in
version)
    out=$("$bin" --version 2>&1); rc=$?
    [ $rc -eq 0 ] || fail "exit code $rc"
    echo "$out" | grep -Eq '^Kronalt 1\.2a \(built [A-Z][a-z]{2} [0-9]{1,2} [0-9]{4}\)$' || fail "version line"
    ;;
bad_option)
    out=$("$bin" --length ten 2>&1); rc=$?
    [ $rc -eq 2 ] || fail "exit code $rc, want 2"
    echo "$out" | grep -q 'Usage: kronalt' || fail "no usage text"
    out=$("$bin" --frobnicate 2>&1); rc=$?
    [ $rc -eq 2 ] || fail "exit code $rc for an unknown option"
    ;;
console_interrupt)
    # A real run of a little over two seconds, ended by Ctrl-C.
    out=$(timeout --preserve-status -s INT 2.5 "$bin" --console --length 2 </dev/null 2>&1); rc=$?
    [ $rc -eq 130 ] || fail "exit code $rc after Ctrl-C, want 130"
    grep -q '^Length=2' "$scratch/bin/kronalt.ini" || fail "the given length was not stored"
    echo "$out" | grep -Eq '^00:00 - 02:00  [0-9]+/[0-9]+/[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}$' || fail "first tick"
    echo "$out" | grep -Eq '^\[00:0[12] - 01:5[89]\]  ' || fail "a running tick in brackets"
    ;;
console_pty)
    # In a pseudo-terminal, as a user types: Ctrl-C is the terminal's
    # interrupt (130), q then y a confirmed exit (0); a length below the
    # minimum is raised, stored, and said on standard error.
    out=$( (sleep 1.5; printf '\003'; sleep 1) | script -qefc "'$bin' --console --length 1" /dev/null 2>&1); rc=$?
    [ $rc -eq 130 ] || fail "exit code $rc after Ctrl-C in a terminal, want 130"
    echo "$out" | grep -q 'length raised to the minimum of 2 minutes' || fail "no word on the raised length"
    grep -q '^Length=2' "$scratch/bin/kronalt.ini" || fail "the raised length was not stored"
    out=$( (sleep 1.5; printf 'q'; sleep 0.5; printf 'y'; sleep 1) | script -qefc "'$bin' --console --length 3" /dev/null 2>&1); rc=$?
    [ $rc -eq 0 ] || fail "exit code $rc after q and y, want 0"
    echo "$out" | grep -q 'Are you sure to exit?' || fail "q did not ask"
    echo "$out" | grep -q 'length raised' && fail "a length of 3 was reported raised"
    ;;
presets_until)
    # The shipped presets, one chosen by name in any case, counting to a
    # clock time a minute and a half away; in a pseudo-terminal.
    out=$("$bin" --list-presets 2>&1); rc=$?
    [ $rc -eq 0 ] || fail "--list-presets: exit code $rc"
    [ "$out" = "$(printf 'Pomodoro\t25 min\nShort break\t5 min\nMeditation\t20 min')" ] || fail "--list-presets"
    out=$("$bin" --console --preset nap 2>&1); rc=$?
    [ $rc -eq 2 ] || fail "unknown preset: exit code $rc, want 2"
    echo "$out" | grep -q "the presets are: Pomodoro, Short break, Meditation" || fail "unknown preset: names"
    for bad in 25:00 7:5x 7 12:60 ''; do
        out=$("$bin" --console --until "$bad" 2>&1); rc=$?
        [ $rc -eq 2 ] || fail "--until '$bad': exit code $rc, want 2"
    done
    out=$( (sleep 2.5; printf '\003'; sleep 1) | script -qefc "'$bin' --console --preset 'SHORT break'" /dev/null 2>&1)
    echo "$out" | grep -q '\[00:01 - 04:59\]' || fail "--preset: not the preset's length"
    grep -q '^SoundEnd=Bell' "$scratch/bin/kronalt.ini" || fail "--preset: the sound was not stored"
    until=$(date -d '+95 seconds' +%H:%M:%S)
    out=$( (sleep 2.5; printf '\003'; sleep 1) | script -qefc "'$bin' --console --until $until" /dev/null 2>&1)
    echo "$out" | grep -Eq '\[00:01 - 01:(33|34|35)\]' || fail "--until: not counting to $until"
    grep -q '^Length=5' "$scratch/bin/kronalt.ini" || fail "--until stored a length"
    ;;
translated)
    # The catalogs the build compiled, beside the copy as they are installed.
    ln -s "$(cd "$(dirname "$built")/../share" && pwd)" "$scratch/share"
    usage="$(dirname "$0")/usage.txt"
    unset LC_ALL LC_MESSAGES LANG
    out=$(LANGUAGE=de "$bin" --help 2>&1)
    [ "${out#Aufruf: kronalt}" != "$out" ] || fail "--help is not German"
    # An explicit C locale is the English program, to the character.
    out=$(LANG=C LANGUAGE=de "$bin" --help 2>&1)
    [ "$out" = "$(cat "$usage")" ] || fail "LANG=C --help differs from the English text"
    out=$(LANG=C "$bin" --frobnicate 2>&1)
    [ "$out" = "$(printf "kronalt: unknown option '--frobnicate'\n"; cat "$usage")" ] || fail "LANG=C error"
    out=$(LANG=fr_CA.UTF-8 "$bin" --frobnicate 2>&1)
    echo "$out" | grep -q "option inconnue '--frobnicate'" || fail "fr_CA does not fall back to French"
    # The terminal countdown in German: paused with Space, q asks, j answers yes.
    out=$( (sleep 1.5; printf ' '; sleep 1.2; printf 'q'; sleep 0.5; printf 'j'; sleep 1) |
        LANGUAGE=de script -qefc "'$bin' --console --length 3" /dev/null 2>&1); rc=$?
    [ $rc -eq 0 ] || fail "exit code $rc after q and j, want 0"
    echo "$out" | grep -q 'Angehalten' || fail "the paused status is not German"
    echo "$out" | grep -qF 'Wirklich beenden? [j/N]' || fail "the question is not German"
    ;;
remote)
    # Two console countdowns answering remote commands over their sockets.
    out=$("$bin" --remote status 2>&1); rc=$?
    [ $rc -eq 3 ] || fail "no timer: exit code $rc, want 3"
    [ "$out" = "kronalt: no running timer" ] || fail "no timer: message"
    "$bin" --console --length 25 </dev/null >/dev/null 2>&1 &
    first=$!
    for _ in $(seq 50); do [ -S "$scratch/run/kronalt/$first.sock" ] && break; sleep 0.1; done
    out=$("$bin" --remote status 2>&1); rc=$?
    [ $rc -eq 0 ] || fail "status: exit code $rc"
    echo "$out" | grep -Eq '^running 00:0[0-9] - 2[45]:[0-9]{2}$' || fail "status line"
    out=$("$bin" --remote pause 2>&1) && echo "$out" | grep -q '^paused ' || fail "pause"
    out=$("$bin" --remote show 2>&1); rc=$?
    [ $rc -eq 1 ] || fail "show in a terminal: exit code $rc, want 1"
    out=$("$bin" --remote bogus 2>&1); rc=$?
    [ $rc -eq 2 ] || fail "unknown command: exit code $rc, want 2"
    "$bin" --console --length 5 </dev/null >/dev/null 2>&1 &
    second=$!
    for _ in $(seq 50); do [ -S "$scratch/run/kronalt/$second.sock" ] && break; sleep 0.1; done
    out=$("$bin" --remote status 2>&1); rc=$?
    [ $rc -eq 2 ] || fail "two timers without --pid: exit code $rc, want 2"
    echo "$out" | grep -q -- "--pid N: .*$first.*$second\|--pid N: .*$second.*$first" || fail "two timers: not listed"
    out=$("$bin" --remote status --pid "$second" 2>&1) && echo "$out" | grep -q ' - 0[45]:' || fail "--pid"
    "$bin" --remote exit --pid "$first" >/dev/null || fail "exit first"
    "$bin" --remote exit --pid "$second" >/dev/null || fail "exit second"
    wait "$first" || fail "first ended with $?"
    wait "$second" || fail "second ended with $?"
    [ -z "$(ls "$scratch/run/kronalt")" ] || fail "sockets left behind"
    ;;
no_display)
    # Without a display the window gives way to the terminal countdown.
    out=$(DISPLAY= WAYLAND_DISPLAY= timeout --preserve-status -s INT 1.5 "$bin" </dev/null 2>&1); rc=$?
    [ $rc -eq 130 ] || fail "exit code $rc after Ctrl-C, want 130"
    echo "$out" | grep -q 'no display' || fail "no notice"
    echo "$out" | grep -Eq '^\[?[0-9]{2}:[0-9]{2}.* - ' || fail "no countdown line"
    ;;
*)
    fail "unknown case $2"
    ;;
esac
echo "ok: $2"
