#!/usr/bin/env bash
# Installs the library into a temporary prefix, both widths where both are
# built, builds the game template there with the bed's width through
# find_package(zo) and through the README's one-line command, and runs both
# games on the test bed (which must be started). Writes a JUnit report:
# install_test.sh <root> <report.xml>
set -uo pipefail
root=$1 report=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$root/tests/lib/junit.sh"
junit_class=Package$ZO_WIDTH

# Runs a game until its window shows, then ends it with Escape: exit code 0.
run_game() {  # folder, exe
  local dir=$1 exe=$2 window="" pid
  (cd "$dir" && exec wine "./$exe") >"$work/run.log" 2>&1 &
  pid=$!
  for _ in $(seq 100); do
    window=$(xdotool search --name '^Tessaro$' 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.2
  done
  if [ -z "$window" ]; then kill "$pid" 2>/dev/null; wait "$pid"; echo "no window appeared"; return 1; fi
  sleep 1
  xdotool windowfocus "$window" 2>/dev/null
  xdotool key --window "$window" Escape
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
  if kill -0 "$pid" 2>/dev/null; then kill "$pid"; wait "$pid"; echo "Escape did not end it"; return 1; fi
  wait "$pid"
}

# The other width first, so that the bed's own must be picked from beside it.
if [ "$ZO_WIDTH" = 64 ]; then own=win64 other=win32 toolchain=mingw-x86_64 compiler=x86_64-w64-mingw32-g++-posix
else own=win32 other=win64 toolchain=mingw-i686 compiler=i686-w64-mingw32-g++-posix; fi
other_build="$root/build/win"; [ "$other" = win64 ] && other_build="$root/build/win64"
prefix="$work/prefix"
out=""
[ -f "$other_build/libzo.a" ] && out=$(cmake --install "$other_build" --prefix "$prefix" 2>&1)
out="$out$(cmake --install "$ZO_WIN_BUILD" --prefix "$prefix" 2>&1)"
status=$?
for f in include/zo.h include/zo/draw.h lib/$own/libzo.a lib/cmake/zo/zoConfig.cmake lib/cmake/zo/zoTargets-$own.cmake \
         lib/pkgconfig/zo.pc; do
  [ -f "$prefix/$f" ] || { status=1; out="$out
missing $f"; }
done
junit_record InstallsHeadersLibraryAndPackages $status "$out"

# find_package(zo) from a copy of the template.
cp -r "$root/templates/game" "$work/cmake-game"
out=$( { cmake -S "$work/cmake-game" -B "$work/cmake-game/build" \
           -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" -DCMAKE_PREFIX_PATH="$prefix" &&
         cmake --build "$work/cmake-game/build"; } 2>&1)
status=$?
junit_record TemplateBuildsWithFindPackage $status "$out"
if [ $status -eq 0 ]; then
  out=$(run_game "$work/cmake-game/build" game.exe 2>&1); status=$?
  junit_record TemplateGameFromFindPackageRuns $status "$out"
fi

# The README's one-line command, exactly as written, with ZO the prefix.
cp -r "$root/templates/game" "$work/plain-game"
command=$(sed -n '/^## Your own game/,/^## /p' "$root/README.md" | grep -m1 '^i686-w64-mingw32-g++-posix ')
command=${command/#i686-w64-mingw32-g++-posix/$compiler}  # the same line with the bed's compiler
if [ -z "$command" ]; then
  junit_record ReadmeCommandBuildsTheTemplate 1 "no one-line command in the README's Your own game section"
else
  out=$(cd "$work/plain-game" && ZO="$prefix" bash -c "$command" 2>&1); status=$?
  [ -f "$work/plain-game/game.exe" ] || status=1
  junit_record ReadmeCommandBuildsTheTemplate $status "$command
$out"
  if [ $status -eq 0 ]; then
    out=$(run_game "$work/plain-game" game.exe 2>&1); status=$?
    junit_record TemplateGameFromReadmeCommandRuns $status "$out"
  fi
fi

# pkg-config describes the same link.
out=$(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --libs --cflags zo 2>&1); status=$?
case "$out" in *-lzo*-lddraw*) ;; *) status=1 ;; esac
junit_record PkgConfigNamesTheLibraries $status "$out"

junit_write "$report"
