#!/bin/sh
# Builds the fuzz targets and their starting corpora.
#
#   fuzz/build.sh [OUTPUT-DIR]        (default: fuzz/build)
#
# Needs clang++ 14 with its libFuzzer runtime (Debian: clang-14,
# libclang-rt-14-dev). The targets are CMake targets of the project
# (fuzz/CMakeLists.txt), built from its own libraries.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
out=${1:-$here/build}
cxx=${CXX:-clang++-14}

cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER="$cxx" \
    -DYANPING_BUILD_FUZZERS=ON -DYANPING_BUILD_TESTS=OFF >/dev/null
cmake --build "$out" --target fuzz_wmf fuzz_storedtext make_seeds -j "$(nproc)"

# The slow pictures are committed in corpus/wmf-slow; the copy written here
# shows whether make_seeds still writes the same ones.
QT_QPA_PLATFORM=offscreen "$out/make_seeds" "$out/seeds/wmf" "$out/seeds/storedtext" "$out/seeds/wmf-slow"
mkdir -p "$out/corpus/wmf" "$out/corpus/storedtext"
echo "done: $out/fuzz_wmf, $out/fuzz_storedtext; seeds in $out/seeds"
