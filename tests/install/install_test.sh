#!/usr/bin/env bash
# Installs the build into a temporary prefix and builds a small program on
# the library there, once through find_package(Zam) and once through
# pkg-config: neither may depend on where the build was configured to go.
# usage: install_test.sh BUILD-DIR SOURCE-DIR
set -euo pipefail
build="$1"
here="$2/tests/install"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix="$scratch/elsewhere/zam"

cmake --install "$build" --prefix "$prefix" >/dev/null

mkdir -p "$scratch/consumer"
cp "$here/consumer.cpp" "$scratch/consumer/"
cp "$here/CMakeLists.txt.in" "$scratch/consumer/CMakeLists.txt"
cmake -S "$scratch/consumer" -B "$scratch/consumer/build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$scratch/consumer/build" >/dev/null
out=$("$scratch/consumer/build/consumer")
[ "$out" = "INSTALLED" ] || { echo "FAIL: find_package consumer printed '$out'"; exit 1; }

pc=$(find "$prefix" -name zam.pc)
flags=$(PKG_CONFIG_PATH="$(dirname "$pc")" pkg-config --cflags --libs zam)
libdir=$(PKG_CONFIG_PATH="$(dirname "$pc")" pkg-config --variable=libdir zam)
[ "$(cd "$libdir" && pwd -P)" = "$(cd "$prefix/lib" && pwd -P)" ] \
  || { echo "FAIL: zam.pc does not point into the prefix: $libdir"; exit 1; }
# shellcheck disable=SC2086  # pkg-config prints its flags as words
c++ -o "$scratch/pc-consumer" "$here/consumer.cpp" $flags -Wl,-rpath,"$libdir"
out=$("$scratch/pc-consumer")
[ "$out" = "INSTALLED" ] || { echo "FAIL: pkg-config consumer printed '$out'"; exit 1; }
echo "install: both consumers built and ran"
