#!/usr/bin/env bash
# End-to-end: the real Installer.exe under Wine on the X display, against the vendor stand-in,
# played from outside by InstallerDriver.exe.
#   tests/e2e/e2e.sh BUILD_DIR SCENARIO
# Scenarios: happy, no-download-url, first-download-fails, config-hangs, close-during-download.
# CTest runs each with the stand-in up (VENDOR fixture) and a display.
set -euo pipefail
export BUILD_DIR=$(cd "${1:?build folder}" && pwd)
scenario=${2:?scenario}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$root/scripts/wine-env.sh" "$BUILD_DIR"
. "$root/scripts/run-installer.sh"
wine_prefix_ready

work=$(mktemp -d)
trap 'stop_wine_programs; rm -rf "$work"' EXIT
export SETUP_STANDIN_STEP_MS=10 VEXADESK_CLOSE_AFTER_MS=3000

failures=0
quiet() { "$@" >/dev/null; }
check() { # check DESCRIPTION COMMAND...
  if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}

standin_control /_standin/reset '' >/dev/null
staging=$(staging_folder)

# One whole installation into FOLDER (Windows form, ending with a backslash); the dialog must
# open within OPEN_SECONDS.
install_once() {
  local folder=$1 open_seconds=${2:-60}
  local unix_folder="$WINEPREFIX/drive_c/${folder#C:\\}"
  unix_folder=${unix_folder//\\//}
  rm -rf "$unix_folder"
  start_installer "$work/installer.log"
  local started=$SECONDS
  check "the dialog opens" quiet driver wait-dialog $((open_seconds * 1000))
  echo "dialog after $((SECONDS - started)) s"
  driver set-folder "$folder"
  driver click 1014
  check "the finished screen shows" driver wait-visible 1013 120000
  check "the progress bar is hidden" driver wait-hidden 1015 5000
  check "the dialog is topmost" test "$(driver topmost)" = 1
  check "the progress file is gone" test ! -e "$staging/install_progress.ini"
  driver click 1013
  wait_installer 30
  check "the installer ends with 0 after launch (got $installer_rc)" test "$installer_rc" = 0
  check "the product is in the chosen folder" test -f "$unix_folder/vexaDesk.exe"
  local i
  for i in $(seq 100); do [ -f "$unix_folder/vexaDesk.ran" ] && break; sleep 0.1; done
  check "the product ran" test -f "$unix_folder/vexaDesk.ran"
  stop_wine_programs
}

case "$scenario" in
  happy)
    install_once 'C:\e2e 测试\德拉沃归档助手\'
    check "one download, from the configured address" \
      test "$(standin_download_gets)" = "/download/dravo_com_installer.exe"
    ;;
  no-download-url)
    standin_config_reply 200 '{"code":200,"message":"success","data":[{"configKey":"other","configValue":"x"}]}'
    install_once 'C:\e2e fallback\德拉沃归档助手\'
    check "the fallback address served" test "$(standin_download_gets)" = "/dravo_com_install.exe"
    ;;
  first-download-fails)
    port=$(sed -n 's/^INSTALLER_STANDIN_PORT:STRING=//p' "$BUILD_DIR/CMakeCache.txt")
    standin_config_reply 200 "{\"code\":200,\"message\":\"success\",\"data\":[{\"configKey\":\"download_url\",\"configValue\":\"https://localhost:$port/download/500/dravo_com_installer.exe\"}]}"
    install_once 'C:\e2e retry\德拉沃归档助手\'
    check "error first, then the fallback" \
      test "$(standin_download_gets | tr '\n' ' ')" = "/download/500/dravo_com_installer.exe /dravo_com_install.exe "
    ;;
  config-hangs)
    standin_config_reply 200 '' hang
    install_once 'C:\e2e hang\德拉沃归档助手\' 45
    check "the fallback address served" test "$(standin_download_gets)" = "/dravo_com_install.exe"
    ;;
  close-during-download)
    port=$(sed -n 's/^INSTALLER_STANDIN_PORT:STRING=//p' "$BUILD_DIR/CMakeCache.txt")
    standin_config_reply 200 "{\"code\":200,\"message\":\"success\",\"data\":[{\"configKey\":\"download_url\",\"configValue\":\"https://localhost:$port/download/drip/dravo_com_installer.exe\"}]}"
    start_installer "$work/installer.log"
    check "the dialog opens" quiet driver wait-dialog 60000
    driver click 1014
    check "the progress screen shows" driver wait-visible 1015 10000
    sleep 2
    check "a download is running" test -n "$(standin_download_gets)"
    driver close-window
    wait_installer 5
    check "the installer ends at once with 0 (got $installer_rc)" test "$installer_rc" = 0
    stop_wine_programs
    standin_control /_standin/reset '' >/dev/null
    install_once 'C:\e2e again\德拉沃归档助手\'
    ;;
  *) echo "unknown scenario $scenario" >&2; exit 2 ;;
esac

if [ $failures -gt 0 ]; then
  echo "--- installer output"; iconv -f GBK -t UTF-8 "$work/installer.log" 2>/dev/null | tail -40 || true
  echo "$scenario: $failures check(s) failed"
  exit 1
fi
echo "$scenario: passed"
