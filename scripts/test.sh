#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test; exits non-zero on any failure.
#   scripts/test.sh [extra ctest arguments]
# BUILD_DIR chooses the build tree (default: build/); INSTALLER_STANDIN_PORT the stand-in's
# port, so that several build trees can run their tests at once.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"

"$here/setup.sh"

echo "[test] configuring $BUILD_DIR"
cmake -S "$INSTALLER_ROOT" -B "$BUILD_DIR" -G "Unix Makefiles" \
  -DCMAKE_TOOLCHAIN_FILE="$INSTALLER_ROOT/cmake/mingw-i686.cmake" \
  ${INSTALLER_STANDIN_PORT:+-DINSTALLER_STANDIN_PORT=$INSTALLER_STANDIN_PORT} >/dev/null
echo "[test] building"
if ! cmake --build "$BUILD_DIR" -j"$(nproc)" >"$BUILD_DIR/build.log" 2>&1; then
  grep -vE '^\[ *[0-9]+%\]' "$BUILD_DIR/build.log" >&2
  echo "[test] build failed" >&2
  exit 1
fi
grep -iE 'warning' "$BUILD_DIR/build.log" || true

. "$here/display.sh"
need_display

. "$here/wine-env.sh" "$BUILD_DIR"
# One wineserver for the whole run instead of one per test program.
wine_prefix_ready
wineserver -p </dev/null >/dev/null 2>&1 || true  # one may be running already
trap 'wineserver -k 2>/dev/null || true; stop_display' EXIT

echo "[test] running tests"
ctest --test-dir "$BUILD_DIR" --output-on-failure "$@"
