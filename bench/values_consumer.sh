#!/bin/sh
# Installs the library from a build folder into a scratch prefix, builds the
# consumer benchmark (bench/consumer) on that install alone, and runs it.
# Usage: bench/values_consumer.sh <build folder> [benchmark options...]
set -e
build=$(cd "$1" && pwd); shift
here=$(cd "$(dirname "$0")" && pwd)
prefix=$build/consumer-prefix
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" --component libzam1 >/dev/null
cmake --install "$build" --prefix "$prefix" --component libzam-dev >/dev/null
cmake -S "$here/consumer" -B "$build/consumer" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/consumer" >/dev/null
LD_LIBRARY_PATH="$prefix/lib:$prefix/lib/$(ls "$prefix/lib" | grep -m1 -- -linux-gnu || true)" \
    "$build/consumer/values_consumer_bench" "$@"
