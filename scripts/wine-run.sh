#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's own prefix:
#   scripts/wine-run.sh BUILD_DIR PROGRAM.exe [ARGS...]
# CTest uses it as the cross-compiling emulator. The prefix is made on first use
# (32-bit, no Mono/Gecko, "Microsoft YaHei" mapped to a CJK font that Debian ships).
# Without DISPLAY it runs the program on a private Xvfb that ends with it.
set -euo pipefail

build=$(cd "$1" && pwd); shift
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/wine-env.sh" "$build"
wine_prefix_ready

# Wine's own helper processes (wineserver, services, explorer) outlive the program and would
# inherit our standard output: a caller reading it through a pipe, as CTest does, would then
# wait for them. The program's output goes through a file instead and is shown at the end.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
rc=0
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@" </dev/null >"$out" 2>&1 || rc=$?
else
  wine "$@" </dev/null >"$out" 2>&1 || rc=$?
fi
cat "$out"
exit $rc
