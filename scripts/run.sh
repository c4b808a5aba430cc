#!/usr/bin/env bash
# Installs what is missing, builds, and does the tool's main job: updates the
# emulated device from a demo folder of four update files. With a display
# (DISPLAY set) the dialog is yours to use; without one, the update button is
# pressed for you on a virtual display and pictures land in build/demo/.
# Either way, what the device received is checked against the files.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing
find_wine
configure_and_build
trap 'stop_emulator; stop_all' EXIT
start_display
start_wine

DEMO_DIR=$BUILD_DIR/demo
FILES_DIR=$DEMO_DIR/files
CAPTURE=$DEMO_DIR/capture.bin
EMULATOR_PID=""
STAGE_FILES=(firmware.qv9 KALDER_IMG.qv9 KALDER_PCM.qv9 fdata.qvx)

windows_path() { local p=$1; echo "Z:${p//\//\\}"; }

stop_emulator() {
  if [ -n "$EMULATOR_PID" ]; then
    kill "$EMULATOR_PID" >/dev/null 2>&1 || true
    wait "$EMULATOR_PID" 2>/dev/null || true
    EMULATOR_PID=""
  fi
}

start_emulator() {
  export QUELVO_DEVICE="QuelvoDemo-$$"
  # A one-byte pipe buffer makes each write complete only once the device has
  # read it, as on USB, so what one stage wrote never trails into the next.
  "$WINE64" "$BUILD_DIR/bin/DeviceEmulator.exe" --name "$QUELVO_DEVICE" --buffer 1 \
    --capture "$(windows_path "$CAPTURE")" >"$DEMO_DIR/emulator.log" 2>&1 &
  EMULATOR_PID=$!
  for _ in $(seq 1 100); do
    grep -q '^ready' "$DEMO_DIR/emulator.log" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "The device emulator did not start:" >&2
  cat "$DEMO_DIR/emulator.log" >&2
  exit 1
}

# What the device must have received: the identification request, then per
# file its start command (bytes 0..19) and its payload (from byte 1024 on).
check_capture() {
  local expected=$DEMO_DIR/expected.bin
  {
    printf '!'
    for name in "${STAGE_FILES[@]}"; do
      head -c 20 "$FILES_DIR/$name"
      tail -c +1025 "$FILES_DIR/$name"
    done
  } >"$expected"
  sleep 0.2  # the emulator writes its capture out every 20 ms
  if cmp -s "$expected" "$CAPTURE"; then
    echo "The device received every file whole and in order ($(stat -c %s "$CAPTURE") bytes)."
  else
    echo "The device did not receive the files as they are: see $CAPTURE and $expected." >&2
    return 1
  fi
}

rm -rf "$DEMO_DIR"
mkdir -p "$DEMO_DIR"
"$ROOT_DIR/scripts/make-demo-files.sh" "$FILES_DIR"
start_emulator
echo "Demo folder: $FILES_DIR"

if [ "$HEADLESS" = 1 ]; then
  "$WINE64" "$BUILD_DIR/bin/QuelvoDemo.exe" "$(windows_path "$FILES_DIR")" \
    "$(windows_path "$DEMO_DIR")" --update
else
  echo "Press the update button in the dialog, then close it."
  (cd "$FILES_DIR" && "$WINE64" "$BUILD_DIR/bin/Quelvo.exe")
fi
check_capture
