#!/usr/bin/env bash
# What a Traditional session costs against a Simplified one, in one run: the
# start-up benchmark for zh_CN, zh_TW and zh_HK in turn, ROUNDS times, then
# each session's medians and four checks. A Traditional session's main
# window appears within 10% of the Simplified session's time, with at most
# 15 MB more resident memory, also by the end of the run (its converter
# loaded and two readings shown); and it opens a reading in at most 5 ms (a
# reading after the first; the first one, right after start-up, is shown for
# all three). Runs under a virtual display (xvfb-run, Debian package xvfb)
# when there is no display. Exits 1 if a check fails.
#
#   bash benchmarks/startup_cost.sh BUILD_DIR [ROUNDS]     (ROUNDS: 12, at least 10)
#
# The build must have the benchmarks: cmake -DYANPING_BUILD_BENCHMARKS=ON,
# then cmake --build BUILD_DIR --target startup_benchmark.
set -euo pipefail

build=${1:?usage: bash benchmarks/startup_cost.sh BUILD_DIR [ROUNDS]}
rounds=${2:-12}
bench=$build/benchmarks/startup_benchmark
if [ ! -x "$bench" ]; then
  echo "startup_cost: no $bench (configure with -DYANPING_BUILD_BENCHMARKS=ON and build startup_benchmark)" >&2
  exit 2
fi
if [ "$rounds" -lt 10 ]; then
  echo "startup_cost: at least 10 rounds, for medians worth comparing" >&2
  exit 2
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  if command -v xvfb-run >/dev/null; then
    exec xvfb-run -a -s "-screen 0 1280x800x24 -noreset" bash "$0" "$@"
  fi
  export QT_QPA_PLATFORM=offscreen
fi

samples=$(mktemp)
trap 'rm -f "$samples"' EXIT
sessions=(zh_CN zh_TW zh_HK)
for ((round = 1; round <= rounds; round++)); do
  for session in "${sessions[@]}"; do
    line=$(LANG=$session.UTF-8 LC_ALL= LANGUAGE= "$bench" 2>/dev/null | grep '^script=') || {
      echo "startup_cost: the benchmark failed in $session" >&2
      exit 2
    }
    for field in $line; do
      echo "$session ${field%%=*} ${field#*=}" >>"$samples"
    done
  done
done

median() { # session key
  awk -v s="$1" -v k="$2" '$1 == s && $2 == k { print $3 }' "$samples" | sort -g \
    | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

echo "medians of $rounds rounds, sessions in turn (${sessions[*]}):"
printf '%-7s %-11s %11s %16s %18s %12s %17s %8s\n' session script prepared_ms main_window_ms main_window_rss_mb reading_ms \
  next_reading_ms rss_mb
for session in "${sessions[@]}"; do
  script=$(awk -v s="$session" '$1 == s && $2 == "script" { print $3; exit }' "$samples")
  printf '%-7s %-11s %11s %16s %18.1f %12s %17s %8.1f\n' "$session" "$script" "$(median "$session" prepared_ms)" \
    "$(median "$session" main_window_ms)" \
    "$(awk -v kb="$(median "$session" main_window_rss_kb)" 'BEGIN { print kb / 1024 }')" \
    "$(median "$session" reading_ms)" "$(median "$session" next_reading_ms)" \
    "$(awk -v kb="$(median "$session" rss_kb)" 'BEGIN { print kb / 1024 }')"
done

failed=0
check() { # description, awk condition on a and b
  if awk -v a="$3" -v b="$4" "BEGIN { exit !($2) }"; then echo "ok:   $1"; else echo "FAIL: $1"; failed=1; fi
}
base_ms=$(median zh_CN main_window_ms)
base_kb=$(median zh_CN main_window_rss_kb)
base_run_kb=$(median zh_CN rss_kb)
for session in zh_TW zh_HK; do
  ms=$(median "$session" main_window_ms)
  kb=$(median "$session" main_window_rss_kb)
  check "$session main window in $ms ms, within 10% of zh_CN's $base_ms ms" 'a <= b * 1.10' "$ms" "$base_ms"
  check "$session main window with $(((kb - base_kb) / 1024)) MB more than zh_CN (at most 15)" \
    'a - b <= 15 * 1024' "$kb" "$base_kb"
  kb=$(median "$session" rss_kb)
  check "$session whole run with $(((kb - base_run_kb) / 1024)) MB more than zh_CN (at most 15)" \
    'a - b <= 15 * 1024' "$kb" "$base_run_kb"
  next=$(median "$session" next_reading_ms)
  check "$session opens a reading in $next ms (at most 5)" 'a <= 5' "$next" 0
done
exit $failed
