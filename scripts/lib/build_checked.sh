#!/usr/bin/env bash
# Builds the sanitizer build (unit and GUI tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, g++) and the fuzz build (libFuzzer targets, clang) in folders of
# their own. Usage: scripts/lib/build_checked.sh ASAN_FOLDER FUZZ_FOLDER
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"
asan_build=$1
fuzz_build=$2

cmake -S . -B "$asan_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPIBO_WERROR=ON \
    -DPIBO_SANITIZE=ON -DPIBO_BENCH=OFF >/dev/null
cmake --build "$asan_build" -j2 --target pibo_unit_tests pibo_gui_tests

cmake -S . -B "$fuzz_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 -DPIBO_FUZZ=ON -DPIBO_TESTS=OFF -DPIBO_BENCH=OFF >/dev/null
cmake --build "$fuzz_build" -j2 --target pibo_fuzz
