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
# The stored figures reach the tables: a kernel's row with both forms and
# their instruction counts, a kernel with one form, the tally of targets
# (the half blend judged by its AVX2 rate: 150 against SDL's 300).
out=$(grep -c '^| Half blend | 100 | 150 | 2,000/1,500 | SDL alpha 128, keyed | 300 | 0.50 |' "$work/README.md"
      grep -c '^| Rotation, plain | [0-9.]* | — | 1,000 |' "$work/README.md"
      grep -c 'targets met, ' "$work/README.md")
[ "$(echo $out)" = "1 1 1" ]
junit_record TablesHoldTheStoredFigures $? "rows found: $out"
junit_write "$report"
