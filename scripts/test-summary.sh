#!/usr/bin/env bash
# The last line of `make test`: how many tests each part ran. make stops at
# the first part that fails, so reaching this line means every one passed.
# usage: test-summary.sh MAIN-BUILD SANITIZER-BUILD FUZZ-BUILD
set -uo pipefail
count_ctest() { ctest --test-dir "$1" -N 2>/dev/null | sed -n 's/^Total Tests: //p'; }
main=$(count_ctest "$1")
asan=$(count_ctest "$2")
fuzz=$(find "$3/bin" -maxdepth 1 -name 'fuzz_*' -type f 2>/dev/null | wc -l)
echo "tests: ${main:-0} main + ${asan:-0} under the sanitizers + ${fuzz} fuzz targets = $(( ${main:-0} + ${asan:-0} + fuzz )) passed, 0 failed"
