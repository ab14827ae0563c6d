# Wine environment for one build tree; sourced with the build folder as argument.
# shellcheck shell=bash
_wine_build=${1:?build folder}
export WINEPREFIX="$_wine_build/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The ANSI code page follows the locale: zh_CN.UTF-8 gives 936.
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8

# Makes the prefix once; parallel callers wait for the first one.
wine_prefix_ready() {
  [ -f "$WINEPREFIX/.installer-ready" ] && return 0
  mkdir -p "$_wine_build"
  (
    flock 9
    [ -f "$WINEPREFIX/.installer-ready" ] && exit 0
    echo "[wine] making the prefix $WINEPREFIX" >&2
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Microsoft YaHei' /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v '微软雅黑' /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
    # Without a window manager on Xvfb, hiding or destroying a managed top-level window waits
    # 2 s for the manager's answer; unmanaged windows are hidden at once.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.installer-ready"
  ) 9>"$_wine_build/.wineprefix.lock"
}
