#!/usr/bin/env bash
# Checks that the translation files are complete: lupdate runs over the
# program's sources into copies of the .ts files, and any message it leaves
# unfinished (a new or changed text, or one not yet translated), obsolete or
# vanished (a text the code no longer has) fails the check.
#
#   bash tools/check-translations.sh LUPDATE SOURCE_LIST WORK_DIR TS_FILE...
#
# Run by CTest as the test "translations" (cmake/Translations.cmake).
set -uo pipefail

if [ $# -lt 4 ]; then
  echo "usage: bash tools/check-translations.sh LUPDATE SOURCE_LIST WORK_DIR TS_FILE..." >&2
  exit 2
fi
lupdate=$1 list=$2 work=$3
shift 3

mkdir -p "$work"
problems=0
for ts in "$@"; do
  copy=$work/$(basename "$ts")
  cp "$ts" "$copy"
  if ! "$lupdate" -silent -locations none "@$list" -ts "$copy" >"$work/lupdate.log" 2>&1; then
    cat "$work/lupdate.log"
    echo "FAIL: lupdate did not finish for $(basename "$ts")"
    problems=$((problems + 1))
    continue
  fi
  if [ -s "$work/lupdate.log" ]; then
    sed 's/^/    /' "$work/lupdate.log"
  fi
  # Each message on a line of its own; an empty translation counts as none.
  bad=$(tr -d '\n' <"$copy" | sed 's|</message>|&\n|g' \
    | grep -E '<translation type="(unfinished|obsolete|vanished)"|<translation/>|<translation></translation>' \
    | sed 's|.*<source>\(.*\)</source>.*<translation\( type="\([a-z]*\)"\)\{0,1\}.*|    \3 \1|')
  if [ -n "$bad" ]; then
    echo "FAIL: $(basename "$ts"):"
    echo "$bad"
    problems=$((problems + 1))
  else
    echo "ok:   $(basename "$ts"): $(grep -c '<message' "$copy") messages, every one translated"
  fi
done
[ "$problems" -eq 0 ]
