#!/usr/bin/env bash
# Compiles the program's sources for Windows in syntax-only mode with
# Debian's MinGW-w64 cross compiler, against the Qt 6 headers installed for
# Linux, and fails if any of them has an error. Debian has no Qt for Windows,
# so this is how the Windows-only code (the Q_OS_WIN branches and the
# platform/*Windows.cpp files) gets compiled at all on a Linux machine.
#
#   bash tools/check-windows-syntax.sh LIST SOURCE_DIR BUILD_DIR
#
# LIST is written by yanping_add_windows_syntax_check() (cmake/WindowsSyntaxCheck.cmake):
# "target", "dir", "std", "include", "define" and "source" lines for each
# target, then "extra TARGET" and the extra sources compiled with that
# target's settings. .cpp sources go through x86_64-w64-mingw32-g++, .rc
# resource scripts through x86_64-w64-mingw32-windres.
#
# Set YANPING_MINGW_CXX to use another cross compiler, YANPING_CHECK_JOBS
# for the number of compilers run at once (default 2).
#
# No shim of Qt's configuration headers is needed: qsystemdetection.h tells
# Windows from _WIN32, and the feature macros of the Linux build in qconfig.h
# and qtcore-config.h that a Windows build would set otherwise concern Qt's
# insides (glib, inotify, ICU, ...), not the classes the program uses. What is
# adjusted:
# - the definitions a Windows Qt gives every program it builds (its
#   Qt6::Platform target) are added by hand: UNICODE, _UNICODE, WIN32, WIN64,
#   _WIN64, _ENABLE_EXTENDED_ALIGNED_STORAGE and, for MinGW,
#   MINGW_HAS_SECURE_API=1;
# - /usr/include and /usr/local/include, which some Qt targets name, are left
#   out: they hold Linux's C library headers, and the cross compiler has its
#   own;
# - Qt's mkspecs/linux-g++ folder is replaced by its mkspecs/win32-g++;
# - the Qt folders come in with -isystem, as they do in a real build, so
#   warnings inside Qt's headers stay quiet. Warnings in the program's own
#   code are shown but do not fail the check.
set -euo pipefail

if [ $# -ne 3 ]; then
  echo "usage: bash tools/check-windows-syntax.sh LIST SOURCE_DIR BUILD_DIR" >&2
  exit 2
fi
list=$1
top=$(cd "$2" && pwd)
build=$(cd "$3" && pwd)
jobs=${YANPING_CHECK_JOBS:-2}

cxx=${YANPING_MINGW_CXX:-}
if [ -z "$cxx" ]; then
  # The posix thread model: Qt's headers use std::mutex and friends, which
  # GCC 12's win32 thread model does not provide.
  for candidate in x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++; do
    if command -v "$candidate" >/dev/null; then cxx=$candidate; break; fi
  done
fi
if [ -z "$cxx" ] || ! command -v "$cxx" >/dev/null; then
  echo "check-windows-syntax: no MinGW-w64 C++ cross compiler (Debian: g++-mingw-w64-x86-64-posix)" >&2
  exit 1
fi
windres=${cxx%%-g++*}-windres
if [ ! -r "$list" ]; then
  echo "check-windows-syntax: no source list $list (run cmake first)" >&2
  exit 1
fi

windows_defines=(-DUNICODE -D_UNICODE -DWIN32 -DWIN64 -D_WIN64 -D_ENABLE_EXTENDED_ALIGNED_STORAGE
                 -DMINGW_HAS_SECURE_API=1)

# Read the list: each target's settings, then (target, file) pairs.
declare -A tdir tstd tflags
jobs_target=() jobs_file=()
current=""
while IFS= read -r line || [ -n "$line" ]; do
  [ -n "$line" ] || continue
  key=${line%% *}
  value=${line#* }
  [ "$value" != "$line" ] || value=""
  case "$key" in
    target) current=$value; tdir[$current]=$top; tstd[$current]=17; tflags[$current]="" ;;
    extra) current=$value ;;
    dir) tdir[$current]=$value ;;
    std) [ -z "$value" ] || tstd[$current]=$value ;;
    include)
      [ -n "$value" ] || continue
      case "$value" in
        # The host's own header folders hold Linux's C library: the cross
        # compiler has its own.
        /usr/include|/usr/local/include) continue ;;
        # Qt's platform folder: the one a Windows Qt gives its programs.
        */mkspecs/linux-*) [ -d "${value%/*}/win32-g++" ] && value=${value%/*}/win32-g++ ;;
      esac
      case "$value/" in
        "$top"/*|"$build"/*) tflags[$current]+="-I$value"$'\n' ;;
        *) tflags[$current]+="-isystem$value"$'\n' ;;
      esac ;;
    define) [ -z "$value" ] || tflags[$current]+="-D$value"$'\n' ;;
    source)
      [ -n "$value" ] || continue
      case "$value" in /*) file=$value ;; *) file=${tdir[$current]}/$value ;; esac
      case "$file" in
        "$build"/*) continue ;;     # generated (moc, rcc): not the program's own code
        *.cpp|*.cc|*.cxx|*.rc) ;;
        *) continue ;;              # headers come in through the sources; .qrc, ...
      esac
      jobs_target+=("$current") jobs_file+=("$file") ;;
    *) echo "check-windows-syntax: unknown line in $list: $line" >&2; exit 1 ;;
  esac
done < "$list"

if [ ${#jobs_file[@]} -eq 0 ]; then
  echo "check-windows-syntax: the list names no source" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

compile() { # index target file
  local i=$1 t=$2 f=$3 flags=()
  mapfile -t flags <<<"${tflags[$t]%$'\n'}"
  [ -n "${flags[*]}" ] || flags=()
  if [ ! -f "$f" ]; then
    echo "$f: no such file (listed in the sources of $t)" >"$work/$i.log"
    echo 1 >"$work/$i.rc"
    return
  fi
  local rc=0
  case "$f" in
    *.rc)
      "$windres" --include-dir="$(dirname "$f")" -i "$f" -O coff -o "$work/$i.res" >"$work/$i.log" 2>&1 || rc=$?
      ;;
    *)
      "$cxx" -std=c++"${tstd[$t]}" -fsyntax-only -Wall -Wextra -Wno-unused-parameter \
        "${windows_defines[@]}" "${flags[@]}" "$f" >"$work/$i.log" 2>&1 || rc=$?
      ;;
  esac
  echo "$rc" >"$work/$i.rc"
}

echo "Compiling ${#jobs_file[@]} sources for Windows with $cxx -fsyntax-only"
running=0
for i in "${!jobs_file[@]}"; do
  compile "$i" "${jobs_target[$i]}" "${jobs_file[$i]}" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then wait -n; running=$((running - 1)); fi
done
wait

failed=0 warned=0
declare -A seen
for i in "${!jobs_file[@]}"; do
  f=${jobs_file[$i]}
  rel=${f#"$top"/}
  if [ -n "${seen[$f]:-}" ]; then continue; fi
  seen[$f]=1
  rc=$(cat "$work/$i.rc" 2>/dev/null || echo 1)
  if [ "$rc" -ne 0 ]; then
    echo "error    $rel"
    sed 's/^/    /' "$work/$i.log"
    failed=$((failed + 1))
  elif [ -s "$work/$i.log" ]; then
    echo "warning  $rel"
    sed 's/^/    /' "$work/$i.log"
    warned=$((warned + 1))
  else
    echo "ok       $rel"
  fi
done

echo "Windows syntax check: ${#seen[@]} sources, $failed with errors, $warned with warnings"
[ "$failed" -eq 0 ]
