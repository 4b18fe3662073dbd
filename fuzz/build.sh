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
# The metafile reader: its own sources and the GBK table it decodes text with.
wmf="$root/formats/wmf/Wmf.cpp $root/formats/wmf/WmfParser.cpp $root/formats/wmf/WmfPlayer.cpp
     $root/formats/wmf/WmfFigures.cpp $root/formats/wmf/WmfText.cpp $root/formats/wmf/WmfCost.cpp
     $root/formats/Gbk.cpp"
storedtext="$root/formats/StoredText.cpp $root/formats/Gbk.cpp $root/platform/Errors.cpp $root/platform/Files.cpp"

echo "building fuzz_wmf"
$cxx $common $sanitize "$here/fuzz_wmf.cpp" $wmf $qtgui -o "$out/fuzz_wmf"

echo "building fuzz_storedtext"
$cxx $common $sanitize "$here/fuzz_storedtext.cpp" $storedtext $qtcore -o "$out/fuzz_storedtext"

echo "building make_seeds"
$cxx $common -O1 "$here/make_seeds.cpp" "$root/tools/wmfwriter/WmfWriter.cpp" $storedtext $qtgui \
    -o "$out/make_seeds"

# The slow pictures are committed in corpus/wmf-slow; the copy written here
# shows whether make_seeds still writes the same ones.
QT_QPA_PLATFORM=offscreen "$out/make_seeds" "$out/seeds/wmf" "$out/seeds/storedtext" "$out/seeds/wmf-slow"
mkdir -p "$out/corpus/wmf" "$out/corpus/storedtext"
echo "done: $out/fuzz_wmf, $out/fuzz_storedtext; seeds in $out/seeds"
