#!/usr/bin/env bash
# The installer's benchmarks; prints one table with a line per figure.
#   scripts/bench.sh
#   BENCH_REPEATS=2 scripts/bench.sh     # a quick, less reliable run (default 9; a
#                                        # reported run needs at least 5)
# Sets the machine up, builds what it needs in the normal build tree ($BUILD_DIR, default
# build/), starts the vendor stand-in on the build tree's port (INSTALLER_STANDIN_PORT when
# configuring, as scripts/test.sh does) and runs everything under Wine against it on loopback.
# Each figure is measured together with its reference in the same run: the runs alternate
# between the two (and swap order every round) and the table shows medians. Every run has a
# time limit; everything started here is stopped at the end. docs/performance.md explains the
# table. Not part of scripts/test.sh: the tests never time anything.
#
# Do not run it while scripts/test.sh runs in the same build tree: both use its stand-in port
# and Wine prefix.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"
say() { printf '[bench] %s\n' "$*" >&2; }

repeats=${BENCH_REPEATS:-9}
[[ "$repeats" =~ ^[1-9][0-9]*$ ]] || { echo "BENCH_REPEATS must be a positive number" >&2; exit 2; }
# Seconds of each CPU sample of figure 5 (the progress screen polling an unchanged file).
poll_seconds=${BENCH_POLL_SECONDS:-12}
[[ "$poll_seconds" =~ ^[1-9][0-9]*$ ]] ||
  { echo "BENCH_POLL_SECONDS must be a positive number" >&2; exit 2; }
big_mib=256
small_mib=16

say "setting up the machine"
"$here/setup.sh" >&2
say "configuring and building $BUILD_DIR"
cmake -S "$INSTALLER_ROOT" -B "$BUILD_DIR" -G "Unix Makefiles" \
  -DCMAKE_TOOLCHAIN_FILE="$INSTALLER_ROOT/cmake/mingw-i686.cmake" \
  ${INSTALLER_STANDIN_PORT:+-DINSTALLER_STANDIN_PORT=$INSTALLER_STANDIN_PORT} >/dev/null
targets=(BenchDownload BenchCurlLoop BenchDialog BenchLaunch)
have_installer=0
# (The list is read whole first: grep -q ending the pipe early would fail it under pipefail.)
target_list=$(cmake --build "$BUILD_DIR" --target help 2>/dev/null || true)
if grep -qx '\.\.\. Installer' <<<"$target_list"; then
  have_installer=1
  targets+=(Installer InstallerDriver SetupStandIn vexaDesk)
fi
cmake --build "$BUILD_DIR" -j2 --target "${targets[@]}" >"$BUILD_DIR/bench-build.log" 2>&1 ||
  { grep -vE '^\[ *[0-9]+%\]' "$BUILD_DIR/bench-build.log" >&2; say "build failed"; exit 1; }
[ $have_installer = 1 ] || say "this tree has no Installer.exe yet: figures 3, 4 and 5 are left out"

bin="$BUILD_DIR/bin"
port=$(sed -n 's/^INSTALLER_STANDIN_PORT:STRING=//p' "$BUILD_DIR/CMakeCache.txt")
certs="$BUILD_DIR/vendor-certs"
base="https://localhost:$port"

pidfile="$BUILD_DIR/vendor-standin.pid"
if [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null; then
  say "the vendor stand-in of $BUILD_DIR is running already (tests in this tree?); not benchmarking"
  exit 1
fi

. "$here/display.sh"
need_display >&2
. "$here/wine-env.sh" "$BUILD_DIR"
. "$here/run-installer.sh"
wine_prefix_ready

work=$(mktemp -d "${TMPDIR:-/tmp}/installer-bench.XXXXXX")
samples="$work/samples"
: >"$samples"
failed=0
started_standin=0
reference_dialog_pid=""
cleanup() {
  set +e
  [ -n "$reference_dialog_pid" ] && kill "$reference_dialog_pid" 2>/dev/null
  stop_wine_programs
  [ $started_standin = 1 ] && "$INSTALLER_ROOT/tools/vendor/standin.sh" stop "$BUILD_DIR" >/dev/null
  stop_display
  rm -rf "$work"
}
trap cleanup EXIT
# Interrupted or stopped from outside, it still cleans up.
trap 'exit 130' INT
trap 'exit 143' TERM

# One wineserver for the whole run, detached from our pipes, so that no run pays for starting it.
wineserver -p </dev/null >/dev/null 2>&1 || true
"$INSTALLER_ROOT/tools/vendor/standin.sh" start "$BUILD_DIR" "$port" >&2
started_standin=1

# --- helpers --------------------------------------------------------------------------------

# The Windows form of a Linux path: Wine shows the Linux root as drive Z:.
winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }

# record KEY VALUE: one sample of the current round; nothing while warming up.
warming=0
round=0
record() { [ $warming = 1 ] || echo "$1 $round $2" >>"$samples"; }
# fail TEXT: a run went wrong; its figure rests on fewer samples and the script ends with 1.
fail() {
  say "FAILED: $*"
  [ $warming = 1 ] || failed=1
}

# run_wine SECONDS LOG PROGRAM [ARGS...]: a Windows program with a time limit; its standard
# output goes to LOG.out, its standard error to LOG.err (never through a pipe: Wine's helper
# processes would inherit it).
run_wine() {
  local seconds=$1 log=$2
  shift 2
  timeout -k 5 "$seconds" wine "$@" </dev/null >"$log.out" 2>"$log.err"
}

# field LINE NAME: the value of NAME=value in a bench line.
field() { sed -n "s/.* $2=\([^ ]*\).*/\1/p" <<<" $1"; }

# download KIND MIB: one download of the generated MiB-sized file.
#   product  the product's ftp_download (BenchDownload.exe)
#   loop     the bare libcurl loop (BenchCurlLoop.exe)
#   curl     the system's curl, native, OpenSSL
# Records <kind>_<mib>_speed in MiB/s and, for the product, product_<mib>_ws in bytes.
download() {
  local kind=$1 mib=$2
  local url="$base/download/large-$mib/dravo_com_installer.exe"
  local target="$work/download-$kind-$mib.bin" log="$work/$kind-$mib" rc=0
  rm -f "$target" "$target.part"
  case $kind in
    product) run_wine 300 "$log" "$bin/BenchDownload.exe" "$url" "$(winpath "$target")" || rc=$? ;;
    loop) run_wine 300 "$log" "$bin/BenchCurlLoop.exe" "$url" "$(winpath "$target")" || rc=$? ;;
    curl)
      timeout -k 5 300 curl -sS --fail --cacert "$certs/ca.pem" -o "$target" \
        -w 'bench bytes=%{size_download} seconds=%{time_total} peak_ws=0 ok=1\n' "$url" \
        </dev/null >"$log.out" 2>"$log.err" || rc=$?
      ;;
  esac
  local line bytes seconds
  line=$(grep -a '^bench ' "$log.out" 2>/dev/null | tail -1 | tr -d '\r' || true)
  bytes=$(field "$line" bytes)
  seconds=$(field "$line" seconds)
  rm -f "$target" "$target.part"
  if [ $rc != 0 ] || [ "$(field "$line" ok)" != 1 ] || [ "$bytes" != $((mib * 1048576)) ]; then
    fail "$kind download of $mib MiB (exit $rc): ${line:-no result};" \
      "$(tail -2 "$log.err" 2>/dev/null | tr '\n' ' ')"
    return 0
  fi
  local speed
  speed=$(python3 -c "print('%.3f' % ($bytes / 1048576 / $seconds))")
  record "${kind}_${mib}_speed" "$speed"
  if [ "$kind" = product ]; then
    record "product_${mib}_ws" "$(field "$line" peak_ws)"
    say "$kind $mib MiB: $speed MiB/s, peak working set $(field "$line" peak_ws) B"
  else
    say "$kind $mib MiB: $speed MiB/s"
  fi
}

# launch KIND: time from process start to a visible window, through BenchLaunch.exe.
#   installer  Installer.exe, with the configuration stand-in answering at once
#   dialog     the minimal dialog BenchDialog.exe
launch() {
  local kind=$1 log="$work/launch-$1" rc=0
  local program=("$(winpath "$bin/Installer.exe")")
  [ "$kind" = dialog ] && program=("$(winpath "$bin/BenchDialog.exe")" 60000)
  run_wine 120 "$log" "$bin/BenchLaunch.exe" 60000 "${program[@]}" || rc=$?
  local line
  line=$(grep -a '^launch ' "$log.out" 2>/dev/null | tail -1 | tr -d '\r' || true)
  if [ $rc != 0 ] || [ "$(field "$line" ok)" != 1 ]; then
    fail "time to window of $kind (exit $rc): ${line:-no result}"
    return 0
  fi
  record "window_$kind" "$(field "$line" seconds)"
  say "$kind window after $(field "$line" seconds) s"
}

# cpu_ns PID: CPU time (user and system) used so far by all threads of a Linux process, in
# nanoseconds; Wine runs every Windows process as one Linux process.
cpu_ns() {
  local t ns total=0
  for t in /proc/"$1"/task/*/schedstat; do
    read -r ns _ <"$t" 2>/dev/null || continue
    total=$((total + ns))
  done
  echo "$total"
}

# linux_pid STARTED_PID NAME: the Linux process that runs NAME, started as STARTED_PID by
# `wine` (which execs into it) or one of its children.
linux_pid() {
  local pid=$1 name=$2 child
  for _ in $(seq 50); do
    if tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q "$name"; then
      echo "$pid"; return 0
    fi
    for child in $(cat /proc/"$pid"/task/*/children 2>/dev/null); do
      if tr '\0' ' ' <"/proc/$child/cmdline" 2>/dev/null | grep -q "$name"; then
        echo "$child"; return 0
      fi
    done
    sleep 0.1
  done
  return 1
}

# --- figure 3: size ---------------------------------------------------------------------------
if [ $have_installer = 1 ]; then
  i686-w64-mingw32-strip -o "$work/Installer.stripped.exe" "$bin/Installer.exe"
  i686-w64-mingw32-strip -o "$work/BenchCurlLoop.stripped.exe" "$bin/BenchCurlLoop.exe"
  round=1
  record size_installer "$(stat -c %s "$work/Installer.stripped.exe")"
  record size_curlloop "$(stat -c %s "$work/BenchCurlLoop.stripped.exe")"
  say "stripped Installer.exe: $(stat -c %s "$work/Installer.stripped.exe") bytes"
fi

# --- figures 1, 2 and 6: downloads ------------------------------------------------------------
say "downloads: $repeats rounds of $big_mib MiB (product, libcurl loop, system curl)" \
    "and $small_mib MiB (product)"
# One unrecorded round first: the stand-in, Wine and the page cache warm up.
warming=1; download product $small_mib; download loop $small_mib; warming=0
for round in $(seq "$repeats"); do
  if [ $((round % 2)) = 1 ]; then order=(product loop curl); else order=(curl loop product); fi
  for kind in "${order[@]}"; do download "$kind" $big_mib; done
  download product $small_mib
done

# --- figure 4: time to window -----------------------------------------------------------------
if [ $have_installer = 1 ]; then
  say "time to window: $repeats rounds of Installer.exe and the minimal dialog"
  standin_control /_standin/reset '' >/dev/null
  warming=1; launch installer; launch dialog; warming=0  # Wine's desktop starts here
  for round in $(seq "$repeats"); do
    if [ $((round % 2)) = 1 ]; then order=(installer dialog); else order=(dialog installer); fi
    for kind in "${order[@]}"; do launch "$kind"; done
  done
fi

# --- figure 5: CPU while polling an unchanged progress file ------------------------------------
# wineserver_pid: the wineserver of this build tree's prefix (it works in a folder named
# server-<device>-<inode> after the prefix), or nothing.
wineserver_pid() {
  local suffix p
  suffix=$(printf '/server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
  for p in $(pgrep wineserver || true); do
    case "$(readlink "/proc/$p/cwd" 2>/dev/null)" in *"$suffix") echo "$p"; return 0 ;; esac
  done
  return 0
}

# per_minute NS_BEFORE NS_AFTER WALL_NS: CPU seconds per minute of wall time.
per_minute() { python3 -c "print('%.4f' % (($2 - $1) / 1e9 * 60e9 / $3))"; }

poll_cpu() {
  # The setup stand-in writes "Percent" 0 and then waits for an hour, so the file stays as we
  # leave it. Percent 40 takes the tick's busier branch: the bar is set and repainted.
  export SETUP_STANDIN_STEP_MS=3600000

  local progress
  progress="$(staging_folder)/install_progress.ini"
  rm -f "$progress"  # what an earlier run left must not pass for the setup's first line
  standin_control /_standin/reset '' >/dev/null
  start_installer "$work/poll-installer.log"
  driver wait-dialog 60000 >/dev/null || { fail "the dialog did not open"; return 0; }
  [ "$(driver is-enabled 1014)" = 1 ] || driver click 1011 >/dev/null
  driver click 1014 >/dev/null
  # Downloaded (bar at 50) and the setup stand-in started (it has written its first line).
  local i
  for i in $(seq 300); do
    [ "$(driver bar 2>/dev/null)" = 50 ] && grep -q 'state=installing' "$progress" 2>/dev/null &&
      break
    sleep 0.2
  done
  grep -q 'state=installing' "$progress" 2>/dev/null ||
    { fail "the setup stand-in did not start"; return 0; }
  printf '[InstallProgress]\r\nPercent=40\r\nstate=installing\r\n' >"$progress"
  for i in $(seq 100); do [ "$(driver bar 2>/dev/null)" = 70 ] && break; sleep 0.1; done
  [ "$(driver bar 2>/dev/null)" = 70 ] ||
    { fail "the bar does not follow the progress file"; return 0; }

  # The reference: the minimal dialog, idle on the same display at the same time.
  wine "$bin/BenchDialog.exe" $(((repeats * poll_seconds + poll_seconds + 120) * 1000)) \
    </dev/null >"$work/poll-dialog.log" 2>&1 &
  reference_dialog_pid=$!
  local installer dialog server
  installer=$(linux_pid "$installer_pid" Installer.exe) ||
    { fail "no Installer.exe process"; return 0; }
  dialog=$(linux_pid "$reference_dialog_pid" BenchDialog.exe) ||
    { fail "no BenchDialog.exe process"; return 0; }
  server=$(wineserver_pid)
  sleep 2  # the reference's start-up is not part of its idle time
  say "CPU while polling: $repeats samples of $poll_seconds s, progress file at Percent=40"
  local t0 i0 d0 s0 t1 i1 d1 s1 ci cd
  for round in $(seq "$repeats"); do
    t0=$(date +%s%N); i0=$(cpu_ns "$installer"); d0=$(cpu_ns "$dialog")
    s0=$([ -n "$server" ] && cpu_ns "$server" || echo 0)
    sleep "$poll_seconds"
    t1=$(date +%s%N); i1=$(cpu_ns "$installer"); d1=$(cpu_ns "$dialog")
    s1=$([ -n "$server" ] && cpu_ns "$server" || echo 0)
    kill -0 "$installer" 2>/dev/null || { fail "Installer.exe ended while polling"; return 0; }
    ci=$(per_minute "$i0" "$i1" $((t1 - t0)))
    cd=$(per_minute "$d0" "$d1" $((t1 - t0)))
    record cpu_installer "$ci"
    record cpu_dialog "$cd"
    [ -n "$server" ] && record cpu_wineserver "$(per_minute "$s0" "$s1" $((t1 - t0)))"
    say "CPU per minute: Installer.exe $ci s, minimal dialog $cd s"
  done
  [ "$(driver bar 2>/dev/null)" = 70 ] || fail "the bar moved while the file stood still"

  # Wine's server with the installer gone and the reference left: what the installer cost it.
  if [ -n "$server" ]; then
    kill -9 "$installer" 2>/dev/null || true
    # Reaped here, quietly: the shell would otherwise report the killed job on its own.
    wait "$installer_pid" 2>/dev/null || true
    installer_pid=""
    sleep 2
    t0=$(date +%s%N); s0=$(cpu_ns "$server")
    sleep "$poll_seconds"
    t1=$(date +%s%N); s1=$(cpu_ns "$server")
    record cpu_wineserver_alone "$(per_minute "$s0" "$s1" $((t1 - t0)))"
  fi
}
if [ $have_installer = 1 ]; then
  poll_cpu
  kill "$reference_dialog_pid" 2>/dev/null || true
  reference_dialog_pid=""
  stop_wine_programs
fi

# --- the table --------------------------------------------------------------------------------
python3 - "$samples" "$repeats" "$have_installer" <<'EOF'
# Medians of each figure and its reference; the ratio is the median of the rounds' own ratios
# (each figure run against the reference run beside it), which cancels the machine's drift
# from one round to the next.
import statistics
import sys

path, repeats, have_installer = sys.argv[1], int(sys.argv[2]), sys.argv[3] == "1"
samples = {}  # key -> {round: value}
for line in open(path):
    key, rnd, value = line.split()
    samples.setdefault(key, {})[int(rnd)] = float(value)

MIB = 1048576.0
rows = []


def row(name, key, ref_key, ref_name, fmt, goal, met):
    value, ref = samples.get(key, {}), samples.get(ref_key, {})
    if not value or not ref:
        shown = lambda d: fmt(statistics.median(d.values())) if d else "failed"
        rows.append((name, shown(value), "%s: %s" % (ref_name, shown(ref)), "-", goal,
                     "no result"))
        return
    # A reference of 0 (an idle program's CPU time) has no ratio.
    paired = [value[r] / ref[r] for r in value if r in ref and ref[r] > 0]
    v = statistics.median(value.values())
    r = statistics.median(ref.values())
    q = statistics.median(paired) if paired else None
    rows.append((name, fmt(v), "%s: %s" % (ref_name, fmt(r)), "%.3f" % q if paired else "-",
                 goal, met(v, r, q)))


speed = lambda v: "%.1f MiB/s" % v
verdict = lambda ok: "met" if ok else "MISSED"

row("1 download throughput, ftp_download, 256 MiB", "product_256_speed", "loop_256_speed",
    "libcurl loop", speed, "ratio >= 0.95",
    lambda v, r, q: verdict(q is not None and q >= 0.95))
row("2 peak working set, 256 MiB download", "product_256_ws", "product_16_ws",
    "16 MiB download", lambda v: "%.1f MiB" % (v / MIB), "ratio <= 1.1, < 32 MiB",
    lambda v, r, q: verdict(q is not None and q <= 1.1 and v < 32 * MIB))
if have_installer:
    row("3 stripped Installer.exe", "size_installer", "size_curlloop", "libcurl loop exe",
        lambda v: "%d B" % v, "<= 1048576 B", lambda v, r, q: verdict(v <= MIB))
    row("4 time to window", "window_installer", "window_dialog", "minimal dialog",
        lambda v: "%.3f s" % v, "ratio <= 1.5",
        lambda v, r, q: verdict(q is not None and q <= 1.5))
    row("5 CPU while polling, per minute", "cpu_installer", "cpu_dialog",
        "idle minimal dialog", lambda v: "%.3f s" % v, "< 0.1 s",
        lambda v, r, q: verdict(v < 0.1))
else:
    for name in ("3 stripped Installer.exe", "4 time to window",
                 "5 CPU while polling, per minute"):
        rows.append((name, "-", "-", "-", "-", "no Installer.exe"))
row("6 download throughput vs system curl", "product_256_speed", "curl_256_speed",
    "curl (native)", speed, "context only", lambda v, r, q: "-")

head = ("figure", "measured (median)", "reference (median)", "ratio", "goal", "result")
widths = [max(len(r[i]) for r in rows + [head]) for i in range(len(head))]
print("  ".join(h.ljust(w) for h, w in zip(head, widths)).rstrip())
print("  ".join("-" * w for w in widths))
for r in rows:
    print("  ".join(c.ljust(w) for c, w in zip(r, widths)).rstrip())
# The size and Wine's server alone are measured once; every other figure once per round.
counts = sorted({len(v) for k, v in samples.items()
                 if not k.startswith("size_") and k != "cpu_wineserver_alone"})
print("runs per median: %s of %d asked for; ratio: median of the rounds' ratios"
      % ("/".join(map(str, counts)) or "-", repeats))
if "cpu_wineserver" in samples and "cpu_wineserver_alone" in samples:
    polling = statistics.median(samples["cpu_wineserver"].values())
    alone = statistics.median(samples["cpu_wineserver_alone"].values())
    print("figure 5, Wine's server: %.3f s per minute while the installer polls, %.3f with the "
          "reference alone after it: the installer adds %.3f s" % (polling, alone, polling - alone))
EOF
if [ $failed != 0 ]; then
  say "some runs failed (see above); their figures rest on fewer samples"
  exit 1
fi
