#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test. Extra arguments go to ctest
# (for example: -L slow, or -LE slow).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# Qt wants a private runtime folder; CI and root shells have none.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="$(mktemp -d /tmp/quorvane-runtime.XXXXXX)"
fi

BUILD=build-test
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON >/dev/null
cmake --build "$BUILD" -j2

export ASAN_OPTIONS="detect_leaks=0:abort_on_error=0:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Tests that need a real X server (window look-up, launching) get one from
# Xvfb; the others run on Qt's offscreen platform.
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir "$BUILD" --output-on-failure -j2 --timeout 300 "$@"
