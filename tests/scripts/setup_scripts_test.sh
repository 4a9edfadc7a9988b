#!/usr/bin/env bash
# The README's fresh-machine commands (./run and ./test), run against fake
# package tools so nothing is installed: arguments reach the program and make,
# and a user without root or sudo gets one clear line and no half-install.
# usage: setup_scripts_test.sh REPOSITORY
set -uo pipefail
repo="$1"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A copy of the scripts, so the fake build below never meets the real one.
mkdir -p "$scratch/repo/scripts" "$scratch/fakebin" "$scratch/build/bin"
cp "$repo/run" "$repo/test" "$scratch/repo/"
cp "$repo/scripts/install-deps.sh" "$scratch/repo/scripts/"

# Only these real tools are on the PATH: no sudo, whatever this machine has.
for tool in bash env dirname grep cat; do
  ln -s "$(command -v "$tool")" "$scratch/fakebin/$tool"
done
fake() { printf '#!/bin/sh\n%s\n' "$2" >"$scratch/fakebin/$1"; chmod +x "$scratch/fakebin/$1"; }
fake id 'echo "${FAKE_UID:-1000}"'
fake dpkg-query '[ -n "${FAKE_ALL_INSTALLED:-}" ] && printf "install ok installed"; exit 0'
fake apt-get "echo \"apt-get \$*\" >>'$scratch/log'"
fake make "echo \"make \$* \${KRONALT_DEPS_CHECKED:+(checked)}\" >>'$scratch/log'"
printf '#!/bin/sh\nfor a in "$@"; do echo "arg[$a]"; done >>"%s/log"\n' "$scratch" >"$scratch/build/bin/kronalt"
chmod +x "$scratch/build/bin/kronalt"

run() {  # run SCRIPT ARGS... with the fake PATH; output in $out, code in $rc
  : >"$scratch/log"
  out=$(PATH="$scratch/fakebin" BUILD="$scratch/build" "$scratch/repo/$@" 2>&1)
  rc=$?
  log=$(cat "$scratch/log")
}

# No root, no sudo, packages missing: refuse before installing or building,
# in one line that names each package once; on a machine whose package lists
# were never fetched, the line says to fetch them first.
mkdir -p "$scratch/lists"
export KRONALT_APT_LISTS="$scratch/lists"
for script in run test; do
  run "$script"
  [ $rc -ne 0 ] || fail "$script: exit code 0 without root or sudo"
  [ "$(echo "$out" | grep -c .)" -eq 1 ] || fail "$script: want one line, got: $out"
  echo "$out" | grep -q "as root, run: apt-get update && apt-get install .*make" \
    || fail "$script: the line does not name the packages and the commands: $out"
  [ "$(echo "$out" | grep -o "libwxgtk3.2-dev" | wc -l)" -eq 1 ] || fail "$script: a package named twice: $out"
  [ -z "$log" ] || fail "$script: ran something after refusing: $log"
done
touch "$scratch/lists/deb.debian.org_debian_dists_bookworm_main_binary-amd64_Packages"
run run
echo "$out" | grep -q "as root, run: apt-get install .*make" || fail "refusal with lists: $out"
echo "$out" | grep -q "apt-get update" && fail "asks for apt-get update with package lists present: $out"

# As root with packages missing: apt-get installs them, then make builds.
FAKE_UID=0 run run
[ $rc -eq 0 ] || fail "root install: exit code $rc: $out"
echo "$log" | grep -q "^apt-get install -y .*libwxgtk3.2-dev" || fail "root install: no apt-get install: $log"

# Everything installed: arguments reach the program exactly, ARGS as a word list.
export FAKE_ALL_INSTALLED=1
run run --console --length "2 5"
# ./run builds the program alone, and make does not check the packages again.
want=$'make --no-print-directory program BUILD='"$scratch"$'/build (checked)\narg[--console]\narg[--length]\narg[2 5]'
[ "$log" = "$want" ] || fail "./run arguments: got: $log"
ARGS="--console --length 25" run run
want=$'make --no-print-directory program BUILD='"$scratch"$'/build (checked)\narg[--console]\narg[--length]\narg[25]'
[ "$log" = "$want" ] || fail "./run ARGS: got: $log"
run test FUZZ_SECONDS=5
[ "$log" = "make --no-print-directory test FUZZ_SECONDS=5 (checked)" ] || fail "./test arguments: got: $log"

if [ $failures -ne 0 ]; then echo "$failures failed"; exit 1; fi
echo "setup scripts: all cases passed"
