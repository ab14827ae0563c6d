#!/usr/bin/env bash
# The benchmark programs of scripts/bench.sh still work: each runs once and reports a
# successful result with the right size. No timing is checked here.
#   tests/bench/bench-programs.sh BUILD_DIR
# CTest runs it with the vendor stand-in up (VENDOR fixture) and a display.
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
port=$(sed -n 's/^INSTALLER_STANDIN_PORT:STRING=//p' "$build/CMakeCache.txt")
url="https://localhost:$port/download/large-16/dravo_com_installer.exe"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
check() { # check DESCRIPTION COMMAND...
  if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}
run() { "$root/scripts/wine-run.sh" "$build" "$@" | tr -d '\r' || true; }
# The file the download host's large-16 case serves, byte for byte.
same_as_served() {
  python3 - "$1" "$root/tools/vendor" <<'PY'
import sys
sys.path.insert(0, sys.argv[2])
import download_host
with open(sys.argv[1], "rb") as f:
    sys.exit(0 if f.read() == download_host.generated(16 * 1024 * 1024) else 1)
PY
}

for program in BenchDownload BenchCurlLoop; do
  out=$(run "$build/bin/$program.exe" "$url" "Z:${work//\//\\}\\$program.bin")
  line=$(grep '^bench ' <<<"$out" || true)
  echo "$program: ${line:-no result line}"
  check "$program reports success" grep -q ' ok=1' <<<"$line"
  check "$program reports 16 MiB" grep -q ' bytes=16777216 ' <<<"$line"
  check "$program reports its peak working set" grep -qE ' peak_ws=[1-9][0-9]* ' <<<"$line"
  check "$program wrote the served file" same_as_served "$work/$program.bin"
done

out=$(run "$build/bin/BenchLaunch.exe" 60000 "Z:${build//\//\\}\\bin\\BenchDialog.exe" 60000)
echo "BenchLaunch: $out"
check "BenchLaunch sees the dialog's window" grep -qE '^launch seconds=[0-9.]+ ok=1' <<<"$out"

[ $failures = 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "bench programs: passed"
