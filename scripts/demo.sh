#!/usr/bin/env bash
# One whole installation with the real Installer.exe under Wine, against the vendor stand-in.
#   scripts/demo.sh
# Sets the machine up, builds the development variant and starts the stand-in (configuration
# service, download host serving the setup stand-in, agreement page). With DISPLAY set, you
# drive the installer's window yourself. Without one, it runs on a private Xvfb and plays the
# user itself: accepts the agreement, installs, waits for the finished screen and launches the
# product, saving screenshots of the three screens. Exits non-zero when the installation did
# not complete. Everything it starts is stopped at the end.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"
say() { printf '[demo] %s\n' "$*"; }

say "setting up the machine (the first time takes a few minutes)"
"$here/setup.sh"
say "configuring and building $BUILD_DIR"
cmake -S "$INSTALLER_ROOT" -B "$BUILD_DIR" -G "Unix Makefiles" \
  -DCMAKE_TOOLCHAIN_FILE="$INSTALLER_ROOT/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)" --target Installer InstallerDriver SetupStandIn vexaDesk >"$BUILD_DIR/demo-build.log" 2>&1 ||
  { tail -30 "$BUILD_DIR/demo-build.log" >&2; exit 1; }

. "$here/display.sh"
interactive=1
[ -n "${DISPLAY:-}" ] || interactive=0
need_display
. "$here/wine-env.sh" "$BUILD_DIR"
. "$here/run-installer.sh"
say "preparing the Wine prefix"
wine_prefix_ready

out=$(mktemp -d "${TMPDIR:-/tmp}/installer-demo.XXXXXX")
cleanup() {
  stop_wine_programs
  "$INSTALLER_ROOT/tools/vendor/standin.sh" stop "$BUILD_DIR" >/dev/null || true
  stop_display
}
trap cleanup EXIT
say "starting the vendor stand-in"
"$INSTALLER_ROOT/tools/vendor/standin.sh" start "$BUILD_DIR"

export SETUP_STANDIN_TRACE="Z:${out}/setup-trace.txt"
export VEXADESK_CLOSE_AFTER_MS=${VEXADESK_CLOSE_AFTER_MS:-$([ $interactive = 1 ] && echo 0 || echo 3000)}
[ "$VEXADESK_CLOSE_AFTER_MS" = 0 ] && unset VEXADESK_CLOSE_AFTER_MS
staging=$(staging_folder)

say "starting Installer.exe (output in $out/installer.log)"
start_installer "$out/installer.log"
if [ $interactive = 1 ]; then
  say "the installer's window is on $DISPLAY: choose a folder, install, launch"
  wait_installer 3600
else
  rect=$(driver wait-dialog 60000) || { say "the dialog did not open"; exit 1; }
  say "dialog open at $rect"
  screenshot "$out/1-start.png" "$rect"
  say "accepting the agreement and installing"
  [ "$(driver is-enabled 1014)" = 1 ] || driver click 1011
  driver click 1014
  driver wait-visible 1015 10000 >/dev/null
  shot=0
  for _ in $(seq 600); do
    bar=$(driver bar 2>/dev/null || echo 0)
    if [ $shot = 0 ] && [ "${bar:-0}" -ge 55 ] 2>/dev/null; then
      screenshot "$out/2-progress.png" "$rect"; shot=1
      say "progress screen at bar $bar"
    fi
    driver wait-visible 1013 200 >/dev/null 2>&1 && break
  done
  [ $shot = 1 ] || screenshot "$out/2-progress.png" "$rect"
  driver wait-visible 1013 1000 >/dev/null || { say "the installation did not finish"; exit 1; }
  sleep 0.5
  screenshot "$out/3-finished.png" "$rect"
  say "finished screen shown; launching the product"
  driver click 1013
  wait_installer 30
fi

# What happened, from the stand-in's and the stand-ins' own records.
say "configuration service answered: $(standin_control /_standin/requests | python3 -c '
import json, sys
reqs = json.load(sys.stdin)
print(sum(1 for r in reqs if r["path"] == "/dravoServer/config/getAppConfig"), "request(s)")')"
say "download address it gave: $(standin_control /_standin/requests >/dev/null; curl -s --cacert "$BUILD_DIR/vendor-certs/ca.pem" -X POST -d '{"productId":"2000001"}' "https://$(sed -n 's/^INSTALLER_CONFIG_HOST:STRING=//p' "$BUILD_DIR/CMakeCache.txt")/dravoServer/config/getAppConfig" | python3 -c 'import json,sys; print([d["configValue"] for d in json.load(sys.stdin)["data"] if d.get("configKey")=="download_url"][0])')"
say "downloads: $(standin_download_gets | tr '\n' ' ')"
say "last progress lines: $(grep -ao 'persent\[[0-9]*%\]' "$out/installer.log" | tail -3 | tr '\n' ' ')"
folder=""
if [ -f "$out/setup-trace.txt" ]; then
  say "setup program was started with: $(iconv -f GBK -t UTF-8 "$out/setup-trace.txt" | head -1)"
  folder=$(iconv -f GBK -t UTF-8 "$out/setup-trace.txt" | tr -d '\r' | sed -n 's/^install folder: //p' | head -1)
fi
say "installed into: ${folder:-unknown}"
ran=""
if [ -n "$folder" ]; then
  unix_folder="$WINEPREFIX/drive_c/${folder#C:\\}"
  unix_folder=${unix_folder//\\//}
  for _ in $(seq 50); do [ -f "$unix_folder/vexaDesk.ran" ] && break; sleep 0.1; done
  [ -f "$unix_folder/vexaDesk.ran" ] && ran=yes
fi
[ -e "$staging/install_progress.ini" ] && say "progress file still present" || say "progress file removed"
say "installer exit code: $installer_rc"
[ $interactive = 0 ] && say "screenshots: $out/1-start.png $out/2-progress.png $out/3-finished.png"
if [ "$ran" = yes ]; then
  say "vexaDesk.exe ran: $(iconv -f GBK -t UTF-8 "$unix_folder/vexaDesk.ran" | tail -1)"
  say "installation complete"
  exit 0
fi
say "installation did NOT complete"
exit 1
