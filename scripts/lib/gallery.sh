# The effect gallery's pictures, shared by scripts/gallery and the gallery
# test. Needs a started test bed (scripts/lib/testbed.sh).

# Runs the bed's gallery.exe, which writes effects/*.bmp and index.txt
# beside it; 0 when every picture was drawn and saved. With "deep" it runs
# on the bed's 24-bit screen, where the gallery keeps 5-6-5 frames.
gallery_run() {  # [deep]
  local win="$ZO_WIN_BUILD" screen=()
  [ "${1:-}" = deep ] && screen=(env WINEPREFIX="$ZO_DEEP_PREFIX" DISPLAY="$ZO_DEEP_DISPLAY")
  rm -rf "$win/effects"
  (cd "$win" && timeout "${GALLERY_TIMEOUT:-120}" "${screen[@]}" wine ./gallery.exe) >"$testbed_root/build/gallery.log" 2>&1
  local rc=$?
  [ $rc -eq 0 ] || { echo "gallery: gallery.exe ended with code $rc" >&2; return 1; }
  [ -s "$win/effects/index.txt" ] || { echo "gallery: no index.txt" >&2; return 1; }
}

# The checksum of a picture's pixels, whatever its file format: the same
# for the saved BMP and the PNG made from it.
gallery_pixel_sum() {  # file
  convert "$1" -depth 8 rgb:- | sha256sum | cut -d' ' -f1
}

# "<sum>  <name>" for every picture of the index, in its order.
gallery_checksums() {  # folder holding index.txt and the pictures, extension
  local dir=$1 ext=$2 name
  cut -f1 "$dir/index.txt" | while read -r name; do
    echo "$(gallery_pixel_sum "$dir/$name.$ext")  $name"
  done
}
