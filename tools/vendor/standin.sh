#!/usr/bin/env bash
# Starts or stops the vendor stand-in for one build tree:
#   tools/vendor/standin.sh start BUILD_DIR [PORT]   (waits until it listens)
#   tools/vendor/standin.sh stop BUILD_DIR
# The port defaults to the build tree's INSTALLER_STANDIN_PORT; the two ports after it serve
# a forged certificate and one for another host name. the process id is kept in
# BUILD_DIR/vendor-standin.pid, and only that process is ever stopped.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cmd=${1:?start or stop}
build=$(cd "${2:?build folder}" && pwd)
pidfile="$build/vendor-standin.pid"

stop() {
  [ -f "$pidfile" ] || return 0
  local pid
  pid=$(cat "$pidfile")
  if kill -0 "$pid" 2>/dev/null && grep -q vendor_server.py "/proc/$pid/cmdline" 2>/dev/null; then
    kill "$pid"
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -f "$pidfile"
}

case "$cmd" in
  start)
    port=${3:-$(sed -n 's/^INSTALLER_STANDIN_PORT:STRING=//p' "$build/CMakeCache.txt")}
    stop
    "$here/make-certs.sh" "$build/vendor-certs"
    ready="$build/vendor-standin.ready"
    rm -f "$ready"
    # The download host serves the setup stand-in once it is built, a generated body before.
    setup_args=()
    [ -f "$build/bin/SetupStandIn.exe" ] && setup_args=(--setup-file "$build/bin/SetupStandIn.exe")
    nohup python3 "$here/vendor_server.py" --port "$port" --certs "$build/vendor-certs" \
      --ready-file "$ready" "${setup_args[@]}" \
      --extra-listen "$((port + 1)):forged" --extra-listen "$((port + 2)):wronghost" ${VENDOR_VERBOSE:+--verbose} >"$build/vendor-standin.log" 2>&1 &
    echo $! > "$pidfile"
    for _ in $(seq 100); do
      [ -f "$ready" ] && { echo "vendor stand-in on https://127.0.0.1:$port (pid $(cat "$pidfile"))"; exit 0; }
      kill -0 "$(cat "$pidfile")" 2>/dev/null || break
      sleep 0.1
    done
    echo "vendor stand-in did not start:" >&2
    cat "$build/vendor-standin.log" >&2
    stop
    exit 1
    ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop BUILD_DIR [PORT]" >&2; exit 2 ;;
esac
