#!/usr/bin/env bash
# bench/report.py writes every table of bench/README.md from a small stored
# run (tests/bench/results), so that the report cannot break unseen between
# benchmark runs. Writes a JUnit report: report_test.sh <root> <report.xml>
set -uo pipefail
root=$1 report=$2
source "$root/tests/lib/junit.sh"
junit_class=BenchReport
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root/bench/README.md" "$work/README.md"
out=$(python3 "$root/bench/report.py" --results "$root/tests/bench/results" --readme "$work/README.md" \
        --instructions "$root/tests/bench/results/instructions.txt" --command "scripts/bench" --flags="--stored-run" 2>&1)
junit_record WritesEveryTableOfTheReadme $? "$out"
# The stored figures reach the tables: a kernel's row with its instruction
# count, a count found under another name (the rotations), the tally of targets.
out=$(grep -c '^| Half blend | [0-9.]* | 2,000 |' "$work/README.md"; grep -c '^| Rotation, plain | [0-9.]* | 1,000 |' "$work/README.md"
      grep -c 'targets met, ' "$work/README.md")
[ "$(echo $out)" = "1 1 1" ]
junit_record TablesHoldTheStoredFigures $? "rows found: $out"
junit_write "$report"
