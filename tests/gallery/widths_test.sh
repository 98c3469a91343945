#!/usr/bin/env bash
# The 32-bit and the 64-bit builds draw every gallery picture with the same
# pixels: widths_test.sh <32-bit sums> <64-bit sums> <report.xml>
set -uo pipefail
sums32=$1 sums64=$2 report=$3
source "$(dirname "$0")/../lib/junit.sh"
junit_class=GalleryWidths
out=$(diff "$sums32" "$sums64"); status=$?
junit_record SameChecksumsOnBothWidths $status "32-bit (<) against 64-bit (>):
$out"
junit_write "$report"
