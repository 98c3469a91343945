# The Wine test bed: a private 16-bit Xvfb (and two 24-bit ones beside it), a
# project-owned Wine prefix and home, a persistent wineserver, code page 932
# and a PulseAudio null sink.
#
# One bed runs the programs of one width of the build: 32 (build/win, the
# 32-bit loader) or 64 (build/win64, the 64-bit loader). Some machines
# refuse i386 programs, so a caller asks testbed_widths which widths can
# run here, then for each: testbed_start WIDTH ... testbed_stop (a trap is
# set). While a bed runs, `wine`, `wine-stable`, `winepath` and `wineboot`
# in PATH start the bed's loader, ZO_WINE names that `wine`, and
# ZO_WIN_BUILD names the build folder whose programs it runs.

testbed_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
testbed_pids=()

testbed_stop() {
  set +e
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k >/dev/null 2>&1; fi
  if [ -n "${ZO_DEEP_PREFIX:-}" ]; then WINEPREFIX=$ZO_DEEP_PREFIX wineserver -k >/dev/null 2>&1; fi
  if [ -n "${ZO_FULL_PREFIX:-}" ]; then WINEPREFIX=$ZO_FULL_PREFIX wineserver -k >/dev/null 2>&1; fi
  if [ -n "${XDG_RUNTIME_DIR:-}" ] && [ -S "$XDG_RUNTIME_DIR/pulse/native" ]; then
    pactl exit >/dev/null 2>&1
  fi
  for pid in "${testbed_pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${testbed_pids[@]}"; do wait "$pid" 2>/dev/null; done
  testbed_pids=()
  if [ -n "${testbed_saved_path:-}" ]; then PATH=$testbed_saved_path; testbed_saved_path=""; fi
  unset WINEPREFIX ZO_DEEP_PREFIX ZO_DEEP_DISPLAY ZO_FULL_PREFIX ZO_FULL_DISPLAY WINELOADER ZO_WINE
}

# The Wine loader of a width.
testbed_loader() {  # 32 | 64
  case "$1" in 32) echo /usr/lib/wine/wine ;; 64) echo /usr/lib/wine/wine64 ;; esac
}

# The build folder whose programs a width runs.
testbed_build() {  # 32 | 64
  case "$1" in 32) echo "$testbed_root/build/win" ;; 64) echo "$testbed_root/build/win64" ;; esac
}

# 0 when this machine runs the loader of the width. A kernel may refuse
# i386 executables outright ("Exec format error"): running the loader is
# the only reliable test.
testbed_can_run() {  # 32 | 64
  local loader
  loader=$(testbed_loader "$1")
  [ -x "$loader" ] && "$loader" --version >/dev/null 2>&1
}

# The widths this machine can run, in the order they are tested. ZO_WIDTHS
# (for example ZO_WIDTHS=64) narrows them to the ones a developer asks for.
testbed_widths() {
  local w out=()
  for w in ${ZO_WIDTHS:-32 64}; do
    testbed_can_run "$w" && out+=("$w")
  done
  echo "${out[*]}"
}

# The width of a program, from the build folder it sits in.
testbed_width_of() {  # path to a .exe
  case "$(cd "$(dirname "$1")" && pwd)" in */build/win64*) echo 64 ;; *) echo 32 ;; esac
}

# Commands in PATH that start the width's loader, so that every program a
# test starts (helpers, winepath, wineboot) runs under the same loader.
testbed_install_loader_commands() {  # width
  local loader bin="$testbed_root/build/run/bin-$1"
  loader=$(testbed_loader "$1")
  mkdir -p "$bin"
  printf '#!/bin/sh\nexport WINELOADER=%s\nexec %s "$@"\n' "$loader" "$loader" >"$bin/wine"
  cp "$bin/wine" "$bin/wine-stable"
  printf '#!/bin/sh\nexec "%s/wine" winepath.exe "$@"\n' "$bin" >"$bin/winepath"
  printf '#!/bin/sh\nexec "%s/wine" wineboot.exe "$@"\n' "$bin" >"$bin/wineboot"
  chmod +x "$bin/wine" "$bin/wine-stable" "$bin/winepath" "$bin/wineboot"
  testbed_saved_path=$PATH
  export PATH="$bin:$PATH" WINELOADER=$loader ZO_WINE="$bin/wine"
}

# The prefix's MIDI output: the build's silent port (tests/win/midi_driver),
# selected as the audio driver, which hands the audio itself on to PulseAudio.
# Runs before the persistent wineserver, so the registry is on disk after it.
testbed_install_midi_port() {
  local driver="$ZO_WIN_BUILD/winezomidi.drv"
  [ -f "$driver" ] || { echo "testbed: no $driver; MIDI tests will find no port" >&2; return 0; }
  # A 32-bit program in a 64-bit prefix loads its drivers from syswow64.
  local dir="$WINEPREFIX/drive_c/windows/system32"
  [ "$ZO_WIDTH" = 32 ] && [ -d "$WINEPREFIX/drive_c/windows/syswow64" ] && dir="$WINEPREFIX/drive_c/windows/syswow64"
  [ -d "$dir" ] || { echo "testbed: no prefix system folder; MIDI tests will find no port" >&2; return 0; }
  cmp -s "$driver" "$dir/winezomidi.drv" || cp "$driver" "$dir/winezomidi.drv"
  if ! grep -q '^"Audio"="zomidi"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d zomidi /f >/dev/null 2>&1
    wineserver -w
  fi
}

testbed_start() {  # [width]: 32 or 64; without one, the first width that runs here
  local width=${1:-}
  [ -n "$width" ] || width=$(testbed_widths | cut -d' ' -f1)
  if [ -z "$width" ]; then
    echo "testbed: this machine runs neither the 32-bit nor the 64-bit Wine loader" >&2
    return 2
  fi
  if ! testbed_can_run "$width"; then
    echo "testbed: this machine cannot run $width-bit Windows programs ($(testbed_loader "$width") does not run)" >&2
    return 2
  fi
  local build="$testbed_root/build"
  mkdir -p "$build/home" "$build/run"
  chmod 700 "$build/run"
  export ZO_WIDTH=$width ZO_WIN_BUILD
  ZO_WIN_BUILD=$(testbed_build "$width")
  export HOME="$build/home" XDG_RUNTIME_DIR="$build/run"
  # The 32-bit bed keeps the prefix it always had; the 64-bit one has its own.
  if [ "$width" = 32 ]; then export WINEPREFIX="$build/wine"; else export WINEPREFIX="$build/wine64"; fi
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export LC_ALL=ja_JP.UTF-8 2>/dev/null
  testbed_install_loader_commands "$width"
  trap testbed_stop EXIT

  # Xvfb picks a free display and tells it through a pipe.
  local fifo="$build/run/displayfd"
  rm -f "$fifo"; mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x16 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  testbed_pids+=($!)
  local display
  read -r -t 20 display <"$fifo" || { echo "testbed: Xvfb did not start" >&2; return 1; }
  rm -f "$fifo"
  export DISPLAY=":$display"
  testbed_start_screen 1024x768x24 ZO_DEEP_DISPLAY
  testbed_start_screen 640x480x24 ZO_FULL_DISPLAY

  # A real-time audio device for DirectSound: a null sink whose monitor can be recorded.
  if ! pulseaudio -n --daemonize=yes --exit-idle-time=-1 --disable-shm=yes \
      -L "module-null-sink sink_name=out rate=44100 channels=2" \
      -L module-native-protocol-unix -L module-always-sink >/dev/null 2>&1; then
    echo "testbed: PulseAudio did not start; sound tests will find no device" >&2
  fi

  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  testbed_install_midi_port
  # A crashing program ends with its backtrace instead of waiting for a
  # crash dialog that nobody can answer.
  if ! grep -q '"ShowCrashDialog"=dword:00000000' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
  fi
  # DirectDraw through Wine's CPU renderer on both widths: its OpenGL one
  # (which only the 64-bit loader finds libraries for here) samples
  # stretched blits differently and presents frames that a read of the
  # desktop does not see.
  if ! grep -q '"renderer"="gdi"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d gdi /f >/dev/null 2>&1
    wineserver -w
  fi
  testbed_make_deep_prefix
  wineserver -p
}

# The programs for the other screens run in copies of the prefix with their
# own wineservers: a server reports the screen of the display it started on
# to every program, whatever display a later one names.
testbed_make_deep_prefix() {
  [ -n "${ZO_DEEP_DISPLAY:-}" ] && export ZO_DEEP_PREFIX="$WINEPREFIX-deep" && testbed_copy_prefix "$ZO_DEEP_PREFIX"
  [ -n "${ZO_FULL_DISPLAY:-}" ] && export ZO_FULL_PREFIX="$WINEPREFIX-full" && testbed_copy_prefix "$ZO_FULL_PREFIX"
  return 0
}

testbed_copy_prefix() {  # folder
  if [ ! -f "$1/system.reg" ] || [ "$WINEPREFIX/user.reg" -nt "$1/system.reg" ]; then
    rm -rf "$1"
    # Hard links for the large system folders; real copies of what Wine writes.
    cp -al "$WINEPREFIX" "$1"
    for f in "$1"/*.reg; do cp --remove-destination "$WINEPREFIX/$(basename "$f")" "$f"; done
  fi
}

# More private Xvfb screens beside the 16-bit one: a 24-bit one (windowed
# DirectDraw sees a 32-bit screen there) for the operations that refuse a
# 16-bit one, and one of exactly 640 x 480 at 24 bits, the one size Xvfb
# offers, so that a full-screen game can change the display mode there.
# The display goes to the named variable; testbed_stop ends them with the rest.
testbed_start_screen() {  # geometry, variable
  local fifo="$testbed_root/build/run/screenfd"
  rm -f "$fifo"; mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  testbed_pids+=($!)
  local display
  if read -r -t 20 display <"$fifo"; then
    export "$2=:$display"
  else
    echo "testbed: the $1 Xvfb did not start" >&2
  fi
  rm -f "$fifo"
}
