#!/bin/sh
# Runs one fuzz target built by build.sh, one process, for a given time.
#
#   fuzz/run.sh wmf|storedtext [SECONDS] [OUTPUT-DIR]
#
# New inputs go to OUTPUT-DIR/corpus/<target>, crashes to OUTPUT-DIR/artifacts,
# the log to OUTPUT-DIR/logs/<target>.log.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
target=${1:?usage: run.sh wmf|storedtext [SECONDS] [OUTPUT-DIR]}
seconds=${2:-600}
out=${3:-$here/build}
# Stored text stops at 32767 characters: its inputs may run past that.
case $target in
    wmf) extra="-dict=$here/wmf.dict"; maxlen=${MAX_LEN:-8192} ;;
    storedtext) extra=""; maxlen=${MAX_LEN:-80000} ;;
    *) echo "unknown target: $target" >&2; exit 2 ;;
esac

mkdir -p "$out/corpus/$target" "$out/artifacts" "$out/logs"
export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
exec "$out/fuzz_$target" "$out/corpus/$target" "$out/seeds/$target" $extra \
    -max_len="$maxlen" -timeout=10 -rss_limit_mb=2048 -max_total_time="$seconds" \
    -print_final_stats=1 -artifact_prefix="$out/artifacts/$target-" \
    >"$out/logs/$target.log" 2>&1
