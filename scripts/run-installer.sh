# Running the real Installer.exe under Wine against the vendor stand-in and playing its user
# from outside (tools/driver/InstallerDriver.exe); sourced by scripts/demo.sh and the
# end-to-end tests after scripts/env.sh, scripts/display.sh and scripts/wine-env.sh.
# shellcheck shell=bash

installer_pid=""
installer_log=""

# standin_control PATH [JSON]: one request to the stand-in's /_standin/ API.
standin_control() {
  local port
  port=$(sed -n 's/^INSTALLER_STANDIN_PORT:STRING=//p' "$BUILD_DIR/CMakeCache.txt")
  if [ $# -ge 2 ]; then
    curl -sS --fail --cacert "$BUILD_DIR/vendor-certs/ca.pem" --data-binary "$2" \
      "https://localhost:$port$1"
  else
    curl -sS --fail --cacert "$BUILD_DIR/vendor-certs/ca.pem" "https://localhost:$port$1"
  fi
}

# standin_config_reply STATUS BODY [hang]: what the configuration service answers from now on.
standin_config_reply() {
  local body_b64 hang=false
  body_b64=$(printf '%s' "$2" | base64 -w0)
  [ "${3:-}" = hang ] && hang=true
  standin_control /_standin/reply \
    "{\"path\":\"/dravoServer/config/getAppConfig\",\"status\":$1,\"body_b64\":\"$body_b64\",\"headers\":{\"Content-Type\":\"application/json\"},\"hang\":$hang}" >/dev/null
}

# The GET requests the download host received, one path a line.
standin_download_gets() {
  standin_control /_standin/requests |
    python3 -c 'import json,sys; [print(r["path"]) for r in json.load(sys.stdin) if r["method"]=="GET"]'
}

# driver COMMAND [ARGS...]: one step of the user, through InstallerDriver.exe.
driver() {
  # Through a file, not a pipe: a Wine helper process started meanwhile would inherit a pipe
  # and hold it open. The C runtime writes text-mode line ends (\r\n).
  local out rc=0
  out=$(mktemp)
  wine "$BUILD_DIR/bin/InstallerDriver.exe" "$@" </dev/null >"$out" 2>&1 || rc=$?
  tr -d '\r' <"$out"
  rm -f "$out"
  return $rc
}

# start_installer LOG: Installer.exe in the background; its output goes to LOG.
start_installer() {
  installer_log=$1
  # A wineserver of our own first, detached from every pipe (see wine-run.sh).
  wineserver -p10 </dev/null >/dev/null 2>&1 || true
  wine "$BUILD_DIR/bin/Installer.exe" </dev/null >"$installer_log" 2>&1 &
  installer_pid=$!
}

# wait_installer SECONDS: waits for Installer.exe to end and sets installer_rc to its exit
# code, or to "running". Not in a subshell: only this shell can wait for its child.
installer_rc=""
wait_installer() {
  local i
  installer_rc=running
  for i in $(seq $(($1 * 10))); do
    if ! kill -0 "$installer_pid" 2>/dev/null; then
      installer_rc=0
      wait "$installer_pid" || installer_rc=$?
      installer_pid=""
      return 0
    fi
    sleep 0.1
  done
}

# Ends everything still running in this build tree's prefix (the installer, the product,
# Wine's explorer) — all of it started by us.
stop_wine_programs() {
  wineserver -k 2>/dev/null || true
  [ -n "$installer_pid" ] && wait "$installer_pid" 2>/dev/null || true
  installer_pid=""
}

# screenshot FILE "X Y W H": the dialog's rectangle of the X display.
screenshot() {
  local x y w h
  read -r x y w h <<<"$2"
  import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$1"
}

# Unix paths of the Wine user's staging folder and of a Windows folder.
staging_folder() {
  find "$WINEPREFIX/drive_c/users" -maxdepth 4 -type d -path '*/AppData/Roaming' 2>/dev/null |
    head -1 | sed 's|$|/dravo_download|'
}
unix_path() {
  WINEDEBUG=-all wine winepath -u "$1" 2>/dev/null | tr -d '\r'
}
