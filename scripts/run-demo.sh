#!/usr/bin/env bash
# Installs what is missing, builds, lays out a fresh demo installation and
# starts Quorvane on it. Without a display it runs under Xvfb, saves a
# screenshot and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# Qt wants a private runtime folder; CI and root shells have none.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="$(mktemp -d /tmp/quorvane-runtime.XXXXXX)"
fi

BUILD=build
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_BUILD_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j2 --target demo

INSTALL_DIR="$PWD/$BUILD/demo/FSX/Veltrane Software/Quorvane"
APP="$INSTALL_DIR/quorvane"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  cd "$INSTALL_DIR"
  exec "$APP" "$@"
fi

SHOT="$PWD/$BUILD/screenshots/demo.png"
mkdir -p "$(dirname "$SHOT")"
echo "No display: starting Quorvane under Xvfb."
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  cd "$1"; shift
  app="$1"; shot="$2"; shift 2
  "$app" "$@" & pid=$!
  sleep "${QV_SCREENSHOT_DELAY:-6}"
  import -window root "$shot"
  kill "$pid" 2>/dev/null || true
  for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 "$pid" 2>/dev/null || break; sleep 0.5; done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
' _ "$INSTALL_DIR" "$APP" "$SHOT" "$@"
echo "Screenshot saved: $SHOT"
