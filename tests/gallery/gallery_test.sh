#!/usr/bin/env bash
# The effect gallery as a visual regression test: draws every picture again
# on the test bed (which must be started) and compares its pixels with
# docs/effects/checksums.txt, one case per picture. A picture that differs
# is left in build/gallery-check/ beside the committed one and their
# difference. Also checks that the committed pictures and docs/effects.md
# agree with the gallery. Writes a JUnit report: gallery_test.sh <root> <report.xml>
set -uo pipefail
root=$1 report=$2
source "$root/scripts/lib/testbed.sh"
source "$root/scripts/lib/gallery.sh"
source "$root/tests/lib/junit.sh"
junit_class=Gallery$ZO_WIDTH
docs="$root/docs/effects"
saved="$ZO_WIN_BUILD/effects"
check="$root/build/gallery-check-$ZO_WIDTH"
rm -rf "$check"; mkdir -p "$check"

out=$(gallery_run 2>&1); status=$?
[ $status -eq 0 ] || out="$out
$(tail -20 "$root/build/gallery.log")"
junit_record DrawsAndSavesEveryPicture $status "$out"
if [ $status -ne 0 ]; then junit_write "$report"; exit 0; fi

# One case per committed checksum: the regenerated picture's pixels, kept
# beside the report so that the widths can be compared with each other.
gallery_checksums "$saved" bmp >"${report%.xml}.sums"
declare -A expected
while read -r sum name; do expected[$name]=$sum; done <"$docs/checksums.txt"
for name in $(cut -d' ' -f3 "$docs/checksums.txt"); do
  if [ ! -f "$saved/$name.bmp" ]; then
    junit_record "$name" 1 "the gallery drew no picture $name"; continue
  fi
  sum=$(awk -v n="$name" '$2 == n { print $1 }' "${report%.xml}.sums")
  if [ "$sum" = "${expected[$name]}" ]; then
    junit_record "$name" 0
  else
    convert "$saved/$name.bmp" "$check/$name.png"
    cp "$docs/$name.png" "$check/$name-expected.png" 2>/dev/null
    compare "$check/$name.png" "$check/$name-expected.png" "$check/$name-difference.png" 2>/dev/null
    junit_record "$name" 1 "pixels differ from docs/effects/$name.png: see $check/$name*.png"
  fi
done

# Every picture the gallery draws has a checksum (a new effect needs scripts/gallery).
out=$(diff <(cut -f1 "$saved/index.txt") <(cut -d' ' -f3 "$docs/checksums.txt")); status=$?
junit_record ChecksumsListEveryPicture $status "gallery pictures (<) against checksums (>):
$out"

# The committed pictures are the ones the checksums describe.
out=""
for name in $(cut -d' ' -f3 "$docs/checksums.txt"); do
  [ -f "$docs/$name.png" ] || { out="$out
missing docs/effects/$name.png"; continue; }
  [ "$(gallery_pixel_sum "$docs/$name.png")" = "${expected[$name]}" ] || out="$out
docs/effects/$name.png does not match its checksum"
done
[ -z "$out" ]; junit_record CommittedPicturesMatchChecksums $? "$out"

out=$(python3 "$root/tools/effects_page.py" "$saved/index.txt" "$root/docs/effects.md" --check 2>&1)
junit_record PageMatchesGallery $? "$out"

# On the 24-bit screen the gallery's 5-6-5 frames draw every effect with the
# same pixels as on the 16-bit one.
out=$(gallery_run deep 2>&1) && out=$(diff <(gallery_checksums "$saved" bmp) "$docs/checksums.txt")
junit_record DeepScreenDrawsTheSamePictures $? "24-bit screen (<) against the checksums (>):
$out"

junit_write "$report"
