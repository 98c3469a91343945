#!/usr/bin/env bash
# Builds every fuzz/*_fuzz.cpp as a libFuzzer program in build/fuzz/, linked
# with the platform-free library sources, with AddressSanitizer and UBSan:
#   zo-slot fuzz/build.sh            then   fuzz/run.sh [seconds per target]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build/fuzz"
mkdir -p "$out/obj"
cxx=${CXX_FUZZ:-clang++}
flags=(-std=c++17 -g -O1 -fno-omit-frame-pointer -fsanitize=address,undefined
       -fno-sanitize-recover=undefined -I"$root/include" -I"$root/src")

# The library's platform-free sources, each compiled once into one archive;
# a target pulls in only what it uses.
objects=()
while IFS= read -r src; do
  rel=${src#"$root/src/"}
  obj="$out/obj/${rel//\//_}.o"
  if [ ! -e "$obj" ] || [ "$src" -nt "$obj" ]; then
    "$cxx" "${flags[@]}" -fsanitize=fuzzer-no-link -c "$src" -o "$obj"
  fi
  objects+=("$obj")
done < <(find "$root/src" -name '*.cpp' ! -name '*_win.cpp' ! -path '*/app/demo*' | sort)
rm -f "$out/libzo_fuzz.a"
ar rcs "$out/libzo_fuzz.a" "${objects[@]}"

for target in "$root"/fuzz/*_fuzz.cpp; do
  name=$(basename "$target" .cpp)
  "$cxx" "${flags[@]}" -fsanitize=fuzzer "$target" "$out/libzo_fuzz.a" -o "$out/$name"
  echo "built build/fuzz/$name"
done
