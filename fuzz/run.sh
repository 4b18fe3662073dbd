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
# Metafiles: the committed corpus (with the pictures made to be slow) is
# read along with the seeds, and inputs may grow to 64 KB, past the slow
# pictures; any input that takes over 2 seconds is a failure (the reader's
# budget is half a second). Stored text stops at 32767 characters: its
# inputs may run past that.
case $target in
    wmf)
        extra="-dict=$here/wmf.dict $here/corpus/wmf $here/corpus/wmf-slow"
        maxlen=${MAX_LEN:-65536}
        timeout=${TIMEOUT:-2} ;;
    storedtext) extra=""; maxlen=${MAX_LEN:-80000}; timeout=${TIMEOUT:-10} ;;
    *) echo "unknown target: $target" >&2; exit 2 ;;
esac

mkdir -p "$out/corpus/$target" "$out/artifacts" "$out/logs"
export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# shellcheck disable=SC2086 # $extra is a list of words
exec "$out/fuzz_$target" "$out/corpus/$target" "$out/seeds/$target" $extra \
    -max_len="$maxlen" -timeout="$timeout" -rss_limit_mb=2048 -max_total_time="$seconds" \
    -print_final_stats=1 -artifact_prefix="$out/artifacts/$target-" \
    >"$out/logs/$target.log" 2>&1
