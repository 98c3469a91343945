# The Wine test bed: a private 16-bit Xvfb, a project-owned Wine prefix and
# home, a persistent wineserver, code page 932 and a PulseAudio null sink.
# Source it, call testbed_start, and testbed_stop when done (a trap is set).

testbed_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
testbed_pids=()

testbed_stop() {
  set +e
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k >/dev/null 2>&1; fi
  if [ -n "${ZO_DEEP_PREFIX:-}" ]; then WINEPREFIX=$ZO_DEEP_PREFIX wineserver -k >/dev/null 2>&1; fi
  if [ -n "${XDG_RUNTIME_DIR:-}" ] && [ -S "$XDG_RUNTIME_DIR/pulse/native" ]; then
    pactl exit >/dev/null 2>&1
  fi
  for pid in "${testbed_pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${testbed_pids[@]}"; do wait "$pid" 2>/dev/null; done
  testbed_pids=()
}

# 0 when this machine can run the 32-bit Wine loader. Some kernels refuse
# i386 executables outright ("Exec format error"); Windows programs cannot
# run there at all, so the callers skip them instead of failing.
testbed_can_run_win32() {
  local loader=/usr/lib/wine/wine
  [ -x "$loader" ] || loader=$(command -v wine)
  "$loader" --version >/dev/null 2>&1
}

# The prefix's MIDI output: the build's silent port (tests/win/midi_driver),
# selected as the audio driver, which hands the audio itself on to PulseAudio.
# Runs before the persistent wineserver, so the registry is on disk after it.
testbed_install_midi_port() {
  local driver="$testbed_root/build/win/winezomidi.drv"
  [ -f "$driver" ] || { echo "testbed: no $driver; MIDI tests will find no port" >&2; return 0; }
  local dir="$WINEPREFIX/drive_c/windows/syswow64"
  [ -d "$dir" ] || dir="$WINEPREFIX/drive_c/windows/system32"
  [ -d "$dir" ] || { echo "testbed: no prefix system folder; MIDI tests will find no port" >&2; return 0; }
  cmp -s "$driver" "$dir/winezomidi.drv" || cp "$driver" "$dir/winezomidi.drv"
  if ! grep -q '^"Audio"="zomidi"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d zomidi /f >/dev/null 2>&1
    wineserver -w
  fi
}

testbed_start() {
  local build="$testbed_root/build"
  if ! testbed_can_run_win32; then
    echo "testbed: this machine cannot run 32-bit programs (the kernel refuses i386 executables); Windows programs cannot run here" >&2
    return 2
  fi
  mkdir -p "$build/home" "$build/run"
  chmod 700 "$build/run"
  export HOME="$build/home" XDG_RUNTIME_DIR="$build/run"
  export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export LC_ALL=ja_JP.UTF-8 2>/dev/null
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
  testbed_start_deep_screen

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
  testbed_make_deep_prefix
  wineserver -p
}

# The programs for the 24-bit screen run in a copy of the prefix with its
# own wineserver: a server reports the screen of the display it started on
# to every program, whatever display a later one names.
testbed_make_deep_prefix() {
  [ -n "${ZO_DEEP_DISPLAY:-}" ] || return 0
  export ZO_DEEP_PREFIX="$testbed_root/build/wine-deep"
  if [ ! -f "$ZO_DEEP_PREFIX/system.reg" ] || [ "$WINEPREFIX/user.reg" -nt "$ZO_DEEP_PREFIX/system.reg" ]; then
    rm -rf "$ZO_DEEP_PREFIX"
    # Hard links for the large system folders; real copies of what Wine writes.
    cp -al "$WINEPREFIX" "$ZO_DEEP_PREFIX"
    for f in "$ZO_DEEP_PREFIX"/*.reg; do cp --remove-destination "$WINEPREFIX/$(basename "$f")" "$f"; done
  fi
}

# A second private Xvfb at 24 bits (windowed DirectDraw sees a 32-bit
# screen there), for the operations that refuse a 16-bit one. Its display
# goes to ZO_DEEP_DISPLAY; testbed_stop ends it with the rest.
testbed_start_deep_screen() {
  local fifo="$testbed_root/build/run/deepfd"
  rm -f "$fifo"; mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  testbed_pids+=($!)
  local display
  if read -r -t 20 display <"$fifo"; then
    export ZO_DEEP_DISPLAY=":$display"
  else
    echo "testbed: the 24-bit Xvfb did not start" >&2
  fi
  rm -f "$fifo"
}
