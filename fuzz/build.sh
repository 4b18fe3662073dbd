#!/bin/sh
# Builds the fuzz targets and their starting corpora.
#
#   fuzz/build.sh [OUTPUT-DIR]        (default: fuzz/build)
#
# Needs clang++ 14 with its libFuzzer runtime (Debian: clang-14,
# libclang-rt-14-dev) and Qt 6 found through pkg-config.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
out=${1:-$here/build}
cxx=${CXX:-clang++-14}

mkdir -p "$out"
qtgui=$(pkg-config --cflags --libs Qt6Gui)
qtcore=$(pkg-config --cflags --libs Qt6Core)
common="-std=c++17 -g -fPIC -I$root -Wall -Wextra -Wno-unused-parameter"
sanitize="-O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined"

echo "building fuzz_wmf"
$cxx $common $sanitize "$here/fuzz_wmf.cpp" "$root/platform/Wmf.cpp" $qtgui -o "$out/fuzz_wmf"

echo "building fuzz_storedtext"
$cxx $common $sanitize "$here/fuzz_storedtext.cpp" "$root/pages/StoredText.cpp" \
    "$root/pages/GbkTable.cpp" "$root/platform/Errors.cpp" $qtcore -o "$out/fuzz_storedtext"

echo "building make_seeds"
$cxx $common -O1 "$here/make_seeds.cpp" "$root/platform/WmfWriter.cpp" "$root/pages/StoredText.cpp" \
    "$root/pages/GbkTable.cpp" "$root/platform/Errors.cpp" $qtgui -o "$out/make_seeds"

QT_QPA_PLATFORM=offscreen "$out/make_seeds" "$out/seeds/wmf" "$out/seeds/storedtext"
mkdir -p "$out/corpus/wmf" "$out/corpus/storedtext"
echo "done: $out/fuzz_wmf, $out/fuzz_storedtext; seeds in $out/seeds"
