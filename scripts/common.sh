# Shared by the README's commands: install what is missing, find Wine, give the
# build its own Wine prefix, and make sure there is a display and one
# wineserver for the whole run.
set -euo pipefail

ROOT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT_DIR/build}
PACKAGES=(g++-mingw-w64-x86-64-posix wine64 xvfb googletest cmake make)

install_missing() {
  local missing=()
  for pkg in "${PACKAGES[@]}"; do
    dpkg -s "$pkg" >/dev/null 2>&1 || missing+=("$pkg")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

find_wine() {
  WINE64=$(command -v wine64 || true)
  for candidate in /usr/lib/wine/wine64 /usr/lib/x86_64-linux-gnu/wine/wine64; do
    [ -n "$WINE64" ] || { [ -x "$candidate" ] && WINE64=$candidate; } || true
  done
  [ -n "$WINE64" ] || { echo "wine64 not found" >&2; exit 1; }
  WINESERVER=$(dirname "$WINE64")/wineserver
  [ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver)
  export WINE64 WINESERVER
}

XVFB_PID=""
start_display() {
  if [ -z "${DISPLAY:-}" ]; then
    local n
    for n in $(seq 90 120); do
      [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    HEADLESS=1
  else
    HEADLESS=0
  fi
  export HEADLESS
}

start_wine() {
  export WINEPREFIX=${WINEPREFIX:-$BUILD_DIR/wineprefix}
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$WINE64" wineboot -i >/dev/null 2>&1 || true
  fi
  # A persistent server keeps every test program's start-up short.
  "$WINESERVER" -p 2>/dev/null || true
  # The first program on a fresh server starts Wine's background services, which
  # inherit its output; started here, they hold no pipe that ctest waits on.
  "$WINE64" wineboot >/dev/null 2>&1 </dev/null || true
  # On a virtual display there is no window manager, and Wine waits about 2 s
  # for one at every window close unless its windows are unmanaged.
  local managed=Y
  [ "${HEADLESS:-0}" = 1 ] && managed=N
  "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f \
    >/dev/null 2>&1 </dev/null || true
}

stop_all() {
  if [ -n "${WINESERVER:-}" ] && [ -n "${WINEPREFIX:-}" ]; then
    "$WINESERVER" -k >/dev/null 2>&1 || true
  fi
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" >/dev/null 2>&1 || true
  fi
}

configure_and_build() {
  cmake -S "$ROOT_DIR" -B "$BUILD_DIR" \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT_DIR/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD_DIR" -j "$(nproc)"
}
