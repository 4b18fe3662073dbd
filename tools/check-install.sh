#!/usr/bin/env bash
# Installs the built program into a temporary prefix and checks what lands
# there: the program folder, the link in bin/, the menu entry, the icons, the
# metainfo and the manual page. The menu entry goes through
# desktop-file-validate and the metainfo through appstreamcli validate
# --no-net; an error or warning from either fails the check.
#
#   bash tools/check-install.sh CMAKE BUILD_DIR SOURCE_DIR APP_ID VERSION PROGRAM_SUBDIR
#
# Run by CTest as the test "install" (cmake/Install.cmake passes the
# arguments); the build must be done first.
set -uo pipefail

if [ $# -ne 6 ]; then
  echo "usage: bash tools/check-install.sh CMAKE BUILD_DIR SOURCE_DIR APP_ID VERSION PROGRAM_SUBDIR" >&2
  exit 2
fi
cmake=$1 build=$2 top=$3 id=$4 version=$5 programsub=$6

problems=0
fail() { echo "FAIL: $*"; problems=$((problems + 1)); }
ok() { echo "ok:   $*"; }

for tool in desktop-file-validate appstreamcli readelf; do
  if ! command -v "$tool" >/dev/null; then
    echo "check-install: $tool is missing (Debian: desktop-file-utils, appstream, binutils)" >&2
    exit 1
  fi
done

work=$(mktemp -d)
P=$work/prefix
# cmake --install rewrites the build folder's install_manifest.txt; keep the
# one a real install left there, which is what uninstalling goes by.
manifest=$build/install_manifest.txt
if [ -f "$manifest" ]; then cp -p "$manifest" "$work/manifest.saved"; fi
restore() {
  if [ -f "$work/manifest.saved" ]; then cp -p "$work/manifest.saved" "$manifest"; else rm -f "$manifest"; fi
  rm -rf "$work"
}
trap restore EXIT

if ! "$cmake" --install "$build" --prefix "$P" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "FAIL: cmake --install did not finish"
  exit 1
fi
ok "cmake --install $build --prefix <temporary>"

# ---- the program folder, as the build has it ------------------------------
progdir=$P/$programsub
if [ -f "$progdir/yanping" ] && [ ! -L "$progdir/yanping" ] && [ -x "$progdir/yanping" ]; then
  ok "$programsub/yanping is an executable file"
else
  fail "$programsub/yanping is not an executable file"
fi
listing=$(cd "$progdir" 2>/dev/null && ls -A | tr '\n' ' ')
if [ "$listing" = "fonts.conf god picture translations yanping " ]; then
  ok "$programsub holds yanping, fonts.conf, god/, picture/ and translations/ and nothing else"
else
  fail "$programsub holds: $listing (expected fonts.conf god picture translations yanping)"
fi
for sub in god picture translations; do
  if diff -r "$build/program/$sub" "$progdir/$sub" >"$work/diff.log" 2>&1; then
    ok "$programsub/$sub is the build's program/$sub ($(find "$progdir/$sub" -type f | wc -l) files)"
  else
    fail "$programsub/$sub differs from the build's program/$sub:"; sed 's/^/    /' "$work/diff.log"
  fi
done
for region in zh_TW zh_HK; do
  [ -s "$progdir/translations/yanping_$region.qm" ] \
    && ok "$programsub/translations/yanping_$region.qm" || fail "no $programsub/translations/yanping_$region.qm"
done
# Installing may rewrite the library search path, so compare build IDs.
build_id() { readelf -n "$1" 2>/dev/null | sed -n 's/.*Build ID: *//p'; }
built_id=$(build_id "$build/program/yanping")
if [ -n "$built_id" ] && [ "$(build_id "$progdir/yanping")" = "$built_id" ]; then
  ok "$programsub/yanping is the built executable (build ID $built_id)"
else
  fail "$programsub/yanping is not the built executable"
fi
if readelf -d "$progdir/yanping" 2>/dev/null | grep -Eq '\((RPATH|RUNPATH)\)'; then
  fail "$programsub/yanping carries a library search path: $(readelf -d "$progdir/yanping" | grep -E 'RPATH|RUNPATH')"
else
  ok "$programsub/yanping carries no library search path"
fi

# ---- bin/yanping -----------------------------------------------------------
link=$P/bin/yanping
if [ -L "$link" ]; then
  target=$(readlink "$link")
  case "$target" in
    /*) fail "bin/yanping points to an absolute path: $target" ;;
    *) ok "bin/yanping is a relative link: $target" ;;
  esac
  if [ -x "$link" ] && [ "$(realpath "$link")" = "$(realpath "$progdir/yanping")" ]; then
    ok "bin/yanping resolves to $programsub/yanping"
  else
    fail "bin/yanping does not resolve to $programsub/yanping"
  fi
else
  fail "bin/yanping is not a symbolic link"
fi

# ---- menu entry ------------------------------------------------------------
desktop=$P/share/applications/$id.desktop
if [ -f "$desktop" ]; then
  if desktop-file-validate "$desktop" >"$work/dfv.log" 2>&1 && ! grep -Eq 'error|warning' "$work/dfv.log"; then
    ok "desktop-file-validate $id.desktop"
  else
    fail "desktop-file-validate $id.desktop:"; sed 's/^/    /' "$work/dfv.log"
  fi
  value() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
  [ "$(value Icon)" = "$id" ] && ok "Icon=$id" || fail "Icon is '$(value Icon)', not $id"
  exec_word=$(value Exec); exec_word=${exec_word%% *}
  [ "$exec_word" = yanping ] && [ -x "$P/bin/$exec_word" ] \
    && ok "Exec=yanping, installed as bin/yanping" || fail "Exec '$exec_word' is not the installed bin/yanping"
  [ "$(value Name)" = 衍枰占卜 ] && [ "$(value 'Name\[zh_CN\]')" = 衍枰占卜 ] \
    && ok "Name and Name[zh_CN] are 衍枰占卜" || fail "Name or Name[zh_CN] is not 衍枰占卜"
  for region in zh_TW zh_HK; do
    [ "$(value "Name\\[$region\\]")" = 衍枰占卜 ] && [ -n "$(value "Comment\\[$region\\]")" ] \
      && ok "Name[$region] is 衍枰占卜, Comment[$region] is set" || fail "Name[$region] or Comment[$region] is missing"
    [ "$(value "GenericName\\[$region\\]")" = 占卜 ] && value "Keywords\\[$region\\]" | grep -q '求籤' \
      && ok "GenericName[$region] is 占卜, Keywords[$region] find 求籤" || fail "GenericName[$region] or Keywords[$region] is missing"
  done
  for key in 'Comment\[zh_CN\]' 'Keywords\[zh_CN\]' Categories; do
    [ -n "$(value "$key")" ] && ok "${key//\\/} is set" || fail "${key//\\/} is missing"
  done
  [ "$(value Terminal)" = false ] && ok "Terminal=false" || fail "Terminal is not false"
else
  fail "no share/applications/$id.desktop"
fi

# ---- icons -----------------------------------------------------------------
png_size() { # prints "W H" from the PNG header, or nothing
  local bytes
  bytes=$(od -An -tu1 -N24 "$1" 2>/dev/null | tr -s ' \n' ' ') || return
  set -- $bytes
  [ $# -eq 24 ] && [ "$1 $2 $3 $4" = "137 80 78 71" ] || return
  echo "$(( (${17} << 24) | (${18} << 16) | (${19} << 8) | ${20} )) $(( (${21} << 24) | (${22} << 16) | (${23} << 8) | ${24} ))"
}
for size in 16 24 32 48 64 128 256; do
  icon=$P/share/icons/hicolor/${size}x${size}/apps/$id.png
  if [ ! -f "$icon" ]; then
    fail "no icon at ${size}x${size}"
  elif [ "$(png_size "$icon")" = "$size $size" ]; then
    ok "icon ${size}x${size}: a PNG of $size x $size pixels"
  else
    fail "icon ${size}x${size} is not a PNG of that size ($(png_size "$icon"))"
  fi
done
# The menu icon is the windows' icon: the same drawing, the same bytes.
cmp -s "$P/share/icons/hicolor/32x32/apps/$id.png" "$top/resources/icon.png" \
  && cmp -s "$P/share/icons/hicolor/256x256/apps/$id.png" "$top/resources/icon256.png" \
  && ok "the 32 and 256 pixel icons are the window icon's resources/icon.png and icon256.png" \
  || fail "the installed icons differ from the window icon (resources/icon.png, icon256.png)"

# ---- metainfo --------------------------------------------------------------
meta=$P/share/metainfo/$id.metainfo.xml
if [ -f "$meta" ]; then
  if appstreamcli validate --no-net "$meta" >"$work/as.log" 2>&1; then
    ok "appstreamcli validate --no-net $id.metainfo.xml"
  else
    fail "appstreamcli validate --no-net $id.metainfo.xml:"; sed 's/^/    /' "$work/as.log"
  fi
  grep -q "<id>$id</id>" "$meta" && ok "metainfo id $id" || fail "metainfo id is not $id"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$meta" \
    && ok "metainfo launches $id.desktop" || fail "metainfo does not launch $id.desktop"
  for lang in zh-TW zh-HK; do
    for tag in name summary p caption; do
      grep -q "<$tag xml:lang=\"$lang\">" "$meta" && ok "metainfo $tag in $lang" || fail "metainfo has no $tag in $lang"
    done
  done
  grep -q "<release version=\"$version\"" "$meta" \
    && ok "metainfo release $version" || fail "metainfo has no release $version"
else
  fail "no share/metainfo/$id.metainfo.xml"
fi

# ---- manual page -----------------------------------------------------------
if gzip -dc "$P/share/man/man1/yanping.1.gz" 2>/dev/null | grep -q '^\.TH YANPING 1'; then
  ok "share/man/man1/yanping.1.gz"
else
  fail "no readable share/man/man1/yanping.1.gz"
fi

# ---- nothing else ----------------------------------------------------------
others=$(cd "$P" && find . \( -type f -o -type l \) \
  ! -path "./$programsub/*" ! -path ./bin/yanping ! -path "./share/applications/$id.desktop" \
  ! -path "./share/icons/hicolor/*/apps/$id.png" ! -path "./share/metainfo/$id.metainfo.xml" \
  ! -path ./share/man/man1/yanping.1.gz ! -path './share/doc/yanping/*')
if [ -z "$others" ]; then
  ok "nothing else installed (besides share/doc/yanping)"
else
  fail "unexpected files installed:"; echo "$others" | sed 's/^/    /'
fi

if [ "$problems" -ne 0 ]; then
  echo "check-install: $problems problem(s)"
  exit 1
fi
echo "check-install: the installed layout is complete"
