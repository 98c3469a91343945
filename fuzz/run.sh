#!/usr/bin/env bash
# Runs every fuzzer built by fuzz/build.sh for the given seconds (default 60),
# each from its seed folder fuzz/corpus/<name without _fuzz>/; new inputs go
# to build/fuzz/corpus/<name>/, crashes to build/fuzz/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
status=0
for program in "$root"/build/fuzz/*_fuzz; do
  [ -x "$program" ] || continue
  name=$(basename "$program" _fuzz)
  work="$root/build/fuzz/corpus/$name"
  mkdir -p "$work"
  echo "== $name"
  (cd "$root/build/fuzz" && "$program" -max_total_time="$seconds" -print_final_stats=1 \
     "$work" "$root/fuzz/corpus/$name") || status=1
done
exit $status
