#!/usr/bin/env bash
# Builds the input-handling code natively on Linux and runs its tests under AddressSanitizer
# and UndefinedBehaviorSanitizer (g++), then the fuzz targets (clang): the configuration answer
# target for FUZZ_SECONDS (default 60), the text rules target for half of it.
#   scripts/native-checks.sh [sanitize|fuzz]     (both without an argument; CTest runs each)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"

run() { # run NAME C-COMPILER CXX-COMPILER [CMAKE ARGS...]
  local dir="$BUILD_DIR/native-$1"; shift
  local cc=$1 cxx=$2; shift 2
  echo "[native] $(basename "$dir"): configure and build"
  cmake -S "$INSTALLER_ROOT/tests/native" -B "$dir" -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  if ! cmake --build "$dir" -j"$(nproc)" >"$dir/build.log" 2>&1; then
    cat "$dir/build.log" >&2
    return 1
  fi
  ctest --test-dir "$dir" --output-on-failure
}

case "${1:-all}" in
  sanitize) run sanitize gcc g++ ;;
  fuzz) run fuzz clang clang++ -DFUZZ_SECONDS="${FUZZ_SECONDS:-60}" ;;
  all) run sanitize gcc g++ && run fuzz clang clang++ -DFUZZ_SECONDS="${FUZZ_SECONDS:-60}" ;;
  *) echo "usage: $0 [sanitize|fuzz]" >&2; exit 2 ;;
esac
